// Playing samples and wave images: formats and the device, the speed flags,
// stopping on a key, and streaming more than four blocks.
#include <gtest/gtest.h>

#include "audio_fixture.h"

using namespace wavetest;

using PlaybackTest = AudioTest;

TEST_F(PlaybackTest, ASecondSoundInTheSameFormatIsQueuedBehindTheFirst) {
    Bytes first = simpleWave(pattern(8000), 8000);   // one second
    Bytes second = simpleWave(pattern(4000), 8000);  // half a second
    const auto start = platform::nowMs();
    EXPECT_EQ(ovwav::playWaveBuffer(first), 0);
    EXPECT_EQ(ovwav::playWaveBuffer(second), 0);
    // Both were handed over at once; the device stayed open between them.
    const auto queued = deviceEvents();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[1].ms, start);
    EXPECT_EQ(ovwav::pendingBlocks(), 2);
    waitForEnd();
    EXPECT_GE(platform::nowMs() - start, 1500u);
    EXPECT_EQ(deviceLog(),
              (std::vector<std::string>{"audio 8000 8 1 8000", "audio 8000 8 1 4000"}));
}

TEST_F(PlaybackTest, ASoundInAnotherFormatWaitsForTheFirstToEnd) {
    Bytes first = simpleWave(pattern(8000), 8000);
    Bytes second = simpleWave(pattern(600), 16000, 16, 1);
    const auto start = platform::nowMs();
    EXPECT_EQ(ovwav::playWaveBuffer(first), 0);
    EXPECT_EQ(ovwav::playWaveBuffer(second), 0);
    const auto events = deviceEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].what, "audio 16000 16 1 600");  // the first was not cut short
    EXPECT_GE(events[1].ms - start, 1000u);
    EXPECT_EQ(ovwav::currentFormat(), (ovwav::WaveFormat{16000, 16, 1}));
}

TEST_F(PlaybackTest, MoreThanFourBlocksStreamAsSlotsComeFree) {
    // Five full blocks of 8-bit stereo sound at 44100: 0.74 s each.
    Bytes samples = pattern(5 * 65534);
    const auto start = platform::nowMs();
    EXPECT_EQ(ovwav::playSamples(samples.data(), samples.size(), 44100, 2, 8), 0);
    const auto events = deviceEvents();
    ASSERT_EQ(events.size(), 5u);
    for (const auto& e : events) EXPECT_EQ(e.what, "audio 44100 8 2 65534");
    EXPECT_EQ(events[3].ms, start);
    EXPECT_GE(events[4].ms - start, 65534u * 1000 / (2 * 44100));
    EXPECT_EQ(ovwav::pendingBlocks(), 4);
}

TEST_F(PlaybackTest, RateBoostPlaysAtOneAndAHalfTimesTheRate) {
    ovwav::waveRateBoost = true;
    // Halves are rounded to the even neighbour.
    const std::pair<int, int> cases[] = {
        {11025, 16538}, {8000, 12000}, {22050, 33075}, {16001, 24002}, {16003, 24004}, {1, 2},
    };
    for (const auto& [rate, played] : cases) {
        SCOPED_TRACE(rate);
        Bytes samples = pattern(300);
        EXPECT_EQ(ovwav::playSamples(samples.data(), samples.size(), rate, 1, 8), 0);
        EXPECT_EQ(ovwav::currentFormat().samplesPerSecond, played);
        EXPECT_EQ(deviceLog().back(), "audio " + std::to_string(played) + " 8 1 300");
        waitForEnd();
    }
}

TEST_F(PlaybackTest, SkippingPeriodsPlays16BitMonoAs8Bit) {
    ovwav::waveSkipPeriods = true;
    // 800 samples: too short to drop periods, only reduced to 8 bits.
    Bytes samples;
    for (int i = 0; i < 800; ++i) put16(samples, static_cast<std::uint32_t>(i * 80 - 32000));
    Bytes image = simpleWave(samples, 11025, 16, 1);
    EXPECT_EQ(ovwav::playWaveBuffer(image), 0);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 11025 8 1 800"});
    // The image itself was rewritten: high bytes, made unsigned.
    for (std::size_t i = 0; i < 800; ++i) ASSERT_EQ(image[44 + i], samples[2 * i + 1] ^ 0x80) << i;
    const auto slot = ovwav::slotData(1);
    EXPECT_TRUE(std::equal(slot.begin(), slot.begin() + 799, image.begin() + 44));
}

