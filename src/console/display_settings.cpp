// Display settings of ORALIS.INI ([VIDEO], [BRAILLE]), the font and the
// magnifier.
#include <algorithm>
#include <cctype>

#include "console/crt_state.h"

namespace ovcrt {

using detail::crt;

namespace {

constexpr const char* kIni = "ORALIS.INI";

// Values are read into a buffer of 80 bytes.
std::string readVideo(const char* section, const char* key, const char* fallback,
                      std::size_t capacity = 80) {
    return platform::readProfileString(section, key, fallback, kIni, capacity);
}

std::string trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

}  // namespace

std::int32_t readInteger(std::string_view text, bool* complete) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size(); ++i, ++digits) {
        auto c = static_cast<unsigned char>(text[i]);
        int d;
        if (std::isdigit(c)) d = c - '0';
        else if (base == 16 && std::isxdigit(c)) d = std::tolower(c) - 'a' + 10;
        else break;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    }
    if (complete) *complete = i == text.size() && digits > 0;
    auto result = static_cast<std::int32_t>(value);
    return negative ? static_cast<std::int32_t>(0u - value) : result;
}

std::array<std::uint8_t, 16> parseColourTable(std::string_view value,
                                              std::array<std::uint8_t, 16> map) {
    std::string remaining = std::string(value) + ",";
    for (std::size_t entry = 0; entry < 16; ++entry) {
        auto comma = remaining.find(',');
        if (comma == std::string::npos) break;
        const std::size_t p = comma + 1;  // position of the comma, counted from 1
        std::string number = trimBlanks(remaining).substr(0, p - 1);
        bool complete = false;
        map[entry] = static_cast<std::uint8_t>(readInteger(number, &complete) & 0xFF);
        if (!complete) break;
        remaining.erase(0, p);
    }
    return map;
}

void loadDisplaySettings() {
    auto& s = crt();

    std::string colours = readVideo("VIDEO", "TABCORES", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
    if (!colours.empty()) s.colourMap = parseColourTable(colours, s.colourMap);

    std::string slow = readVideo("VIDEO", "LENTO", "N");
    s.scrollByCopying = !slow.empty() && (slow[0] == 'S' || slow[0] == 's');

    // An empty value keeps the value the program had before: 0 and 7.
    std::string background = readVideo("VIDEO", "CORFUNDO", "0");
    std::string foreground = readVideo("VIDEO", "CORLETRA", "15");
    std::int32_t back = background.empty() ? 0 : readInteger(background);
    std::int32_t fore = foreground.empty() ? 7 : readInteger(foreground);
    s.textAttr = static_cast<std::uint8_t>(((back * 16) | fore) & 255);

    std::string mode = readVideo("BRAILLE", "MODO", "0");
    s.brailleMode = mode.empty() ? 0 : (static_cast<unsigned char>(mode[0]) & 3);

    // Only the first character counts; a factor of 0 ("0", "8") cannot be
    // divided by and means no enlargement.
    std::string factor = readVideo("VIDEO", "AMPLIF", "2", 2);
    s.magnification = factor.empty() ? 2 : (static_cast<unsigned char>(factor[0]) & 7);
    if (s.magnification == 0) s.magnification = 1;

    std::string face = readVideo("VIDEO", "FONTE", "Lucida Console");
    std::string width = readVideo("VIDEO", "LARGURALETRA", "9");
    std::string height = readVideo("VIDEO", "ALTURALETRA", "22");
    std::string weight = readVideo("VIDEO", "PESOLETRA", "700");

    // The second character decides: only "S" there opens the window at the
    // system's default place ("SIM", "S", "N" and "NÃO" open it maximized).
    s.openMaximized = false;
    std::string corner = readVideo("VIDEO", "CANTOTELA", "SIM");
    if (!corner.empty())
        s.openMaximized = corner.size() < 2 || std::toupper(static_cast<unsigned char>(corner[1])) != 'S';

    s.hasFont = platform::createFont(face, width.empty() ? 0 : readInteger(width),
                                     height.empty() ? 0 : readInteger(height),
                                     weight.empty() ? 0 : readInteger(weight));
}

namespace detail {

namespace {

void magnifierDraw(int x, int y) {
    auto& s = crt();
    const int f = s.magnification;
    const int sourceX = std::max(0, x - x / f);
    const int sourceY = std::max(0, y - y / f);
    platform::drawSnapshotStretched(sourceX, sourceY, s.outerWidth / f, s.outerHeight / f,
                                    s.outerWidth, s.outerHeight);
}

}  // namespace

void magnifierStart(int x, int y) {
    auto& s = crt();
    if (s.magnifierActive) return;
    s.magnifierActive = true;
    platform::takeSnapshot(s.outerWidth, s.outerHeight);
    magnifierDraw(x, y);
}

void magnifierFollow(int x, int y) {
    if (crt().magnifierActive) magnifierDraw(x, y);
}

void magnifierEnd() {
    auto& s = crt();
    if (!s.magnifierActive) return;
    s.magnifierActive = false;
    platform::releaseSnapshot();
    platform::invalidate(true);
}

}  // namespace detail
}  // namespace ovcrt
