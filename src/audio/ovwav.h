/*
ovwav - wave playback of ORALIS
===============================

Everything ORALIS says with a recorded or synthesized voice reaches the
listener through this module: the recorded letters and words, the diphone
synthesizer and the Veluz engine. It plays

  - a wave file named on disk ........................ playWaveFile()
  - a wave image held in memory ...................... playWaveBuffer()
  - raw samples in a format the caller names ......... playSamples()

through the wave-out device of the platform layer, streaming the sound in
blocks of at most 65534 bytes through four device slots.


1. Quick start
--------------

    ovwav::startUp();  // once, after ovcrt::startUp()
    ovwav::playWaveFile("c:\\sonare\\som\\letras\\_65.wav");  // returns when it ends

    std::vector<std::uint8_t> image = buildSomeImage();
    ovwav::playWaveBuffer(image);  // returns once queued
    while (ovwav::wavePlaying()) platform::waitMessage();  // waits for the end

playWaveFile() waits until the sound has ended (or a key stopped it).
playWaveBuffer() and playSamples() return as soon as the last block is
queued; every block is copied into a slot of the module first, so the caller
may free or reuse its memory at once. A caller that must wait for the end
loops on wavePlaying() and waits for the next message between calls.


2. The device and its four slots
--------------------------------

The device opens on the first sound in a format and stays open while sounds of
the same format follow one another; a second sound in the same format is
queued behind the first without reopening. A sound in another format first
lets the old one finish (or a key stop it), then closes the device and opens
it anew. The device is also closed by waveStop() and by wavePlaying() once
nothing is pending.

Each block goes into the next of four slots (1, 2, 3, 4, 1, ...), whose
65534-byte buffers are allocated once by startUp(). At most four blocks are
pending at the device. A block handed to the device is at least 256 bytes
long: an 8-bit mono block that is shorter is filled up with silence (128);
a shorter block in any other format carries whatever the slot held after its
own bytes, so callers playing short pieces of other formats pad them to 256
bytes themselves. The last byte of an 8-bit mono block shorter than 65534
bytes is set to 128, so that each block ends at the silence level.

Finished blocks come back as messages to the console window, which hands them
to waveBlockDone(). That only happens while messages are pumped, so every loop
that waits for sound must pump (wavePlaying(), ovcrt::delay(),
ovcrt::keyPressed(), ovcrt::pumpMessages() or platform::waitMessage()).


3. Flags
--------

    waveStopOnKey    on at start-up. A key in the console's queue stops
                     playback; the key stays queued for the caller.
    waveRateBoost    off at start-up. Plays at 1.5 times the sample rate
                     (faster and higher), rounded to the nearest integer,
                     halves to even: 11025 Hz plays at 16538 Hz.
    waveSkipPeriods  off at start-up. Speeds mono speech up by dropping every
                     other pitch period (skipAlternatePeriods()); 16-bit mono
                     sound is then played as 8-bit sound at the same rate.

The speech front-end sets the two speed flags from the synthesizer settings.


4. Damaged files and images
---------------------------

A missing or damaged recording is skipped without a word: the call returns
-1 and the program goes on. No file or image is ever read outside what it
holds: a format block shorter than 16 bytes or longer than 65534 bytes makes
it unusable; a data chunk that claims more bytes than an image holds plays the
bytes that are there; a file that ends early plays what it held.


5. Threads
----------

Everything runs on the main thread; the block-done handler runs inside
message dispatching, so the module needs no lock.
*/
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "audio/wave_format.h"

