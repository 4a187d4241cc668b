// `oralis voice build`: makes the recorded sounds of the built-in speech
// (character names, number words, "_zero" and "_MENOS") with espeak-ng and
// writes them into the data folder's som/letras.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace voice {

// `args` are the words after "voice build":
//   --out DATA_FOLDER   where som/letras is written (default: the data folder)
//   --characters FILE   the names of the characters
//                       (default: DATA_FOLDER/voice/characters.txt)
//   --numbers FILE      the number words and other named sounds
//                       (default: DATA_FOLDER/voice/numbers.txt)
//   --help              prints the usage
// Returns 0 when every file was written, 1 when something failed (the reason
// goes to `err`), 2 for a malformed command line.
int runVoiceBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace voice
