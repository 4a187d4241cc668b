// ovlenum: whole numbers read aloud in Brazilian Portuguese with recorded
// words joined into one sound, so that a number sounds as one phrase.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ovlenum {

// The words of a number: 2500 gives "dois mil e quinhentos".
std::string numberToWords(std::uint32_t value);
// The words of one group of a 15-digit text (group 0 … 4, from the left).
std::string groupToWords(std::string_view digits, int group);
// The words of three digits.
std::string hundredsToWords(std::string_view digits);
// The recording of a word: "_" and at most 8 characters in all.
std::string wordFileName(std::string_view word);
// Plays the words with their recordings from the letters folder, joined in
// batches of at most 30000 bytes; feminine 1 says the last "um"/"dois" as
// "uma"/"duas".
void speakNumberWords(std::string_view words, std::uint8_t feminine);

}  // namespace ovlenum