namespace ovwav {

// ------------------------------------------------------------------ sizes

constexpr int kSlotCount = 4;                   // device slots, numbered 1 … 4
constexpr std::size_t kSlotSize = 65534;        // bytes of each slot's buffer
constexpr std::size_t kWorkBufferSize = 65534;  // file data is read in pieces of this at most
constexpr std::size_t kMinBlockLength = 256;    // shortest block handed to the device
constexpr int kDeviceBusy = 4;                  // device result: in use by someone else

// ------------------------------------------------------------------ flags

// A queued key stops playback. On at start-up.
extern bool waveStopOnKey;
// Play at 1.5 times the sample rate. Off at start-up.
extern bool waveRateBoost;
// Drop every other pitch period of mono sound. Off at start-up.
extern bool waveSkipPeriods;

// --------------------------------------------------------------- start-up

// Allocates the four slots and the work buffer (once per process; a later
// call reuses them and clears them), sets the device to none, pending and
// the last slot to 0, waveStopOnKey on and the two speed flags off. A device
// still open from before is closed without waiting. Call after
// ovcrt::startUp().
void startUp();

// ---------------------------------------------------------------- playing

// Plays the wave file `name` (the system's spelling: Windows-1252,
// backslashes, "c:\sonare\..." for the data folder; platform::nativePath()
// maps it) and returns when playback has ended or was stopped.
//
// Returns 0 when it played, when a key stopped it, or when a key was already
// queued (waveStopOnKey on: then the file is not even opened); -1 when the
// file cannot be opened, is no wave file or ends early (what was queued
// before the damage still plays); otherwise the device's error code from
// opening it for the file's format.
//
// The data is read in pieces: 65278 bytes when the rest lies between 65535
// and 65789 bytes (so the last piece keeps at least 256 bytes), else the
// smaller of the rest and 65534. A data chunk of 65600 bytes plays as 65278
// and 322 bytes; one of 70000 bytes as 65534 and 4466.
int playWaveFile(const std::string& name);

// Finds the format and the samples in the wave image (parseWaveImage()) and
// queues them all with playSamples(); returns as soon as the last block is
// queued. Returns playSamples()' result, or -1 when the image is unusable
// (then nothing plays). When waveSkipPeriods is on, the image's samples are
// rewritten in place. The image may be freed or reused after the call.
int playWaveBuffer(std::span<std::uint8_t> image);
inline int playWaveBuffer(std::uint8_t* image, std::size_t size) {
    return playWaveBuffer(std::span<std::uint8_t>(image, size));
}

// Plays `length` bytes of raw samples in the given format: applies the rate
// boost, sets the device's format (setWaveFormat(); 16-bit mono becomes
// 8-bit when waveSkipPeriods is on), then queues the samples in blocks of at
// most 65534 bytes, waiting while four blocks are pending. A queued key
// (waveStopOnKey on) stops playback with waveStop() and returns 0. Returns 0,
// or the device's error code from opening it (then nothing plays). With
// waveSkipPeriods on and mono sound, the samples are rewritten in place.
int playSamples(std::uint8_t* samples, std::size_t length, int samplesPerSecond, int channels,
                int bitsPerSample);

// Pumps messages; when waveStopOnKey is on and a key is queued, or when no
// block is pending, calls waveStop(). Returns whether blocks are still
// pending. Waiting loops call it until it returns false, waiting for the next
// message between calls.
bool wavePlaying();

// When the device is open: resets it if blocks are pending (they all come
// back at once), pumps messages, closes it and pumps messages again. The
// device is then none and no block is pending.
void waveStop();

// ------------------------------------------------------ the device itself

// Makes the device ready for the format. When any of the three differs from
// the current format, first lets the sound in the old format end (or a key
// stop it) and the device close. Then stores the format and returns
// openWaveDevice().
int setWaveFormat(int samplesPerSecond, int bitsPerSample, int channels);

// Returns 0 when the device is open. Otherwise installs waveBlockDone() as the
// console's block-done handler and opens the device for the current format;
// while the device is busy (result 4, in use by someone else) it waits
// ovcrt::delay(100) and tries again, 100 tries in all. Returns the result of
// the last try (0, or the device's error code).
int openWaveDevice();

// Hands `length` bytes to the device in the next slot. While four blocks are
// pending it waits, at most 40 times ovcrt::pumpMessages() and
// ovcrt::delay(50); if no slot came free, the block is dropped and the result
// is false. False too when the device does not take the block (it is not
// open, or refuses it). A block longer than a slot is cut to 65534 bytes.
// See section 2 for the 256-byte minimum and the final 128.
bool queueWaveBlock(const std::uint8_t* samples, std::size_t length);

// The handler of the device's block-done message: block `slot` came back
// with `result` (0, or the device's error code for it). A slot outside 1 … 4
// does nothing. On an error the console writes the device's text
//   5   "Specified device handle is invalid."
//   6   "No device driver is present."
//   7   "Unable to allocate or lock memory."
//   33  "The data block pointed to by the pwh parameter is still in queue"
// (nothing for other codes) without a line end, and waits until the user
// presses Enter. The slot is released in every case: pending falls by one
// when above 0.
void waveBlockDone(int slot, int result);

// ------------------------------------------------------------ speeding up

// Speeds voiced speech up to about twice its speed without changing its
// pitch, in place: keeps one stretch from pitch peak to pitch peak, drops
// the next, and so on. 16-bit samples are first reduced to 8 bits (the high
// byte of each sample with its sign bit flipped), which halves `length`.
// Blocks shorter than 1000 samples are only reduced. `samplesPerSecond` is
// the playback rate (after the rate boost): at 11025 Hz a period is looked
// for 80 to 130 samples after the last peak, at any other rate 320 to 520
// samples after. Returns the new length in bytes (8-bit samples).
std::size_t skipAlternatePeriods(std::uint8_t* samples, std::size_t length, int bitsPerSample,
                                 int samplesPerSecond);

// -------------------------------------------------------- what it holds

// Blocks handed to the device and not yet returned.
int pendingBlocks();
// The format stored by the last setWaveFormat() (zeros before the first).
WaveFormat currentFormat();
// Whether the device is open.
bool deviceOpen();
// The slot used last (0 before the first block, then 1 … 4).
int lastSlot();
// The whole 65534-byte buffer of slot 1 … 4 (empty for another number).
std::span<const std::uint8_t> slotData(int slot);
// The length of the block last handed to the device from slot 1 … 4.
std::size_t slotLength(int slot);

}  // namespace ovwav
