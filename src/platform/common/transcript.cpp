#include "platform/common/transcript.h"

#include "platform/cp1252.h"

namespace platform {

Transcript::~Transcript() { close(); }

bool Transcript::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

void Transcript::line(std::uint64_t ms, std::string_view event) {
    if (!file_) return;
    std::string text = std::to_string(ms) + " " + cp1252::toUtf8(event) + "\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);  // a crash must not lose what was already logged
}

void Transcript::raw(std::string_view windows1252) {
    if (!file_) return;
    std::string text = cp1252::toUtf8(windows1252) + "\n";
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

void Transcript::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace platform
