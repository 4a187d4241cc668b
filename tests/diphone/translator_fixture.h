// Dictionary files for the translator's tests, written where the tests run.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "diphone/ovtradut.h"

namespace tradtest {

// A file of the given bytes, removed at the end of the test.
class TempFile {
public:
    explicit TempFile(const std::string& contents) {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("oralis_tradut_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

inline std::string lines(const std::vector<std::string>& each) {
    std::string text;
    for (const std::string& line : each) text += line + "\n";
    return text;
}

// The phoneme string of a text with only these rules and no exceptions.
inline std::string translateWith(const std::vector<std::string>& rules, std::string_view text) {
    ovtradut::startUp();
    ovtradut::loadRulesText(lines(rules));
    return ovtradut::translateToPhonemes(text);
}

}  // namespace tradtest
