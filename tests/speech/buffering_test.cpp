#include <gtest/gtest.h>

#include "console/ovcrt.h"
#include "speech/ovwin.h"
#include "speech_fixture.h"

namespace {

std::vector<std::string> spoken() {
    std::vector<std::string> texts;
    for (const auto& line : speechtest::transcriptLines()) {
        const auto kind = line.find(" speak ");
        if (kind != std::string::npos) texts.push_back(line.substr(kind + 7));
        else if (line.size() > 6 && line.substr(line.size() - 6) == " speak") texts.push_back("");
    }
    return texts;
}

}  // namespace

TEST(SpokenOutput, BufferingCollectsTextsUntilTheNextLine) {
    speechtest::transcriptLines();
    ovwin::setBufferSpeech(true);
    ovwin::speak("bom");
    ovwin::speak("dia");
    ovwin::speak(",");
    EXPECT_EQ(spoken(), std::vector<std::string>{});
    // A blank goes before every text that begins with a letter.
    ovwin::speakWriteLine("");
    EXPECT_EQ(spoken(), std::vector<std::string>{" bom dia,"});
    ovwin::setBufferSpeech(false);
}

TEST(SpokenOutput, SpeechBusyWithAKeySilencesAndLeavesTheKey) {
    while (ovcrt::keyPressed()) ovcrt::readKey();
    speechtest::pressKey('z');
    EXPECT_FALSE(ovwin::speechBusy());
    EXPECT_EQ(ovcrt::readKey(), 'z');
}
