// libFuzzer target: speakPhonemes over arbitrary phoneme strings, with a
// small voice that holds some names and lacks others (so every fallback is
// reached), character sounds longer than an image, and trimming settings
// taken from the input.
//
// Input: 4 bytes of settings (flags, trim, minimum kept, word gap), then the
// phoneme string.
#include "synthesis_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using namespace synthfuzz;
    startUp();
    writeVoice({{"$A", 300},
                {"$ACIRC", 230},
                {"$AWTIL", 240},
                {"$AY", 260},
                {"$E", 210},
                {"$ECIRC", 220},
                {"$I", 250},
                {"$K", 120},
                {"$KA", 500},
                {"$MA", 520},
                {"$NHA", 330},
                {"$NN", 90},
                {"$P", 110},
                {"$RA", 450},
                {"$RR", 140},
                {"$S", 200},
                {"$Y", 70},
                {"$O", 65535},
                {"$ABCDEFG", 5}});
    for (int code : {33, 44, 100, 115})
        writeFile(letters() / ("_" + std::to_string(code) + ".wav"), waveFile(300, 'a'));
    writeFile(letters() / "_35.wav", waveFile(70000, 'b'));
    require(ovinter::loadDiphoneVoice() == 0, "load");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const bool namePunctuation = data[0] & 1;
    ovinter::setDiphoneSettings((data[1] - 128) * 8, data[2] * 4, data[3] * 20);
    ovinter::speakPhonemes(std::string_view(reinterpret_cast<const char*>(data + 4), size - 4),
                           namePunctuation);
    while (ovwav::wavePlaying()) platform::waitMessage();
    return 0;
}
