// The console window: its grid, text output, painting, caret, messages and
// the end of the program.
#include <algorithm>

#include "console/crt_state.h"
#include "platform/cp1252.h"

namespace ovcrt {
namespace detail {

CrtState& crt() {
    static CrtState state;
    return state;
}

}  // namespace detail

using detail::crt;
using detail::CrtState;

namespace {

constexpr platform::Rgb kPalette[16] = {
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
    {255, 0, 0},     {142, 0, 142},   {68, 34, 34},    {192, 192, 192},
    {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255}};

int windowColumns() { return crt().windowRight - crt().windowLeft + 1; }
int windowRows() { return crt().windowBottom - crt().windowTop + 1; }

std::size_t cellIndex(int column, int row) {
    return static_cast<std::size_t>((crt().windowTop + row) * kColumns + crt().windowLeft + column);
}

// Draws the cells [from, to) of a row of the text window, one string per
// stretch of equal colour.
void drawRun(int from, int to, int row) {
    CrtState& s = crt();
    if (to <= from || !s.created) return;
    int column = from;
    while (column < to) {
        std::uint8_t attribute = s.attributes[cellIndex(column, row)];
        int end = column + 1;
        while (end < to && s.attributes[cellIndex(end, row)] == attribute) ++end;
        std::string text(reinterpret_cast<const char*>(&s.characters[cellIndex(column, row)]),
                         static_cast<std::size_t>(end - column));
        platform::drawText((s.windowLeft + column) * s.cellWidth + s.overhang,
                           (s.windowTop + row) * s.cellHeight, text,
                           paletteColour(s.colourMap[attribute & 0x0F]),
                           paletteColour(s.colourMap[attribute >> 4]));
        column = end;
    }
}

void readCellMetrics() {
    CrtState& s = crt();
    platform::FontMetrics fm = platform::fontMetrics();
    s.cellWidth = std::max(1, fm.averageCharWidth);
    s.cellHeight = std::max(1, fm.height + fm.externalLeading);
    s.ascent = fm.ascent;
    s.overhang = fm.overhang;
}

void handleCreate() {
    CrtState& s = crt();
    s.created = true;
    s.characters.assign(kColumns * kRows, ' ');
    s.attributes.assign(kColumns * kRows, s.textAttr);
    s.windowLeft = 0;
    s.windowTop = 0;
    s.windowRight = kColumns - 1;
    s.windowBottom = kRows - 1;
}

void handleDestroy() {
    CrtState& s = crt();
    s.characters.clear();
    s.attributes.clear();
    s.cursorX = 0;
    s.cursorY = 0;
    s.created = false;
}

void paint(const platform::Message& m) {
    CrtState& s = crt();
    if (!s.created) return;
    s.painting = true;
    int left = std::max(0, m.x / s.cellWidth);
    int right = std::min(kColumns, (m.x + m.width + s.cellWidth - 1) / s.cellWidth);
    int top = std::max(0, m.y / s.cellHeight);
    int bottom = std::min(kRows, (m.y + m.height + s.cellHeight - 1) / s.cellHeight);
    for (int row = top; row < bottom; ++row) drawRun(left, right, row);
    s.painting = false;
}

void newLine() {
    CrtState& s = crt();
    drawRun(s.lowChanged, s.highChanged, s.cursorY);
    s.lowChanged = 0;
    s.highChanged = 0;
    ++s.cursorY;
    if (s.cursorY <= s.windowBottom - s.windowTop) return;

    s.cursorY = s.windowBottom - s.windowTop;
    const int columns = windowColumns();
    for (int row = 0; row < windowRows() - 1; ++row) {
        std::copy_n(&s.characters[cellIndex(0, row + 1)], columns, &s.characters[cellIndex(0, row)]);
        std::copy_n(&s.attributes[cellIndex(0, row + 1)], columns, &s.attributes[cellIndex(0, row)]);
    }
    std::fill_n(&s.characters[cellIndex(0, s.cursorY)], columns, ' ');
    std::fill_n(&s.attributes[cellIndex(0, s.cursorY)], columns, s.textAttr);

    const auto sm = platform::systemMetrics();
    if (s.scrollByCopying && platform::windowIsActive() &&
        platform::windowBottom() < sm.screenHeight - 32) {
        platform::scrollUp(s.cellHeight, (kRows - 1) * s.cellHeight, s.cellHeight,
                           paletteColour(s.colourMap[s.textAttr >> 4]));
    } else {
        platform::invalidate(false);
    }
    platform::updateWindow();
}

bool windowProc(const platform::Message& m) {
    using platform::MessageKind;
    CrtState& s = crt();
    switch (m.kind) {
        case MessageKind::SetFocus:
            s.focused = true;
            if (s.reading) detail::showReadingCaret();
            return true;
        case MessageKind::KillFocus:
            if (s.reading) detail::hideReadingCaret();
            s.focused = false;
            return true;
        case MessageKind::Paint: paint(m); return true;
        case MessageKind::Close: closeConsole();
        case MessageKind::KeyDown: return detail::handleKeyDown(m);
        case MessageKind::KeyUp: return detail::handleKeyUp(m);
        case MessageKind::Char: detail::handleCharacter(m); return true;
        case MessageKind::SysKeyDown:
            // Only the Left and Right arrows with Alt are the console's; every
            // other system key is the system's (Alt+F4 closes the window).
            if (m.key == platform::vk::Left || m.key == platform::vk::Right)
                return detail::handleKeyDown(m);
            return false;
        case MessageKind::MouseMove: detail::magnifierFollow(m.x, m.y); return true;
        case MessageKind::RightButtonDown: detail::magnifierStart(m.x, m.y); return true;
        case MessageKind::RightButtonUp: detail::magnifierEnd(); return true;
        case MessageKind::WaveDone:
            if (!s.waveDone) return false;
            s.waveDone(static_cast<int>(m.key), m.code);
            return true;
        default: return false;  // the wake-up messages 1123 and 2980 only end a wait
    }
}

// Any end of the program other than closeConsole leaves the window to the
// system: it says so in its title.
void endOfProgram() {
    if (!crt().created) return;
    platform::setTitle(cp1252::fromUtf8("Programa terminado"));
}

}  // namespace

namespace detail {

void showReadingCaret() {
    CrtState& s = crt();
    platform::showCaret((s.windowLeft + s.cursorX) * s.cellWidth,
                        (s.windowTop + s.cursorY) * s.cellHeight + s.ascent, s.cellWidth, 2);
}

void hideReadingCaret() { platform::hideCaret(); }

void endWithBreak() {
    CrtState& s = crt();
    if (s.reading && s.focused) hideReadingCaret();
    platform::exitProcess(255);
}

}  // namespace detail

platform::Rgb paletteColour(std::uint8_t colourNumber) {
    return colourNumber < 16 ? kPalette[colourNumber] : platform::Rgb{0, 0, 0};
}

void startUp() {
    CrtState& s = crt();
    s = CrtState{};
    // The title is the program's path, at most 79 characters.
    s.title = platform::programPath();
    if (s.title.size() > 79) s.title.resize(79);
    platform::setWindowProc(&windowProc);
    platform::setExitHook(&endOfProgram);
    detail::bindStandardStreams();
}

void createConsoleWindow() {
    CrtState& s = crt();
    if (s.created) return;
    loadDisplaySettings();
    readCellMetrics();
    const auto sm = platform::systemMetrics();
    s.outerWidth = 2 * sm.frameWidth + kColumns * s.cellWidth;
    s.outerHeight = 2 * sm.frameHeight + kRows * s.cellHeight + sm.captionHeight;
    handleCreate();
    if (!platform::createWindow(s.title, s.outerWidth, s.outerHeight, s.openMaximized, kColumns,
                                kRows)) {
        platform::messageBox("ORALIS", cp1252::fromUtf8("Não foi possível abrir a janela."));
        platform::exitProcess(1);
    }
    platform::invalidate(false);
    platform::updateWindow();
    setBrailleMode(s.brailleMode);
}

void writeChars(std::string_view characters) {
    CrtState& s = crt();
    createConsoleWindow();
    if (characters.size() > 65535) characters = characters.substr(0, 65535);
    s.lowChanged = s.cursorX;
    s.highChanged = s.cursorX;
    for (char ch : characters) {
        auto c = static_cast<std::uint8_t>(ch);
        switch (c) {
            case 7: platform::beep(); break;
            case 8:
                if (s.cursorX > 0) {
                    --s.cursorX;
                    s.characters[cellIndex(s.cursorX, s.cursorY)] = ' ';
                    s.attributes[cellIndex(s.cursorX, s.cursorY)] = s.textAttr;
                    s.lowChanged = std::min(s.lowChanged, s.cursorX);
                }
                break;
            case 10:
                newLine();
                s.cursorX = 0;
                break;
            case 13: s.cursorX = 0; break;
            default:
                if (c < 32) break;
                if (s.cursorX >= windowColumns()) {
                    s.cursorX = 0;
                    newLine();
                }
                s.characters[cellIndex(s.cursorX, s.cursorY)] = c;
                s.attributes[cellIndex(s.cursorX, s.cursorY)] = s.textAttr;
                ++s.cursorX;
                s.highChanged = std::max(s.highChanged, s.cursorX);
                break;
        }
    }
    drawRun(s.lowChanged, s.highChanged, s.cursorY);
}

void clearScreen() {
    CrtState& s = crt();
    createConsoleWindow();
    for (int row = 0; row < windowRows(); ++row) {
        std::fill_n(&s.characters[cellIndex(0, row)], windowColumns(), ' ');
        std::fill_n(&s.attributes[cellIndex(0, row)], windowColumns(), s.textAttr);
    }
    s.cursorX = 0;
    s.cursorY = 0;
    platform::invalidate(false);
    platform::updateWindow();
}

void gotoXY(int column, int row) {
    CrtState& s = crt();
    s.cursorX = std::clamp(column - 1, 0, s.windowRight - s.windowLeft);
    s.cursorY = std::clamp(row - 1, 0, s.windowBottom - s.windowTop);
}

void pumpMessages() {
    platform::Message m;
    while (platform::peekMessage(m)) {
        if (m.kind == platform::MessageKind::Quit) detail::endWithBreak();
        platform::dispatchMessage(m);
    }
}

void closeConsole() {
    CrtState& s = crt();
    if (s.created) {
        while (keyPressed()) detail::takeQueuedKey();
        platform::deleteFont();
        platform::setWindowProc(nullptr);
        platform::destroyWindow();
        handleDestroy();
    }
    platform::exitProcess(0);
}

void setWaveDoneHandler(WaveDoneHandler handler) { crt().waveDone = handler; }

Cursor cursor() { return {crt().cursorX, crt().cursorY}; }
std::uint8_t cellCharacter(int column, int row) {
    return crt().created ? crt().characters[cellIndex(column, row)] : std::uint8_t{' '};
}
std::uint8_t cellAttribute(int column, int row) {
    return crt().created ? crt().attributes[cellIndex(column, row)] : crt().textAttr;
}
std::uint8_t textAttr() { return crt().textAttr; }
void setTextAttr(std::uint8_t attribute) { crt().textAttr = attribute; }
std::array<std::uint8_t, 16> colourMap() { return crt().colourMap; }
int magnification() { return crt().magnification; }
bool scrollByCopying() { return crt().scrollByCopying; }
bool openMaximized() { return crt().openMaximized; }

}  // namespace ovcrt
