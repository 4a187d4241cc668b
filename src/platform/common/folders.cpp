#include "platform/common/folders.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace platform {
namespace fs = std::filesystem;

std::string posixProgramPath() {
    std::error_code ec;
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("chuva") : p.string();
}

// The installed data folder (<prefix>/share/oralis beside <prefix>/bin), the
// build tree's data folder beside the program, or the one of this build.
std::string posixDataFolder() {
    if (const char* d = std::getenv("ORALIS_DATADIR"); d && *d) return d;
    std::error_code ec;
    fs::path exe = fs::path(posixProgramPath()).parent_path();
    for (fs::path candidate : {exe / ".." / "share" / "oralis", exe / "data"}) {
        if (fs::is_directory(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
    }
#ifdef ORALIS_BUILD_DATA
    return ORALIS_BUILD_DATA;
#else
    return exe.string();
#endif
}

// $ORALIS_WINDIR; else the user's configuration folder when it holds
// ORALIS.INI; else the data folder, which ships a default ORALIS.INI.
std::string posixWindowsFolder() {
    if (const char* w = std::getenv("ORALIS_WINDIR"); w && *w) return w;
    fs::path config;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
        config = fs::path(x) / "oralis";
    else if (const char* h = std::getenv("HOME"); h && *h)
        config = fs::path(h) / ".config" / "oralis";
    std::error_code ec;
    if (!config.empty() && fs::exists(config / "ORALIS.INI", ec)) return config.string();
    return posixDataFolder();
}

namespace {

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Follows the path part by part, taking a name of another case when the
// exact one is missing (files written for Windows name folders loosely).
fs::path matchCase(const fs::path& path) {
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;
    fs::path result = path.root_path();
    for (const auto& part : path.relative_path()) {
        fs::path next = result / part;
        if (!fs::exists(next, ec)) {
            for (const auto& entry : fs::directory_iterator(result.empty() ? "." : result, ec)) {
                if (sameName(entry.path().filename().string(), part.string())) {
                    next = result / entry.path().filename();
                    break;
                }
            }
        }
        result = next;
    }
    return result;
}

}  // namespace

std::string posixNativePath(const std::string& systemPath, const std::string& dataFolder) {
    std::string p = systemPath;
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
        p.erase(0, 2);
        if (p.empty() || p[0] != '/') p.insert(0, "/");
        // "\sonare" is the system's own folder: the data folder here.
        const std::string own = "/sonare";
        if (p.size() >= own.size() && sameName(p.substr(0, own.size()), own) &&
            (p.size() == own.size() || p[own.size()] == '/'))
            p = dataFolder + p.substr(own.size());
    }
    return matchCase(fs::path(p)).string();
}

}  // namespace platform
