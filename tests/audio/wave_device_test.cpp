// The device and its four slots: how blocks are built, how the slots turn,
// the waits for a free slot and for a busy device, the errors of returned
// blocks, and stopping.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio_fixture.h"

using namespace wavetest;

using WaveDeviceTest = AudioTest;

namespace {

// Opens the device for the format through the module.
void open(int rate, int bits, int channels) {
    ASSERT_EQ(ovwav::setWaveFormat(rate, bits, channels), 0);
    ASSERT_TRUE(ovwav::deviceOpen());
}

Bytes slotBytes(int slot, std::size_t from, std::size_t to) {
    const auto data = ovwav::slotData(slot);
    return Bytes(data.begin() + static_cast<std::ptrdiff_t>(from),
                 data.begin() + static_cast<std::ptrdiff_t>(to));
}

}  // namespace

TEST_F(WaveDeviceTest, AShort8BitMonoBlockIsFilledWithSilence) {
    open(11025, 8, 1);
    const Bytes samples = pattern(100);
    ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
    EXPECT_EQ(ovwav::lastSlot(), 1);
    EXPECT_EQ(ovwav::slotLength(1), 256u);
    EXPECT_EQ(slotBytes(1, 0, 99), Bytes(samples.begin(), samples.begin() + 99));
    EXPECT_EQ(slotBytes(1, 99, 256), Bytes(157, 128));  // byte 99 and the 156 after it
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 11025 8 1 256"});
}

TEST_F(WaveDeviceTest, TheLastByteOf8BitMonoBlocksIsSilence) {
    // Lengths around the slot size: only a full slot keeps its last byte.
    struct Case {
        int bits, channels;
        std::size_t length;
        bool lastIsSilence;
    };
    for (const Case& c : {Case{8, 1, 65534, false}, Case{8, 1, 65533, true}, Case{8, 1, 1000, true},
                          Case{8, 2, 1000, false}, Case{16, 1, 1000, false}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits " + std::to_string(c.length));
        ovwav::waveStop();
        open(8000, c.bits, c.channels);
        const Bytes samples = pattern(c.length, 3);
        ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
        const int slot = ovwav::lastSlot();
        EXPECT_EQ(ovwav::slotLength(slot), c.length);
        EXPECT_EQ(slotBytes(slot, 0, c.length - 1), Bytes(samples.begin(), samples.end() - 1));
        EXPECT_EQ(ovwav::slotData(slot)[c.length - 1], c.lastIsSilence ? 128 : samples.back());
    }
}

TEST_F(WaveDeviceTest, AShortBlockOfAnotherFormatCarriesWhatTheSlotHeld) {
    open(8000, 16, 1);
    const Bytes first = pattern(300, 50);
    ASSERT_TRUE(ovwav::queueWaveBlock(first.data(), first.size()));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ovwav::queueWaveBlock(first.data(), 256));
    // The fifth block goes to slot 1 again, once slot 1 has come back.
    const Bytes second = pattern(100, 9);
    ASSERT_TRUE(ovwav::queueWaveBlock(second.data(), second.size()));
    EXPECT_EQ(ovwav::lastSlot(), 1);
    EXPECT_EQ(ovwav::slotLength(1), 256u);
    EXPECT_EQ(slotBytes(1, 0, 100), second);  // its own last byte untouched
    EXPECT_EQ(slotBytes(1, 100, 256), Bytes(first.begin() + 100, first.begin() + 256));
}

TEST_F(WaveDeviceTest, SlotsAreUsedInTurn) {
    open(44100, 8, 1);
    const Bytes samples = pattern(256);
    std::vector<int> slots;
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
        slots.push_back(ovwav::lastSlot());
    }
    EXPECT_EQ(slots, (std::vector<int>{1, 2, 3, 4, 1, 2}));
}

TEST_F(WaveDeviceTest, ABlockLongerThanASlotIsCutToTheSlot) {
    open(8000, 16, 1);
    const Bytes samples = pattern(70000);
    ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
    EXPECT_EQ(ovwav::slotLength(1), ovwav::kSlotSize);
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 8000 16 1 65534"});
}

// With four blocks pending, a new block waits for a free slot for about two
// seconds (40 × 50 ms) and is dropped when none comes free.
TEST_F(WaveDeviceTest, ABlockWaitsForAFreeSlotAndIsDroppedAfterTwoSeconds) {
    struct Case {
        std::size_t pendingLength;  // 8000 bytes a second
        bool queued;
        std::uint64_t waitedAtLeast, waitedBelow;
    };
    for (const Case& c : {Case{400, true, 50, 100}, Case{65534, false, 2000, 2100}}) {
        SCOPED_TRACE(c.pendingLength);
        ovwav::waveStop();
        open(8000, 8, 1);
        const Bytes samples = pattern(c.pendingLength);
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
        const auto before = deviceLog().size();
        const auto start = platform::nowMs();
        EXPECT_EQ(ovwav::queueWaveBlock(samples.data(), 300), c.queued);
        const auto waited = platform::nowMs() - start;
        EXPECT_GE(waited, c.waitedAtLeast);
        EXPECT_LT(waited, c.waitedBelow);
        EXPECT_EQ(deviceLog().size() - before, c.queued ? 1u : 0u);
        EXPECT_EQ(ovwav::pendingBlocks(), 4);
    }
}