TEST_F(PlaybackTest, SkippingPeriodsLeavesStereoAlone) {
    ovwav::waveSkipPeriods = true;
    const Bytes samples = pattern(4000);
    Bytes image = simpleWave(samples, 11025, 16, 2);
    EXPECT_EQ(ovwav::playWaveBuffer(image), 0);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 11025 16 2 4000"});
    EXPECT_EQ(Bytes(image.begin() + 44, image.end()), samples);
}

TEST_F(PlaybackTest, SkippingPeriodsShortensLong8BitMonoSound) {
    ovwav::waveSkipPeriods = true;
    Bytes samples(11025, 128);
    for (std::size_t i = 0; i < samples.size(); i += 100) samples[i] = 250;
    EXPECT_EQ(ovwav::playSamples(samples.data(), samples.size(), 11025, 1, 8), 0);
    const auto log = deviceLog();
    ASSERT_EQ(log.size(), 1u);
    const auto bytes = std::stoul(log[0].substr(log[0].rfind(' ') + 1));
    EXPECT_GT(bytes, 5000u);
    EXPECT_LT(bytes, 6000u);
}

TEST_F(PlaybackTest, AQueuedKeyStopsBeforeAnythingIsQueued) {
    postKey('q');
    Bytes samples = pattern(1000);
    EXPECT_EQ(ovwav::playSamples(samples.data(), samples.size(), 8000, 1, 8), 0);
    EXPECT_TRUE(deviceLog().empty());
    EXPECT_FALSE(ovwav::deviceOpen());
    EXPECT_EQ(ovcrt::queuedKeyCount(), 1);
}

TEST_F(PlaybackTest, AKeyStopsWhatIsPlaying) {
    Bytes image = simpleWave(pattern(16000), 8000);
    ASSERT_EQ(ovwav::playWaveBuffer(image), 0);
    postKey('q');
    const auto start = platform::nowMs();
    waitForEnd();
    EXPECT_LT(platform::nowMs() - start, 10u);
    EXPECT_EQ(deviceLog(), (std::vector<std::string>{"audio 8000 8 1 16000", "stop"}));
    EXPECT_EQ(ovwav::pendingBlocks(), 0);
    EXPECT_FALSE(ovwav::deviceOpen());
    EXPECT_EQ(ovcrt::queuedKeyCount(), 1);
}

TEST_F(PlaybackTest, WithoutStopOnKeyAKeyIsLeftAlone) {
    ovwav::waveStopOnKey = false;
    postKey('q');
    Bytes image = simpleWave(pattern(4000), 8000);
    ASSERT_EQ(ovwav::playWaveBuffer(image), 0);
    const auto start = platform::nowMs();
    waitForEnd();
    EXPECT_GE(platform::nowMs() - start, 500u);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 8000 8 1 4000"});
    EXPECT_EQ(ovcrt::queuedKeyCount(), 1);
}

TEST_F(PlaybackTest, AnUnusableImagePlaysNothing) {
    Bytes notWave = pattern(100);
    Bytes cut = simpleWave(pattern(100));
    cut.resize(40);  // ends inside the data chunk header
    for (Bytes* image : {&notWave, &cut}) {
        EXPECT_EQ(ovwav::playWaveBuffer(*image), -1);
    }
    EXPECT_TRUE(deviceLog().empty());
    EXPECT_FALSE(ovwav::deviceOpen());
}

TEST_F(PlaybackTest, DataLongerThanTheImagePlaysWhatIsThere) {
    Bytes image = riff({formatChunk(8000, 8, 1), dataChunk(pattern(300), 100000)});
    EXPECT_EQ(ovwav::playWaveBuffer(image.data(), image.size()), 0);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 8000 8 1 300"});
}

TEST_F(PlaybackTest, TheImageMayBeReusedOnceQueued) {
    const Bytes samples = pattern(500);
    Bytes image = simpleWave(samples, 8000);
    ASSERT_EQ(ovwav::playWaveBuffer(image), 0);
    std::fill(image.begin(), image.end(), 0);
    const auto slot = ovwav::slotData(1);
    EXPECT_TRUE(std::equal(slot.begin(), slot.begin() + 499, samples.begin()));
}
