// The system services on a POSIX machine: the configuration folder plays the
// Windows folder, the data folder plays "\sonare", profiles are read by the
// reader of profile.cpp, libraries are loaded with dlopen, and the registry
// and COM do not exist.
#include <dlfcn.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/common/folders.h"
#include "platform/common/profile.h"
#include "platform/common/system.h"

namespace platform::os {

std::string windowsFolder() { return posixWindowsFolder(); }
std::string dataFolder() { return posixDataFolder(); }
std::string nativePath(const std::string& systemPath) {
    return posixNativePath(systemPath, posixDataFolder());
}
std::string programPath() { return posixProgramPath(); }

std::string currentFolder() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

bool setCurrentFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    return !ec;
}

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
}

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& fileName,
                              std::size_t capacity) {
    std::string value = defaultValue;
    const bool hasFolder = fileName.find_first_of("\\/:") != std::string::npos;
    std::ifstream in(
        hasFolder ? nativePath(fileName) : resolveProfilePath(fileName, windowsFolder()),
        std::ios::binary);
    if (in) {
        std::stringstream text;
        text << in.rdbuf();
        if (auto found = findProfileValue(text.str(), section, key)) value = *found;
    }
    if (capacity == 0) return std::string();
    if (value.size() > capacity - 1) value.resize(capacity - 1);
    return value;
}

std::optional<std::string> readRegistryString(const std::string&, const std::string&) {
    return std::nullopt;
}
void* loadLibrary(const std::string& name) { return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* libraryFunction(void* library, const std::string& name) {
    return library ? dlsym(library, name.c_str()) : nullptr;
}
bool comInitialize() { return true; }

namespace {

std::atomic<bool>* gInterrupted = nullptr;

void onSignal(int) {
    if (gInterrupted) *gInterrupted = true;
}

}  // namespace

void watchInterrupts(std::atomic<bool>* interrupted) {
    gInterrupted = interrupted;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace platform::os
