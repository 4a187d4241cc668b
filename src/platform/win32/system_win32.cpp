// The system services on Windows: the real Windows folder, the installation
// folder c:\sonare, the system's profile reader, the registry, libraries,
// COM and the console's Ctrl+C.
//
// $ORALIS_WINDIR and $ORALIS_DATADIR take the place of the Windows folder and
// of c:\sonare, as on every system, so that tests and scripted runs can bring
// a configuration and data of their own; an installation sets neither.
#include <windows.h>
// After windows.h:
#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/common/system.h"
#include "platform/win32/win32_keys.h"

namespace platform::os {
namespace {

constexpr const char* kInstallFolder = "c:\\sonare";

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

bool hasFolder(const std::string& fileName) {
    return fileName.find_first_of("\\/:") != std::string::npos;
}

HKEY rootKey(win32::RegistryRoot root) {
    switch (root) {
        case win32::RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case win32::RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case win32::RegistryRoot::Users: return HKEY_USERS;
        case win32::RegistryRoot::LocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

}  // namespace

std::string windowsFolder() {
    if (auto folder = environment("ORALIS_WINDIR")) return *folder;
    char buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length == 0 || length > MAX_PATH) return "c:\\windows";
    return std::string(buffer, length);
}

std::string dataFolder() { return environment("ORALIS_DATADIR").value_or(kInstallFolder); }

// Windows takes the system's own spelling as it is; only a data folder put in
// the place of c:\sonare moves those paths.
std::string nativePath(const std::string& systemPath) {
    if (auto data = environment("ORALIS_DATADIR"))
        return win32::moveIntoDataFolder(systemPath, *data);
    return systemPath;
}

std::string programPath() {
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return "chuva.exe";
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string currentFolder() {
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return std::string();
    std::vector<char> buffer(size + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length < buffer.size() ? length : 0);
}

bool setCurrentFolder(const std::string& folder) {
    return SetCurrentDirectoryA(nativePath(folder).c_str()) != 0;
}

// Through the C run-time, whose copy of the environment getenv reads; an
// empty value removes the variable.
void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
    _putenv_s(name.c_str(), value ? value->c_str() : "");
}

// A bare file name is left to the profile reader, which looks in the Windows
// folder, unless another folder plays the Windows folder.
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& fileName,
                              std::size_t capacity) {
    if (capacity == 0) return std::string();
    std::string file = fileName;
    if (hasFolder(fileName)) {
        file = nativePath(fileName);
    } else if (auto folder = environment("ORALIS_WINDIR")) {
        file = *folder;
        if (file.back() != '\\' && file.back() != '/') file += '\\';
        file += fileName;
    }
    std::vector<char> buffer(capacity, '\0');
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                 static_cast<DWORD>(capacity), file.c_str());
    return std::string(buffer.data(), std::min<std::size_t>(length, capacity - 1));
}

std::optional<std::string> readRegistryString(const std::string& key, const std::string& name) {
    const win32::RegistryPath path = win32::splitRegistryPath(key);
    HKEY handle = nullptr;
    if (RegOpenKeyExA(rootKey(path.root), path.subKey.c_str(), 0, KEY_READ, &handle) !=
        ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> value;
    DWORD type = 0;
    DWORD size = 0;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    if (RegQueryValueExA(handle, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char> buffer(size + 1, '\0');
        if (RegQueryValueExA(handle, valueName, nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
            std::string text(buffer.data(), std::min<std::size_t>(size, buffer.size() - 1));
            // The stored value usually carries its terminating zero.
            while (!text.empty() && text.back() == '\0') text.pop_back();
            value = text;
        }
    }
    RegCloseKey(handle);
    return value;
}

void* loadLibrary(const std::string& name) { return LoadLibraryA(name.c_str()); }

void* libraryFunction(void* library, const std::string& name) {
    if (!library) return nullptr;
    const FARPROC function = GetProcAddress(static_cast<HMODULE>(library), name.c_str());
    void* address = nullptr;
    static_assert(sizeof address == sizeof function);
    std::memcpy(&address, &function, sizeof address);
    return address;
}

bool comInitialize() { return SUCCEEDED(CoInitialize(nullptr)); }

namespace {

std::atomic<bool>* gInterrupted = nullptr;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (gInterrupted) *gInterrupted = true;
    return TRUE;
}

}  // namespace

void watchInterrupts(std::atomic<bool>* interrupted) {
    gInterrupted = interrupted;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

}  // namespace platform::os
