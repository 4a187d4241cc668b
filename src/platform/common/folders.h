// Folders of the system on a POSIX machine: the configuration folder that
// plays the role of the Windows folder, the data folder, the program's path.
#pragma once

#include <string>

namespace platform {

std::string posixWindowsFolder();
std::string posixDataFolder();
std::string posixProgramPath();
std::string posixNativePath(const std::string& systemPath, const std::string& dataFolder);

}  // namespace platform
