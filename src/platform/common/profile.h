// Reading of profile (INI) files with the rules of the Windows profile reader,
// for the backends whose system has none.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in `[section]` of the INI text, or nullopt when the
// section or key is absent. Sections and keys are compared without regard to
// case; blanks around the value are removed, and one pair of matching quotes
// around it too. The first occurrence counts.
std::optional<std::string> findProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key);

// Path of a file named in a profile call: a name without a folder lives in
// `defaultFolder`; backslashes separate folders; on a case-sensitive file
// system a name that differs only in case is found too.
std::string resolveProfilePath(const std::string& fileName, const std::string& defaultFolder);

}  // namespace platform
