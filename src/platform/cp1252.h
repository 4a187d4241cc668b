// Windows-1252 <-> UTF-8, for the edges of the system (terminal, transcript,
// command line, source files of data, text input of the window system).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of a Windows-1252 byte (the five unassigned bytes
// map to themselves, as the system's converter does).
char32_t toUnicode(std::uint8_t byte);
// The Windows-1252 byte of a code point, when the code page has it.
std::optional<std::uint8_t> fromUnicode(char32_t codePoint);

std::string toUtf8(std::string_view windows1252);
// Characters the code page lacks become `replacement`; malformed UTF-8 bytes too.
std::string fromUtf8(std::string_view utf8, char replacement = '?');

}  // namespace cp1252
