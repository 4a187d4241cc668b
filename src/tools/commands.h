// The subcommands of the `oralis` tool. Each takes the arguments after its
// name and returns the process's exit code.
#pragma once

#include <string>
#include <vector>

namespace tools {

using Args = std::vector<std::string>;

int sayCommand(const Args& args);
int numbersCommand(const Args& args);
int phonemesCommand(const Args& args);

}  // namespace tools
