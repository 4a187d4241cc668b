// The speech tests run the console, the audio module and the speech
// front-end on the headless backend, in this process, with a transcript.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "audio/ovwav.h"
#include "console/ovcrt.h"
#include "diphone/ovinter.h"
#include "diphone/ovtradut.h"
#include "engines/ovsapi.h"
#include "platform/platform.h"
#include "speech/ovlenum.h"
#include "speech/modules.h"
#include "speech/ovwin.h"
#include "speech_fixture.h"

namespace fs = std::filesystem;

namespace speechtest {
namespace {

fs::path root() {
    static fs::path r = fs::temp_directory_path() / ("oralis-speech-" + std::to_string(getpid()));
    return r;
}
fs::path transcriptPath() { return root() / "transcript.txt"; }
std::size_t transcriptOffset = 0;
std::map<std::size_t, std::string> recordingBySize;

void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}

}  // namespace

fs::path windowsFolder() { return root() / "windows"; }
fs::path lettersFolder() { return root() / "letras"; }

fs::path voiceFolder() { return root() / "difones"; }

void writeIni(const std::string& text) {
    std::ofstream(windowsFolder() / "ORALIS.INI")
        << "[TRADUTOR]\r\nDIRLETRAS=" << lettersFolder().string()
        << "\r\nDIRDIFONES=" << voiceFolder().string() << "\r\n"
        << text << "\r\n[SINTETIZADOR]\r\n";
    for (int speed = 1; speed <= 5; ++speed)
        std::ofstream(windowsFolder() / "ORALIS.INI", std::ios::app) << "DIFONES" << speed << "=VOZ\r\n";
}

void writeRecording(const std::string& name, std::size_t samples) {
    std::string wav = "RIFF";
    put32(wav, static_cast<std::uint32_t>(samples + 36));
    wav += "WAVEfmt ";
    put32(wav, 16);
    wav += std::string("\x01\x00\x01\x00", 4);
    put32(wav, 11025);
    put32(wav, 11025);
    wav += std::string("\x01\x00\x08\x00", 4);
    wav += "data";
    put32(wav, static_cast<std::uint32_t>(samples));
    wav += std::string(samples, '\x90');
    std::ofstream(lettersFolder() / (name + ".wav"), std::ios::binary) << wav;
    recordingBySize[samples] = name;
}

// Characters: 5000 + code bytes; named sounds and number words 300 + 3i, so
// that no sum of joined words or letters looks like a single recording.
std::size_t lengthOf(const std::string& name) {
    if (name.size() > 1 && name[0] == '_' && std::isdigit(static_cast<unsigned char>(name[1])))
        return 5000 + std::stoul(name.substr(1));
    static const std::vector<std::string> named = {
        "_zero", "_MENOS", "_um", "_dois", "_tres", "_quatro", "_cinco", "_seis", "_sete",
        "_oito", "_nove", "_dez", "_dezeset", "_dezesse", "_vinte", "_e", "_mil", "_cem",
        "_cento", "_duzento", "_trezent", "_quatroc", "_milhao", "_uma", "_duas",
        "_trinta", "_quarent", "_cinquen", "_sessent", "_quinhen", "_seiscen"};
    for (std::size_t i = 0; i < named.size(); ++i)
        if (named[i] == name) return 300 + 3 * i;
    return 0;
}

std::vector<std::string> transcriptLines() {
    std::ifstream in(transcriptPath(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(transcriptOffset));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    in.clear();
    in.seekg(0, std::ios::end);
    transcriptOffset = static_cast<std::size_t>(in.tellg());
    return lines;
}

std::vector<std::string> playedSince() {
    std::vector<std::string> played;
    for (const auto& line : transcriptLines()) {
        std::istringstream l(line);
        std::string ms, kind, rate, bits, channels;
        std::size_t bytes = 0;
        l >> ms >> kind;
        if (kind != "audio") continue;
        l >> rate >> bits >> channels >> bytes;
        if (bytes == 256) played.push_back("click");
        else if (auto it = recordingBySize.find(bytes); it != recordingBySize.end())
            played.push_back(it->second);
        else played.push_back("+" + std::to_string(bytes));
    }
    return played;
}

void pressKey(char c) {
    platform::postMessage(platform::Message{platform::MessageKind::Char, static_cast<std::uint8_t>(c)});
}

}  // namespace speechtest

int main(int argc, char** argv) {
    using namespace speechtest;
    ::testing::InitGoogleTest(&argc, argv);
    fs::create_directories(windowsFolder());
    fs::create_directories(lettersFolder());
    // No recording of the blank: it is never said.
    for (int c = 1; c < 256; ++c)
        if (c != 32) writeRecording("_" + std::to_string(c), lengthOf("_" + std::to_string(c)));
    for (const char* n : {"_zero", "_MENOS", "_um", "_dois", "_tres", "_quatro", "_cinco", "_seis",
                          "_sete", "_oito", "_nove", "_dez", "_dezeset", "_dezesse", "_vinte", "_e",
                          "_mil", "_cem", "_cento", "_duzento", "_trezent", "_quatroc", "_milhao",
                          "_uma", "_duas", "_trinta", "_quarent", "_cinquen", "_sessent", "_quinhen",
                          "_seiscen"})
        writeRecording(n, lengthOf(n));
    // A voice without diphones and without rules: every letter of a word is
    // said with its character sound, in one image per word.
    fs::create_directories(voiceFolder());
    for (const char* file : {"VOZ.IND", "VOZ.DIF", "regras.rgr", "portug.exc"})
        std::ofstream(voiceFolder() / file, std::ios::binary);
    writeIni("");
    setenv("ORALIS_BACKEND", "headless", 1);
    setenv("ORALIS_WINDIR", windowsFolder().c_str(), 1);
    setenv("ORALIS_TRANSCRIPT", transcriptPath().c_str(), 1);
    unsetenv("ORALIS_KEYS");
    if (!platform::start()) return 1;
    ovwin::startAllModules();
    // A voice that does not load would end the program at speech start-up
    // with code 0, as if every test had passed: fail loudly instead.
    ovwin::readSpeedSettings(3);
    if (ovinter::loadDiphoneVoice() != 0) {
        std::fprintf(stderr, "the test voice in %s does not load\n", voiceFolder().string().c_str());
        return 1;
    }
    ovwin::speechStart(0, "");
    const int result = RUN_ALL_TESTS();
    fs::remove_all(root());
    return result;
}
