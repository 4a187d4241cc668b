// The Win32 backend's message queue: the window class, the window procedure
// that turns the system's messages into portable ones, posting from any
// thread, the key script's keys posted as real keyboard messages, time.
//
// The system's messages are dispatched to the class's window procedure as
// usual (with TranslateMessage for the user's keys); the procedure answers
// what only the system can answer (paint requests, size limits, the wave-out
// device's returned blocks) and queues a portable message for the console,
// whose window procedure runs when the common part hands it over.
#include "platform/win32/win32_driver.h"

#include <algorithm>
#include <cstdio>

#include "platform/win32/win32_keys.h"

namespace platform::win32 {
namespace {

constexpr const wchar_t* kClassName = L"OvWinCrt";
// Ends a wait that the messages posted from other threads are to end.
constexpr UINT kWakeMessage = WM_APP + 0x100;
// A wait ends at least this often, so that the common part sees interrupts.
constexpr DWORD kLongestWaitMs = 50;

Win32Driver* gDriver = nullptr;

LRESULT CALLBACK classProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gDriver) return gDriver->windowProcedure(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// The modifiers of a keyboard message: the script's own for a scripted key,
// the keyboard's state when the message was made for the user's keys.
std::uint8_t modifiersOf(LPARAM keyData) {
    const auto data = static_cast<std::uint32_t>(keyData);
    if (isScriptedKeyData(data)) return scriptedModifiers(data);
    std::uint8_t modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0) modifiers |= ModShift;
    if (GetKeyState(VK_CONTROL) < 0) modifiers |= ModCtrl;
    if (GetKeyState(VK_MENU) < 0) modifiers |= ModAlt;
    return modifiers;
}

bool isPrivateNumber(UINT message) { return message >= WM_USER && message < WM_APP; }

Message plain(MessageKind kind) {
    Message m;
    m.kind = kind;
    return m;
}

Message point(MessageKind kind, LPARAM position) {
    Message m;
    m.kind = kind;
    m.x = LOWORD(position);
    m.y = HIWORD(position);
    return m;
}

}  // namespace

Win32Driver::Win32Driver() = default;

Win32Driver::~Win32Driver() {
    shutdown();
    if (gDriver == this) gDriver = nullptr;
}

bool Win32Driver::start() {
    gDriver = this;
    thread_ = GetCurrentThreadId();
    instance_ = GetModuleHandleW(nullptr);
    // The thread's queue exists from now on, so that messages posted to the
    // thread before the window opens are kept.
    MSG probe;
    PeekMessageW(&probe, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    QueryPerformanceFrequency(&clockFrequency_);
    QueryPerformanceCounter(&clockStart_);

    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = classProcedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        std::fprintf(stderr, "ORALIS: não foi possível registrar a classe de janela (erro %lu).\n",
                     GetLastError());
        return false;
    }
    classRegistered_ = true;
    return true;
}

void Win32Driver::shutdown() {
    stopTone();
    waveClose();
    releaseSnapshot();
    if (window_.load()) endOfProgram();
    deleteFont();
}

// ------------------------------------------------------------------- time

void Win32Driver::sleep(std::uint32_t ms) { Sleep(ms); }

std::uint64_t Win32Driver::now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    if (clockFrequency_.QuadPart <= 0) return GetTickCount64();
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart - clockStart_.QuadPart);
    const auto frequency = static_cast<std::uint64_t>(clockFrequency_.QuadPart);
    return ticks / frequency * 1000 + ticks % frequency * 1000 / frequency;
}

// ------------------------------------------------------------------ queue

void Win32Driver::append(const Message& message) { queue_.push_back(message); }

bool Win32Driver::takeQueued(Message& message) {
    if (queue_.empty()) return false;
    message = queue_.front();
    queue_.pop_front();
    return true;
}

void Win32Driver::moveLatePosts() {
    std::lock_guard<std::mutex> lock(postedMutex_);
    while (!posted_.empty()) {
        queue_.push_back(posted_.front());
        posted_.pop_front();
    }
}

