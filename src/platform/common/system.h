// Services of the operating system that do not depend on the backend: the
// folders, profile reading, the registry, libraries, COM and the user's
// interrupt (Ctrl+C). One implementation per operating system, chosen when
// the program is built: common/system_posix.cpp and win32/system_win32.cpp.
// The common part (platform.cpp) offers them to the modules through
// platform.h.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>

namespace platform::os {

// The folder that plays the role of the Windows folder ($ORALIS_WINDIR first
// on every system: tests and scripted runs put a configuration of their own
// there).
std::string windowsFolder();
// The installed "\sonare" ($ORALIS_DATADIR first on every system).
std::string dataFolder();
// The path of the system's own spelling as this file system takes it.
std::string nativePath(const std::string& systemPath);
std::string programPath();
std::string currentFolder();
bool setCurrentFolder(const std::string& folder);

void setEnvironment(const std::string& name, const std::optional<std::string>& value);

// The profile reader: a file name without a folder lies in windowsFolder().
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& fileName,
                              std::size_t capacity);

std::optional<std::string> readRegistryString(const std::string& key, const std::string& name);
void* loadLibrary(const std::string& name);
void* libraryFunction(void* library, const std::string& name);
bool comInitialize();

// From now on an interrupt of the user (Ctrl+C, Ctrl+Break in a console; the
// termination signals on POSIX) only sets `interrupted`; the common part
// turns it into a quit message.
void watchInterrupts(std::atomic<bool>* interrupted);

}  // namespace platform::os
