#include "platform/common/folders.h"

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

}  // namespace platform
