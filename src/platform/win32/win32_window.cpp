// The Win32 backend's window and its pixels: creation and size limits, GDI
// text in the font of the display settings, the copy-scroll, the caret, the
// magnifier's snapshot, the end of the program.
#include <algorithm>

#include "platform/win32/win32_driver.h"
#include "platform/win32/win32_keys.h"

namespace platform::win32 {
namespace {

constexpr const wchar_t* kClassName = L"OvWinCrt";

COLORREF colour(Rgb c) { return RGB(c.r, c.g, c.b); }

// A drawing context of the window with the console's font selected; the
// caret is kept out of the pixels while it is in use.
class WindowDc {
public:
    WindowDc(HWND window, HFONT font, bool caret) : window_(window), caret_(caret) {
        dc_ = GetDC(window_);
        if (caret_) HideCaret(window_);
        previous_ = SelectObject(dc_, font);
    }
    ~WindowDc() {
        SelectObject(dc_, previous_);
        if (caret_) ShowCaret(window_);
        ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    bool caret_;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace

bool Win32Driver::createWindow(const std::string& title, int outerWidth, int outerHeight,
                               bool maximized, int columns, int rows) {
    if (window_.load()) return true;
    columns_ = columns;
    rows_ = rows;
    HWND window = CreateWindowExW(0, kClassName, widen(title).c_str(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, outerWidth, outerHeight, nullptr,
                                  nullptr, instance_, nullptr);
    if (!window) return false;
    window_ = window;
    ShowWindow(window, maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(window);
    return true;
}

void Win32Driver::destroyWindow() {
    HWND window = window_.load();
    if (!window) return;
    hideCaret();
    releaseSnapshot();
    // The window goes away with the system's own procedure.
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    window_ = nullptr;
    DestroyWindow(window);
}

// Any end of the program but the console's own leaves the window to the
// system: it can be closed, and the program no longer answers it.
void Win32Driver::endOfProgram() {
    HWND window = window_.load();
    if (!window) return;
    hideCaret();
    if (HMENU menu = GetSystemMenu(window, FALSE))
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
}

void Win32Driver::setTitle(const std::string& title) {
    if (HWND window = window_.load()) SetWindowTextW(window, widen(title).c_str());
}

bool Win32Driver::windowIsActive() {
    HWND window = window_.load();
    return window && GetActiveWindow() == window;
}

int Win32Driver::windowBottom() {
    RECT r{};
    if (HWND window = window_.load()) GetWindowRect(window, &r);
    return r.bottom;
}

SystemMetrics Win32Driver::systemMetrics() {
    SystemMetrics m;
    m.frameWidth = GetSystemMetrics(SM_CXFRAME);
    m.frameHeight = GetSystemMetrics(SM_CYFRAME);
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return m;
}

void Win32Driver::fillMinMaxInfo(MINMAXINFO& info) {
    const FontMetrics font = fontMetrics();
    const SizeLimits limits = sizeLimits(std::max(1, font.averageCharWidth),
                                         std::max(1, font.height + font.externalLeading), columns_,
                                         rows_, systemMetrics());
    info.ptMaxSize = POINT{limits.maxWidth, limits.maxHeight};
    info.ptMaxTrackSize = POINT{limits.maxWidth, limits.maxHeight};
    info.ptMinTrackSize = POINT{limits.minTrackWidth, limits.minTrackHeight};
}

// ------------------------------------------------------------------ font

bool Win32Driver::createFont(const std::string& face, int width, int height, int weight) {
    HFONT font = CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    deleteFont();
    font_ = font;
    return font != nullptr;
}

void Win32Driver::deleteFont() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
}

HFONT Win32Driver::activeFont() const {
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(SYSTEM_FIXED_FONT));
}

FontMetrics Win32Driver::fontMetrics() {
    HWND window = window_.load();
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, activeFont());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    FontMetrics m;
    m.averageCharWidth = tm.tmAveCharWidth;
    m.height = tm.tmHeight;
    m.externalLeading = tm.tmExternalLeading;
    m.ascent = tm.tmAscent;
    m.overhang = tm.tmOverhang;
    return m;
}

// --------------------------------------------------------------- drawing

void Win32Driver::drawText(int x, int y, const std::string& text, Rgb foreground, Rgb background) {
    HWND window = window_.load();
    if (!window || text.empty()) return;
    WindowDc dc(window, activeFont(), caretShown_);
    SetTextColor(dc.get(), colour(foreground));
    SetBkColor(dc.get(), colour(background));
    SetBkMode(dc.get(), OPAQUE);
    const std::wstring wide = widen(text);
    TextOutW(dc.get(), x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void Win32Driver::scrollUp(int top, int height, int by, Rgb fill) {
    HWND window = window_.load();
    if (!window || height <= 0 || by <= 0) return;
    RECT client{};
    GetClientRect(window, &client);
    WindowDc dc(window, activeFont(), caretShown_);
    BitBlt(dc.get(), 0, top - by, client.right, height, dc.get(), 0, top, SRCCOPY);
    const RECT strip{0, top + height - by, client.right, top + height};
    HBRUSH brush = CreateSolidBrush(colour(fill));
    FillRect(dc.get(), &strip, brush);
    DeleteObject(brush);
}

void Win32Driver::present() { GdiFlush(); }

void Win32Driver::beep() { MessageBeep(MB_OK); }

void Win32Driver::showCaret(int x, int y, int width, int height) {
    HWND window = window_.load();
    if (!window) return;
    if (caretShown_) DestroyCaret();
    caretShown_ = CreateCaret(window, nullptr, width, height) != 0;
    if (!caretShown_) return;
    SetCaretPos(x, y);
    ShowCaret(window);
}

void Win32Driver::hideCaret() {
    if (!caretShown_) return;
    DestroyCaret();
    caretShown_ = false;
}

// ------------------------------------------------------------- magnifier

void Win32Driver::takeSnapshot(int width, int height) {
    HWND window = window_.load();
    if (!window || width <= 0 || height <= 0) return;
    releaseSnapshot();
    HDC dc = GetDC(window);
    snapshotDc_ = CreateCompatibleDC(dc);
    snapshotBitmap_ = CreateCompatibleBitmap(dc, width, height);
    if (snapshotDc_ && snapshotBitmap_) {
        snapshotPrevious_ = SelectObject(snapshotDc_, snapshotBitmap_);
        BitBlt(snapshotDc_, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    }
    ReleaseDC(window, dc);
}

void Win32Driver::drawSnapshotStretched(int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                        int width, int height) {
    HWND window = window_.load();
    if (!window || !snapshotDc_ || !snapshotPrevious_) return;
    HDC dc = GetDC(window);
    if (caretShown_) HideCaret(window);
    StretchBlt(dc, 0, 0, width, height, snapshotDc_, sourceX, sourceY, sourceWidth, sourceHeight,
               SRCCOPY);
    if (caretShown_) ShowCaret(window);
    ReleaseDC(window, dc);
}

void Win32Driver::releaseSnapshot() {
    if (snapshotDc_ && snapshotPrevious_) SelectObject(snapshotDc_, snapshotPrevious_);
    if (snapshotBitmap_) DeleteObject(snapshotBitmap_);
    if (snapshotDc_) DeleteDC(snapshotDc_);
    snapshotDc_ = nullptr;
    snapshotBitmap_ = nullptr;
    snapshotPrevious_ = nullptr;
}

// ---------------------------------------------------------- message box

void Win32Driver::messageBox(const std::string& title, const std::string& text) {
    MessageBoxW(window_.load(), widen(text).c_str(), widen(title).c_str(), MB_OK);
}

}  // namespace platform::win32
