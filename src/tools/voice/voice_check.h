// `oralis voice check [word-list]`: which database names the words of a list
// need that the configured diphone voice lacks. Each word is translated with
// the voice's rules and exceptions and walked as the synthesizer would speak
// it (unit_walk.h); nothing is played.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace voice {

// `args` are the words after "voice check":
//   [WORD-LIST]          UTF-8, one word a line (default: /usr/share/dict/brazilian)
//   --rules FILE         instead of the voice's regras.rgr
//   --exceptions FILE    instead of the voice's portug.exc
//   --show N             how many missing names to list (default 40)
//   --trace              prints each word, its phoneme string and the names
//                        looked up ("?" missing, "'" stressed, "*" factor,
//                        "|" a word gap)
// Returns 0 when every word was checked (whatever is missing), 1 when a file
// cannot be read, 2 for a malformed command line.
int runVoiceCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace voice