// Private wake-up messages travel with their own number, as the speech
// modules post them on Windows; anything else waits in posted_ behind a
// wake-up message of the driver's, which keeps it in order with the rest.
void Win32Driver::post(const Message& message) {
    if (message.kind == MessageKind::Private && isPrivateNumber(static_cast<UINT>(message.code))) {
        postNative(static_cast<UINT>(message.code), 0, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(postedMutex_);
        posted_.push_back(message);
    }
    postNative(kWakeMessage, 0, 0);
}

void Win32Driver::postNative(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND window = window_.load()) {
        if (PostMessageW(window, message, wParam, lParam)) return;
    }
    PostThreadMessageW(thread_, message, wParam, lParam);
}

bool Win32Driver::peek(Message& message) {
    for (;;) {
        if (takeQueued(message)) return true;
        MSG native;
        if (!PeekMessageW(&native, nullptr, 0, 0, PM_REMOVE)) return false;
        if (native.message == WM_QUIT) {
            append(plain(MessageKind::Quit));
            continue;
        }
        if (!native.hwnd) {
            handleThreadMessage(native);
            continue;
        }
        // The key script posts the characters of its keys itself.
        const bool keyboard = native.message >= WM_KEYFIRST && native.message <= WM_KEYLAST;
        if (!keyboard || !isScriptedKeyData(static_cast<std::uint32_t>(native.lParam)))
            TranslateMessage(&native);
        DispatchMessageW(&native);
    }
}

// Messages of the thread: those posted before the window existed, and the
// wave-out device's returned blocks when it was opened without a window.
void Win32Driver::handleThreadMessage(const MSG& native) {
    switch (native.message) {
        case kWakeMessage: moveLatePosts(); break;
        case MM_WOM_DONE: blockDone(reinterpret_cast<WAVEHDR*>(native.lParam)); break;
        case WM_KEYDOWN: appendKey(MessageKind::KeyDown, native.wParam, native.lParam); break;
        case WM_SYSKEYDOWN: appendKey(MessageKind::SysKeyDown, native.wParam, native.lParam); break;
        case WM_KEYUP:
        case WM_SYSKEYUP: appendKey(MessageKind::KeyUp, native.wParam, native.lParam); break;
        case WM_CHAR: appendCharacter(native.wParam, native.lParam); break;
        default:
            if (isPrivateNumber(native.message)) {
                Message m = plain(MessageKind::Private);
                m.code = static_cast<std::int32_t>(native.message);
                append(m);
            }
            break;
    }
}

void Win32Driver::appendKey(MessageKind kind, WPARAM virtualKey, LPARAM keyData) {
    Message m = plain(kind);
    m.key = static_cast<std::uint32_t>(virtualKey);
    m.modifiers = modifiersOf(keyData);
    append(m);
}

void Win32Driver::appendCharacter(WPARAM unit, LPARAM keyData) {
    const auto code = narrow(static_cast<wchar_t>(unit));
    if (!code) return;  // a character the code page lacks types nothing
    Message m = plain(MessageKind::Char);
    m.key = *code;
    m.modifiers = modifiersOf(keyData);
    append(m);
}

