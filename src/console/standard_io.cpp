// The process's standard output and input bound to the console, as text
// devices with a 128-byte buffer: whatever any module writes to std::cout
// shows in the grid at once, and std::cin reads a line typed with echo.
#include <iostream>
#include <streambuf>

#include "console/crt_state.h"

namespace ovcrt {
namespace {

constexpr int kBufferSize = 128;

class ConsoleOutput final : public std::streambuf {
public:
    ConsoleOutput() { setp(buffer_, buffer_ + kBufferSize); }

protected:
    int_type overflow(int_type c) override {
        flushBuffer();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        flushBuffer();
        return 0;
    }

private:
    // Each flush draws the characters and keeps the window's messages flowing.
    void flushBuffer() {
        auto n = pptr() - pbase();
        if (n == 0) return;
        writeChars(std::string_view(pbase(), static_cast<std::size_t>(n)));
        setp(buffer_, buffer_ + kBufferSize);
        keyPressed();
    }
    char buffer_[kBufferSize];
};

class ConsoleInput final : public std::streambuf {
protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        int n = readLine(buffer_, kBufferSize);
        setg(buffer_, buffer_, buffer_ + n);
        return traits_type::to_int_type(*gptr());
    }

private:
    char buffer_[kBufferSize];
};

// Never destroyed: the standard streams may still be flushed at exit.
ConsoleOutput& output() {
    static auto* o = new ConsoleOutput;
    return *o;
}
ConsoleInput& input() {
    static auto* i = new ConsoleInput;
    return *i;
}

}  // namespace

namespace detail {

void bindStandardStreams() {
    std::cout.rdbuf(&output());
    std::cout.setf(std::ios::unitbuf);
    std::cin.rdbuf(&input());
}

}  // namespace detail

void write(std::string_view text) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
}

void writeLine(std::string_view text) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.write("\r\n", 2);
    std::cout.flush();
}

std::string readStandardLine() {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace ovcrt
