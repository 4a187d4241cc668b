// `oralis voice build`: makes the sound data of the built-in speech with
// espeak-ng: the recorded sounds (character names, number words, "_zero" and
// "_MENOS") in the data folder's som/letras, and the diphone voice
// (DIFONES.IND, DIFONES.DIF) with its rules and exceptions in som/difones.
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
//   --rules FILE        the translator's rules, UTF-8 source of regras.rgr
//                       (default: DATA_FOLDER/voice/regras.txt)
//   --exceptions FILE   the exceptions, UTF-8 source of portug.exc
//                       (default: DATA_FOLDER/voice/portug.txt)
//   --help              prints the usage
// Returns 0 when every file was written, 1 when something failed (the reason
// goes to `err`), 2 for a malformed command line.
int runVoiceBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace voice