bool Win32Driver::wait(std::optional<std::uint64_t> deadlineMs) {
    if (!queue_.empty()) return true;
    DWORD timeout = kLongestWaitMs;
    if (deadlineMs) {
        const std::uint64_t current = now();
        if (*deadlineMs <= current) return true;
        timeout = static_cast<DWORD>(std::min<std::uint64_t>(timeout, *deadlineMs - current));
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return true;
}

LRESULT Win32Driver::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return 0;
        case WM_DESTROY: return 0;
        case WM_GETMINMAXINFO: fillMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
        case WM_PAINT: {
            // The console draws the rectangle from its grid when it takes
            // the Paint message; the system's request is answered now.
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            const RECT& r = paint.rcPaint;
            if (r.right > r.left && r.bottom > r.top) {
                Message m = plain(MessageKind::Paint);
                m.x = r.left;
                m.y = r.top;
                m.width = r.right - r.left;
                m.height = r.bottom - r.top;
                append(m);
            }
            return 0;
        }
        case WM_CLOSE: append(plain(MessageKind::Close)); return 0;
        case WM_SETFOCUS: append(plain(MessageKind::SetFocus)); return 0;
        case WM_KILLFOCUS: append(plain(MessageKind::KillFocus)); return 0;
        case WM_KEYDOWN: appendKey(MessageKind::KeyDown, wParam, lParam); return 0;
        case WM_SYSKEYDOWN: appendKey(MessageKind::SysKeyDown, wParam, lParam); return 0;
        // A key-up, also of a key pressed with Alt, is the console's; the
        // system's menu does not open when Alt or F10 is let go.
        case WM_KEYUP:
        case WM_SYSKEYUP: appendKey(MessageKind::KeyUp, wParam, lParam); return 0;
        case WM_CHAR: appendCharacter(wParam, lParam); return 0;
        case WM_MOUSEMOVE: append(point(MessageKind::MouseMove, lParam)); return 0;
        case WM_RBUTTONDOWN: append(point(MessageKind::RightButtonDown, lParam)); return 0;
        case WM_RBUTTONUP: append(point(MessageKind::RightButtonUp, lParam)); return 0;
        case MM_WOM_DONE: blockDone(reinterpret_cast<WAVEHDR*>(lParam)); return 0;
        case kWakeMessage: moveLatePosts(); return 0;
        default: break;
    }
    if (isPrivateNumber(message)) {
        Message m = plain(MessageKind::Private);
        m.code = static_cast<std::int32_t>(message);
        append(m);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A system key that the console declined goes to the system's default window
// procedure: Alt+F4 closes the window, Alt with a letter looks for a menu.
bool Win32Driver::defaultProcessing(const Message& message) {
    HWND window = window_.load();
    if (!window || message.kind != MessageKind::SysKeyDown) return false;
    const UINT scanCode = MapVirtualKeyW(message.key, MAPVK_VK_TO_VSC);
    DefWindowProcW(window, WM_SYSKEYDOWN, message.key,
                   static_cast<LPARAM>(keyDownData(scanCode, message.modifiers)));
    return true;
}

// ------------------------------------------------------------ scripted input

void Win32Driver::postStroke(const KeyStroke& stroke, bool keyUp) {
    const UINT scanCode = MapVirtualKeyW(stroke.virtualKey, MAPVK_VK_TO_VSC);
    UINT message = stroke.systemKey ? WM_SYSKEYDOWN : WM_KEYDOWN;
    if (keyUp) message = stroke.systemKey ? WM_SYSKEYUP : WM_KEYUP;
    const auto data = static_cast<LPARAM>(scriptedKeyData(scanCode, stroke.modifiers, keyUp));
    postNative(message, stroke.virtualKey, data);
    if (!keyUp && stroke.character)
        postNative(WM_CHAR, static_cast<WPARAM>(wideUnit(*stroke.character)), data);
}

void Win32Driver::deliver(const ScriptAction& action) {
    switch (action.kind) {
        case ScriptAction::Kind::Keys:
            for (const KeyStroke& stroke : action.strokes) {
                postStroke(stroke, false);
                postStroke(stroke, true);
            }
            break;
        case ScriptAction::Kind::Chord:
            for (const KeyStroke& stroke : action.strokes) postStroke(stroke, false);
            for (const KeyStroke& stroke : action.strokes) postStroke(stroke, true);
            break;
        case ScriptAction::Kind::Close:
            // What the window's close button does.
            if (HWND window = window_.load())
                PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            else
                append(plain(MessageKind::Close));
            break;
        case ScriptAction::Kind::Quit: PostQuitMessage(255); break;
        case ScriptAction::Kind::Wait: break;
    }
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<Driver> makeWin32Driver() { return std::make_unique<win32::Win32Driver>(); }

}  // namespace platform
