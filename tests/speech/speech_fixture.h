// The speech front-end on the headless backend, with a letters folder of
// recordings whose lengths tell them apart: the transcript's "audio" lines
// then show which sounds were played.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace speechtest {

// The folder that plays the Windows folder, with ORALIS.INI.
std::filesystem::path windowsFolder();
std::filesystem::path lettersFolder();
// Writes ORALIS.INI (sections given as text).
void writeIni(const std::string& text);
// A recording of `samples` bytes of 8-bit 11025 Hz sound.
void writeRecording(const std::string& name, std::size_t samples);
// The length each recording of the standard set has.
std::size_t lengthOf(const std::string& name);
// Names of the sounds played since the last call, read from the transcript
// ("click" for the repeat click, "+n" for an image of n bytes that is no
// single recording).
std::vector<std::string> playedSince();
// The transcript lines since the last call to playedSince (all kinds).
std::vector<std::string> transcriptLines();
// Posts a key to the console's queue.
void pressKey(char c);

}  // namespace speechtest
