// The transcript of a run (ORALIS_TRANSCRIPT): a UTF-8 log, one event a line,
// each line beginning with the time in milliseconds.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

class Transcript {
public:
    ~Transcript();
    bool open(const std::string& path);
    bool enabled() const { return file_ != nullptr; }
    // One event; the text is Windows-1252 and is written as UTF-8.
    void line(std::uint64_t ms, std::string_view event);
    // A line without a time (the screen block at the end).
    void raw(std::string_view windows1252);
    void close();

private:
    std::FILE* file_ = nullptr;
};

}  // namespace platform
