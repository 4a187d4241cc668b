// The POSIX environment calls that the tests use to set up a run, in their
// Windows form. The Windows test build includes this header before every
// source file; elsewhere it is empty.
#pragma once

#ifdef _WIN32
#include <cstdlib>
#include <filesystem>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value);
}

// A path's c_str() is a wide string on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
    return setenv(name, std::filesystem::path(value).string().c_str(), overwrite);
}

// An empty value removes the variable.
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
#endif
