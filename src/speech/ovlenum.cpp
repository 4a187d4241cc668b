#include "speech/ovlenum.h"

#include <fstream>
#include <vector>

#include "diphone/ovinter.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "speech/ovwin.h"

namespace ovlenum {
namespace {

constexpr const char* kUnits[10] = {"zero",   "um",   "dois", "tres", "quatro",
                                    "cinco",  "seis", "sete", "oito", "nove"};
constexpr const char* kTeens[10] = {"dez",    "onze",      "doze",      "treze",   "quatorze",
                                    "quinze", "dezesseis", "dezessete", "dezoito", "dezenove"};
constexpr const char* kTens[10] = {"",         "",          "vinte",    "trinta",  "quarenta",
                                   "cinquenta", "sessenta", "setenta", "oitenta", "noventa"};
constexpr const char* kHundreds[10] = {"",           "cento",      "duzentos",   "trezentos",
                                       "quatrocentos", "quinhentos", "seiscentos", "setecentos",
                                       "oitocentos", "novecentos"};
// Scale words of the five groups: for a group of 001, and for any other.
constexpr const char* kScaleOne[5] = {"trilhão ", "bilhão ", "milhão ", "mil ", ""};
constexpr const char* kScaleMany[5] = {"trilhões ", "bilhões ", "milhões ", "mil ", ""};

constexpr std::size_t kImageSamples = 30000;
constexpr std::size_t kHeader = 44;

int digit(char c) { return c - '0'; }

void play(std::vector<std::uint8_t>& image, std::size_t filled) {
    ovwin::fillWaveHeader(image.data(), static_cast<std::uint32_t>(filled), 11025, 8, 1);
    ovwin::playImageAndWait(image.data(), kHeader + filled);
}

}  // namespace

std::string hundredsToWords(std::string_view g) {
    if (g == "000") return "";
    if (g == "100") return "cem";
    const int h = digit(g[0]), t = digit(g[1]), u = digit(g[2]);
    std::string w;
    if (h != 0) {
        w = kHundreds[h];
        if (t == 0 && u == 0) return w;
        w += " e ";
    }
    if (t == 1) return w + kTeens[u];
    if (t != 0) {
        w += kTens[t];
        if (u == 0) return w;
        w += " e ";
    }
    if (u != 0) w += kUnits[u];
    return w;
}

std::string groupToWords(std::string_view digits, int group) {
    const std::string_view g = digits.substr(static_cast<std::size_t>(3 * group), 3);
    std::string w = hundredsToWords(g);
    if (group < 4 && g != "000") {
        // The scale words are written here in UTF-8; the system's texts are
        // Windows-1252.
        w += " " + cp1252::fromUtf8(g == "001" ? kScaleOne[group] : kScaleMany[group]);
    }
    return w;
}

std::string numberToWords(std::uint32_t value) {
    if (value == 0) return "zero";
    std::string digits = std::string(14, '0') + std::to_string(value);
    digits = digits.substr(digits.size() - 15);
    std::string groups[5];
    int last = 0;
    for (int i = 0; i < 5; ++i) {
        groups[i] = groupToWords(digits, i);
        if (!groups[i].empty()) last = i;
    }
    std::string result;
    bool earlier = false;
    for (int i = 0; i <= last; ++i) {
        if (i == last && earlier) result += "e ";
        result += groups[i];
        if (!groups[i].empty()) earlier = true;
    }
    if (result.rfind("um mil", 0) == 0 && result.rfind("um milh", 0) != 0) result.erase(0, 3);
    return result;
}

std::string wordFileName(std::string_view word) {
    std::string w;
    for (char c : word) {
        if (c == '\xE3') w += 'a';       // ã
        else if (c == '\xF5') w += 'o';  // õ
        else w += c;
    }
    if (w == "dezessete") w = "dezeset";
    return ("_" + w).substr(0, 8);
}

void speakNumberWords(std::string_view words, std::uint8_t feminine) {
    std::vector<std::uint8_t> image(kHeader + kImageSamples, 128);
    std::size_t filled = 0;
    const std::string text = std::string(words) + " *";
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos >= text.size() || text[pos] == '*') break;
        const std::size_t end = text.find(' ', pos);
        std::string name = wordFileName(std::string_view(text).substr(pos, end - pos));
        pos = end;
        const bool lastWord = text.compare(text.find_first_not_of(' ', pos), 1, "*") == 0;
        if (feminine == 1 && lastWord) {
            if (name == "_um") name = "_uma";
            else if (name == "_dois") name = "_duas";
        }

        std::ifstream file(platform::nativePath(ovinter::voiceLettersFolder() + name + ".wav"),
                           std::ios::binary | std::ios::ate);
        if (!file) continue;
        const auto size = static_cast<std::size_t>(file.tellg());
        if (size < kHeader) continue;  // shorter than its header: no samples
        // A recording longer than the image is cut to fit it.
        std::size_t n = std::min<std::size_t>((size - kHeader) & 0xFFFF, kImageSamples);
        if (filled + n > kImageSamples) {
            play(image, filled);
            filled = 0;
        }
        file.seekg(static_cast<std::streamoff>(kHeader));
        file.read(reinterpret_cast<char*>(image.data() + kHeader + filled),
                  static_cast<std::streamsize>(n));
        filled += static_cast<std::size_t>(file.gcount());
    }
    if (filled != 0) play(image, filled);
}

}  // namespace ovlenum
