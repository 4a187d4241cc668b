#include "platform/common/profile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace platform {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    bool inSection = false;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string_view name =
                trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            inSection = sameText(name, section);
            continue;
        }
        if (!inSection) continue;
        auto eq = line.find('=');
        std::string_view name = trim(line.substr(0, eq));
        if (!sameText(name, key)) continue;
        if (eq == std::string_view::npos) return std::string();
        std::string_view value = trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

std::string resolveProfilePath(const std::string& fileName, const std::string& defaultFolder) {
    namespace fs = std::filesystem;
    std::string name = fileName;
    std::replace(name.begin(), name.end(), '\\', '/');
    fs::path path = name.find('/') == std::string::npos ? fs::path(defaultFolder) / name
                                                        : fs::path(name);
    std::error_code ec;
    if (fs::exists(path, ec)) return path.string();
    fs::path folder = path.parent_path();
    std::string wanted = path.filename().string();
    for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
        if (sameText(entry.path().filename().string(), wanted)) return entry.path().string();
    }
    return path.string();
}

}  // namespace platform
