// Playing wave files from disk: how the data is cut into pieces, which
// damaged files are skipped, and what a queued key does.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio_fixture.h"

using namespace wavetest;

namespace {

std::string audio(int rate, int bits, int channels, std::size_t bytes) {
    return "audio " + std::to_string(rate) + " " + std::to_string(bits) + " " +
           std::to_string(channels) + " " + std::to_string(bytes);
}

}  // namespace

using WaveFileTest = AudioTest;

TEST_F(WaveFileTest, DataIsPlayedInPiecesThatLeaveNoShortTail) {
    struct Case {
        std::size_t dataSize;
        std::vector<std::size_t> pieces;
    };
    const Case cases[] = {
        {65600, {65278, 322}},    {70000, {65534, 4466}}, {65535, {65278, 257}},
        {65789, {65278, 511}},    {65790, {65534, 256}},  {65534, {65534}},
        {131068, {65534, 65534}}, {1000, {1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataSize);
        const auto before = deviceLog().size();
        const auto name = writeFile("pieces.wav", simpleWave(pattern(c.dataSize), 22050, 16, 1));
        EXPECT_EQ(ovwav::playWaveFile(name), 0);
        std::vector<std::string> expected;
        for (std::size_t p : c.pieces) expected.push_back(audio(22050, 16, 1, p));
        const auto log = deviceLog();
        EXPECT_EQ(
            std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(before), log.end()),
            expected);
        // The call returns once the sound has ended, and the device is closed.
        EXPECT_EQ(ovwav::pendingBlocks(), 0);
        EXPECT_FALSE(ovwav::deviceOpen());
    }
}

TEST_F(WaveFileTest, ReturnsWhenTheSoundHasEnded) {
    // One second of 8-bit mono sound at 8000 samples per second.
    const auto name = writeFile("second.wav", simpleWave(pattern(8000), 8000));
    const auto start = platform::nowMs();
    EXPECT_EQ(ovwav::playWaveFile(name), 0);
    EXPECT_GE(platform::nowMs() - start, 1000u);
    EXPECT_LT(platform::nowMs() - start, 1010u);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{audio(8000, 8, 1, 8000)});
}

// A missing or damaged file is skipped with -1; what was queued before the
// damage still plays.
TEST_F(WaveFileTest, DamagedFilesAreSkipped) {
    const Chunk fmt = formatChunk(11025, 8, 1);
    const Chunk list{"LIST", pattern(26), {}};
    struct Case {
        const char* name;
        Bytes file;
        int result;
        std::vector<std::string> played;
    };
    const Case cases[] = {
        {"empty file", {}, -1, {}},
        {"not RIFF", riff({fmt, dataChunk(pattern(300))}, "RIFX"), -1, {}},
        {"chunk before fmt", riff({list, fmt, dataChunk(pattern(300))}), -1, {}},
        {"format block of 12 bytes",
         riff({Chunk{"fmt ", pattern(12), {}}, dataChunk(pattern(300))}),
         -1,
         {}},
        {"format block longer than the work buffer",
         riff({formatChunk(11025, 8, 1, 65534 - 16 + 2), dataChunk(pattern(300))}),
         -1,
         {}},
        {"format block cut short", riff({Chunk{"fmt ", fmt.body, 40}}), -1, {}},
        {"no data chunk", riff({fmt, list}), -1, {}},
        {"chunk ends early", riff({fmt, Chunk{"LIST", pattern(26), 27}}), -1, {}},
        {"chunk header cut short",
         [&] {
             Bytes b = riff({fmt});
             b.insert(b.end(), {'d', 'a', 't', 'a', 1});
             return b;
         }(),
         -1,
         {}},
        {"data ends early",
         riff({fmt, dataChunk(pattern(1000), 70000)}),
         -1,
         {audio(11025, 8, 1, 1000)}},
        {"LIST between fmt and data",
         riff({fmt, list, dataChunk(pattern(300))}),
         0,
         {audio(11025, 8, 1, 300)}},
        {"lower-case identifiers",
         riff({Chunk{"FMT ", fmt.body, {}}, dataChunk(pattern(300))}, "riff"),
         0,
         {audio(11025, 8, 1, 300)}},
        {"longer format block",
         riff({formatChunk(11025, 8, 1, 2), dataChunk(pattern(300))}),
         0,
         {audio(11025, 8, 1, 300)}},
        {"only the lower-case data chunk counts",
         riff({fmt, Chunk{"DATA", pattern(7), {}}, dataChunk(pattern(300))}),
         0,
         {audio(11025, 8, 1, 300)}},
        {"no samples", riff({fmt, dataChunk({})}), 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = deviceLog().size();
        EXPECT_EQ(ovwav::playWaveFile(writeFile("damaged.wav", c.file)), c.result);
        const auto log = deviceLog();
        EXPECT_EQ(
            std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(before), log.end()),
            c.played);
        EXPECT_FALSE(ovwav::deviceOpen());
    }
    EXPECT_EQ(ovwav::playWaveFile((folder() / "missing.wav").string()), -1);
    EXPECT_EQ(ovwav::playWaveFile(folder().string()), -1);  // a folder is no wave file
}

TEST_F(WaveFileTest, AFormatTheDeviceRefusesGivesItsErrorCode) {
    const auto name = writeFile("twelve.wav", simpleWave(pattern(300), 11025, 12, 1));
    EXPECT_EQ(ovwav::playWaveFile(name), 32);
    EXPECT_TRUE(deviceLog().empty());
}

TEST_F(WaveFileTest, AQueuedKeyMeansTheFileIsNotEvenOpened) {
    postKey('x');
    // A missing file would give -1 if it were opened.
    EXPECT_EQ(ovwav::playWaveFile((folder() / "missing.wav").string()), 0);
    EXPECT_EQ(ovwav::playWaveFile(writeFile("a.wav", simpleWave(pattern(300)))), 0);
    EXPECT_TRUE(deviceLog().empty());
    EXPECT_EQ(ovcrt::queuedKeyCount(), 1);  // the key is left for the caller
    EXPECT_EQ(ovcrt::readKey(), 'x');
}

TEST_F(WaveFileTest, WithoutStopOnKeyAQueuedKeyDoesNotStopIt) {
    ovwav::waveStopOnKey = false;
    postKey('x');
    EXPECT_EQ(ovwav::playWaveFile(writeFile("a.wav", simpleWave(pattern(70000)))), 0);
    EXPECT_EQ(deviceLog(),
              (std::vector<std::string>{audio(11025, 8, 1, 65534), audio(11025, 8, 1, 4466)}));
    EXPECT_EQ(ovcrt::queuedKeyCount(), 1);
}

TEST_F(WaveFileTest, SystemPathsLeadIntoTheDataFolder) {
    const auto letters = folder() / "data" / "som" / "letras";
    std::filesystem::create_directories(letters);
    writeFile("data/som/letras/_65.wav", simpleWave(pattern(400)));
    setenv("ORALIS_DATADIR", (folder() / "data").string().c_str(), 1);
    const int result = ovwav::playWaveFile("C:\\SONARE\\som\\Letras\\_65.WAV");
    unsetenv("ORALIS_DATADIR");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{audio(11025, 8, 1, 400)});
}