TEST_F(WaveDeviceTest, NothingIsQueuedWithoutAnOpenDevice) {
    const Bytes samples = pattern(300);
    EXPECT_FALSE(ovwav::queueWaveBlock(samples.data(), samples.size()));
    EXPECT_EQ(ovwav::pendingBlocks(), 0);
    EXPECT_TRUE(deviceLog().empty());
}

TEST_F(WaveDeviceTest, ABusyDeviceIsTriedAHundredTimes) {
    // Someone else holds the device.
    ASSERT_EQ(platform::waveOpen(8000, 8, 1), 0);
    ASSERT_EQ(ovwav::setWaveFormat(11025, 8, 1), ovwav::kDeviceBusy);
    platform::waveClose();
    const auto start = platform::nowMs();
    ASSERT_EQ(platform::waveOpen(8000, 8, 1), 0);
    EXPECT_EQ(ovwav::openWaveDevice(), ovwav::kDeviceBusy);
    // 100 tries, 99 pauses of 100 ms between them.
    EXPECT_GE(platform::nowMs() - start, 9900u);
    EXPECT_LT(platform::nowMs() - start, 10000u);
    EXPECT_FALSE(ovwav::deviceOpen());
    platform::waveClose();
    EXPECT_EQ(ovwav::openWaveDevice(), 0);
    EXPECT_TRUE(ovwav::deviceOpen());
}

TEST_F(WaveDeviceTest, AFormatTheDeviceRefusesIsNotRetried) {
    const auto start = platform::nowMs();
    EXPECT_EQ(ovwav::setWaveFormat(11025, 12, 1), 32);
    EXPECT_LT(platform::nowMs() - start, 10u);
    EXPECT_FALSE(ovwav::deviceOpen());
    EXPECT_EQ(ovwav::currentFormat(), (ovwav::WaveFormat{11025, 12, 1}));
}

// A block that comes back with an error shows the device's text and waits
// for Enter; its slot is released all the same.
TEST_F(WaveDeviceTest, ErrorsOfReturnedBlocksWaitForEnter) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {5, "Specified device handle is invalid."},
        {6, "No device driver is present."},
        {7, "Unable to allocate or lock memory."},
        {33, "The data block pointed to by the pwh parameter is still in queue"},
        {99, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ovwav::waveStop();
        ovcrt::clearScreen();
        open(8000, 8, 1);
        const Bytes samples = pattern(8000);
        ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
        ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
        // Block 1 comes back with the error; the user then presses Enter.
        platform::postMessage(
            platform::Message{platform::MessageKind::WaveDone, 1, 0, 0, 0, 0, 0, c.code});
        postKey('\r');
        ovcrt::pumpMessages();
        EXPECT_EQ(consoleRow(0), c.text);
        EXPECT_EQ(ovcrt::queuedKeyCount(), 0);  // Enter was taken by the wait
        EXPECT_EQ(ovwav::pendingBlocks(), 1);
    }
}

TEST_F(WaveDeviceTest, AReturnedBlockOfNoSlotIsIgnored) {
    open(8000, 8, 1);
    const Bytes samples = pattern(8000);
    ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
    for (int slot : {0, 5, -1}) ovwav::waveBlockDone(slot, 5);
    EXPECT_EQ(ovwav::pendingBlocks(), 1);
    EXPECT_EQ(consoleRow(0), "");
}

TEST_F(WaveDeviceTest, StopCutsPlaybackShortAndClosesTheDevice) {
    open(8000, 8, 1);
    const Bytes samples = pattern(8000);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
    const auto start = platform::nowMs();
    ovwav::waveStop();
    EXPECT_EQ(platform::nowMs(), start);  // nothing is waited for
    EXPECT_EQ(ovwav::pendingBlocks(), 0);
    EXPECT_FALSE(ovwav::deviceOpen());
    EXPECT_FALSE(platform::waveIsOpen());
    EXPECT_EQ(deviceLog().back(), "stop");
    ovwav::waveStop();  // a closed device: nothing more happens
    EXPECT_EQ(deviceLog().size(), 4u);
}

TEST_F(WaveDeviceTest, PlayingEndsAndClosesOnceNothingIsPending) {
    open(8000, 8, 1);
    EXPECT_FALSE(ovwav::wavePlaying());
    EXPECT_FALSE(ovwav::deviceOpen());
    open(8000, 8, 1);
    const Bytes samples = pattern(4000);  // half a second
    ASSERT_TRUE(ovwav::queueWaveBlock(samples.data(), samples.size()));
    const auto start = platform::nowMs();
    EXPECT_TRUE(ovwav::wavePlaying());
    waitForEnd();
    EXPECT_GE(platform::nowMs() - start, 500u);
    EXPECT_FALSE(ovwav::deviceOpen());
    EXPECT_EQ(deviceLog(), std::vector<std::string>{"audio 8000 8 1 4000"});  // no "stop"
}
