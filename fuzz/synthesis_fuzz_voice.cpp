// libFuzzer target: the voice's load and its look-ups over damaged files.
// The input holds a .IND file, a character sound file (_100.wav, spoken as
// "_d") and a .DIF file:
//   [2 bytes: n][n bytes: .IND][2 bytes: m][m bytes: _100.wav][rest: .DIF]
// Each record's own name is looked up, then a phoneme string that reaches
// every kind of name and fallback is spoken.
#include "synthesis_fuzz.h"

namespace {

std::string_view take(std::string_view& input) {
    if (input.size() < 2) {
        input = {};
        return {};
    }
    const std::size_t n = static_cast<std::uint8_t>(input[0]) |
                          static_cast<std::size_t>(static_cast<std::uint8_t>(input[1])) << 8;
    input.remove_prefix(2);
    const std::string_view part = input.substr(0, n);
    input.remove_prefix(part.size());
    return part;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    synthfuzz::startUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace synthfuzz;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view index = take(input);
    const std::string_view sound = take(input);
    writeFile(diphones() / "DIFONES2.IND", index);
    writeFile(letters() / "_100.wav", sound);
    writeFile(diphones() / "DIFONES2.DIF", input);

    require(ovinter::loadDiphoneVoice() == 0, "load");
    require(ovinter::diphoneCount() == index.size() / 15, "record count");
    for (std::size_t i = 0; i + 15 <= index.size(); i += 15) {
        const std::size_t length = std::min<std::size_t>(static_cast<std::uint8_t>(index[i]), 12);
        const auto entry = ovinter::findDiphone(index.substr(i + 1, length));
        require(!entry || entry->name.size() <= 8, "name of a found record");
    }
    ovinter::setDiphoneSettings(400, 100, 150);
    ovinter::speakPhonemes("[ka kA/s may pra karr ma~w ke^ ki~ tcha][ /_d][ /_,][m][e^y]", false);
    while (ovwav::wavePlaying()) platform::waitMessage();
    ovinter::releaseDiphoneVoice();
    return 0;
}
