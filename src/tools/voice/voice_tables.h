// The two word tables the voice builder reads: what each character is called
// (data/voice/characters.txt) and the words the number reader joins
// (data/voice/numbers.txt). Both are UTF-8 text, one entry a line: a key, a
// blank, the text espeak-ng speaks. Lines that begin with # are comments.
#pragma once

#include <istream>
#include <map>
#include <string>
#include <vector>

namespace voice {

// The stand-in sound of a character that has no spoken form. It is a tone
// made by the builder, not a name from the table.
inline constexpr int kPlaceholderCode = 1;

// True for the codes Windows-1252 gives a character (0 … 255 except 129,
// 141, 143, 144 and 157).
bool isAssignedWindows1252(int code);

// The codes that get a spoken name: every printable character of the code
// page, 33 … 255 without the unassigned ones and without DEL (127). The blank
// is never played.
std::vector<int> spokenCharacterCodes();

struct CharacterTable {
    std::map<int, std::string> names;  // code -> UTF-8 text
    std::vector<std::string> errors;   // "linha N: …"
};

CharacterTable parseCharacterTable(std::istream& in);

// Codes of `spokenCharacterCodes` the table has no name for.
std::vector<int> missingCharacterCodes(const CharacterTable& table);

struct NamedSound {
    std::string fileName;  // without ".wav", e.g. "_quinhen"
    std::string text;      // UTF-8
};

struct NamedSoundTable {
    std::vector<NamedSound> sounds;  // in the order of the file
    std::vector<std::string> errors;
};

NamedSoundTable parseNamedSoundTable(std::istream& in);

// The files the number reader and the symbol reader open: every word of the
// number tables under its 8-character name, the feminine "_uma" and "_duas",
// and "_MENOS".
const std::vector<std::string>& requiredNamedSounds();

std::vector<std::string> missingNamedSounds(const NamedSoundTable& table);

}  // namespace voice
