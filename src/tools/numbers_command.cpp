// oralis numbers N: the words of a number, in UTF-8, on one line.
#include <charconv>
#include <iostream>

#include "platform/cp1252.h"
#include "speech/ovlenum.h"
#include "tools/commands.h"

namespace tools {

int numbersCommand(const Args& args) {
    std::uint32_t value = 0;
    if (args.size() != 1) {
        std::cerr << "uso: oralis numbers N\n";
        return 2;
    }
    const std::string& text = args[0];
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        std::cerr << "oralis numbers: \"" << text
                  << "\" não é um número inteiro de 0 a 4294967295\n";
        return 2;
    }
    std::cout << cp1252::toUtf8(ovlenum::numberToWords(value)) << "\n";
    return 0;
}

}  // namespace tools
