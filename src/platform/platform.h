// The platform layer: the only part of ORALIS that talks to an operating system.
//
// Every other module is portable C++ and asks this layer for a window with a
// message queue, drawing of the character grid, a looping tone player, a
// wave-out device, profile (INI) reading, folders and a few process services.
// The vocabulary is the system's own: virtual-key codes, Windows-1252
// character codes, pixels of the console window, device error codes.
//
// One interface, one backend per target (headless, sdl, win32), chosen once by
// platform::start() from ORALIS_BACKEND. All calls are made from the main
// thread, except postMessage(), which any thread may call.
//
// Scripted runs (ORALIS_KEYS, ORALIS_TRANSCRIPT, ORALIS_SEED, ORALIS_AUDIO_OUT)
// work the same on every backend; the layer feeds the keys and writes the
// transcript.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// ---------------------------------------------------------------- messages

enum class MessageKind : std::uint8_t {
    None,
    KeyDown,     // key = virtual-key code, modifiers valid
    KeyUp,       // key = virtual-key code, modifiers valid
    SysKeyDown,  // a key pressed with Alt (without Ctrl), and F10
    Char,        // key = Windows-1252 character code, modifiers valid
    MouseMove,   // x, y in client pixels
    RightButtonDown,
    RightButtonUp,
    SetFocus,
    KillFocus,
    Paint,       // x, y, width, height: the rectangle to repaint
    Close,       // the user asked to close the window
    Quit,        // the process is asked to end (exit code 255)
    WaveDone,    // key = slot number of the finished block, code = device result
    Private,     // code = private message number (1123, 2980): a wake-up
};

// Modifier bits of a keyboard message: the state of the keys when the message
// was generated.
enum Modifier : std::uint8_t { ModShift = 1, ModCtrl = 2, ModAlt = 4 };

struct Message {
    MessageKind kind = MessageKind::None;
    std::uint32_t key = 0;
    std::uint8_t modifiers = 0;
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    std::int32_t code = 0;
};

// Virtual-key codes used by the console (the Windows values).
namespace vk {
constexpr std::uint32_t Cancel = 0x03;  // Ctrl+Break
constexpr std::uint32_t Back = 0x08, Tab = 0x09, Return = 0x0D;
constexpr std::uint32_t Shift = 0x10, Control = 0x11, Menu = 0x12;
constexpr std::uint32_t Escape = 0x1B, Space = 0x20;
constexpr std::uint32_t Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
constexpr std::uint32_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
constexpr std::uint32_t Insert = 0x2D, Delete = 0x2E;
constexpr std::uint32_t Digit0 = 0x30;  // '0' … '9' are 0x30 … 0x39
constexpr std::uint32_t LetterA = 0x41; // 'A' … 'Z' are 0x41 … 0x5A
constexpr std::uint32_t F1 = 0x70;      // F1 … F12 are 0x70 … 0x7B
constexpr std::uint32_t F4 = 0x73, F10 = 0x79, F11 = 0x7A, F12 = 0x7B;
}  // namespace vk

// ------------------------------------------------------------- start and end

// Chooses and starts the backend named by ORALIS_BACKEND (default: sdl on
// Linux, win32 on Windows) and reads the scripted-run variables. Returns false
// with a message on stderr when the backend cannot start (no display).
bool start();

// Name of the running backend: "headless", "sdl" or "win32".
std::string_view backendName();

// Registers the procedure run at every exit of the process that does not pass
// through exitProcess() with the window's end already handled (the console's
// end-of-program procedure).
void setExitHook(void (*hook)());

// Ends the process with the code: writes the transcript's last lines, closes
// the audio capture and the backend cleanly. Never returns.
[[noreturn]] void exitProcess(int code);

// ------------------------------------------------------------------- window

struct FontMetrics {
    int averageCharWidth = 8;
    int height = 16;
    int externalLeading = 0;
    int ascent = 13;
    int overhang = 0;
};

struct SystemMetrics {
    int frameWidth = 4, frameHeight = 4, captionHeight = 23;
    int screenWidth = 1920, screenHeight = 1080;
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// The window procedure: every dispatched message reaches it. It returns true
// when it handled the message; false sends it to defaultProcessing().
using WindowProc = bool (*)(const Message&);
void setWindowProc(WindowProc proc);

// Creates the console window (the only one). The cell grid is columns × rows.
// Returns false when no window could be made.
bool createWindow(const std::string& title, int outerWidth, int outerHeight, bool maximized,
                  int columns, int rows);
void destroyWindow();
bool windowExists();
void setTitle(const std::string& title);
bool windowIsActive();
int windowBottom();  // bottom edge of the window in screen pixels
SystemMetrics systemMetrics();

// Fonts: createFont() replaces the window's font (false: the system's
// fixed-pitch font is used); fontMetrics() describes the font in use.
bool createFont(const std::string& face, int width, int height, int weight);
void deleteFont();
FontMetrics fontMetrics();

// Drawing in client pixels. drawText draws the bytes (Windows-1252) at (x, y)
// in one run with the colours given.
void drawText(int x, int y, std::string_view text, Rgb foreground, Rgb background);
// Copies the pixels of the client area from y = top down to y = top + height
// up by `by` pixels and fills the uncovered strip at the bottom with `fill`.
void scrollUp(int top, int height, int by, Rgb fill);
// Marks the whole client area invalid; a Paint message follows.
void invalidate(bool erase);
// Delivers a pending Paint message at once, as the system does.
void updateWindow();
void beep();

// Caret of the text cursor.
void showCaret(int x, int y, int width, int height);
void hideCaret();

// Magnifier: takes a snapshot of the window's pixels, stretches a rectangle of
// it over the whole window, and forgets it.
void takeSnapshot(int width, int height);
void drawSnapshotStretched(int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                           int width, int height);
void releaseSnapshot();

// --------------------------------------------------------------- the queue

// Posts a message to the window's queue. Safe from any thread.
void postMessage(const Message& message);
// Takes the next waiting message, if any; never blocks.
bool peekMessage(Message& message);
// Blocks until a message is waiting (the scripted keys are fed here).
void waitMessage();
// Hands a message to the window procedure, or to the default processing.
void dispatchMessage(const Message& message);
// What the system does with a message that the window did not handle
// (Alt+F4 closes the window).
void defaultProcessing(const Message& message);

// ------------------------------------------------------------------- time

// Sleeps without handling messages (virtual time on the headless backend).
void sleepMs(std::uint32_t ms);
// Milliseconds since start (virtual on the headless backend).
std::uint64_t nowMs();
// A seed taken from the wall clock.
std::uint32_t clockSeed();

// ------------------------------------------------------------------- sound

// Plays the 8-bit mono WAVE image in memory as a loop until stopTone().
// The image must stay alive until then. `hertz` is for the transcript.
void playToneLoop(const std::uint8_t* image, std::size_t size, unsigned hertz);
void stopTone();

// Wave-out device. open() returns 0 or a device error code: 4 (allocated:
// the device is busy), 2 (bad device), 32 (bad format).
int waveOpen(int samplesPerSecond, int bitsPerSample, int channels);
// Queues a copy of the block; its end comes back as a WaveDone message with
// key = slot and code = the device's result (0). False when not queued.
bool waveWrite(int slot, const std::uint8_t* data, std::size_t size);
// Called at every block queued on the device (for measurements; one at a time).
void setWaveWriteObserver(void (*observer)());
// Drops every queued block; each comes back as a WaveDone message.
void waveReset();
void waveClose();
bool waveIsOpen();

// ---------------------------------------------------------- files, folders

// Reads a value as the system's profile reader does: the file name without a
// folder is looked up in windowsFolder(); section and key are compared without
// regard to case; at most capacity - 1 bytes are returned.
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& fileName,
                              std::size_t capacity);
// The folder that plays the role of the Windows folder.
std::string windowsFolder();
// The data folder (the installed "\sonare").
std::string dataFolder();
// The path of the system's own spelling (Windows-1252, backslashes, drive
// letters) as the file system takes it: backslashes separate folders;
// "c:\sonare\..." (any drive, any case) lies in dataFolder(); another drive
// letter stands for the root. A file or folder whose name differs only in
// case from the one asked for is found too.
std::string nativePath(const std::string& systemPath);
std::string programPath();
std::string currentFolder();
bool setCurrentFolder(const std::string& folder);
// Sets a variable of the process's environment, or removes it (nullopt).
void setEnvironment(const std::string& name, const std::optional<std::string>& value);
// Shows a message box (windowed backends; stderr always).
void messageBox(const std::string& title, const std::string& text);

// Registry, libraries and COM exist on Windows only; elsewhere they fail or
// do nothing.
std::optional<std::string> readRegistryString(const std::string& key, const std::string& name);
void* loadLibrary(const std::string& name);
void* libraryFunction(void* library, const std::string& name);
bool comInitialize();

// ---------------------------------------------------------- scripted runs

// The seed of ORALIS_SEED, when set.
std::optional<std::uint32_t> scriptedSeed();
// Writes one transcript line "<ms> <event>" (the event text is Windows-1252
// and is converted to UTF-8). Does nothing without ORALIS_TRANSCRIPT.
void transcript(std::string_view event);
bool transcriptEnabled();
// Records the sound of the run in the format of its first block, silences
// included, into a WAVE file (written by finishAudioCapture); an empty path
// records it for playCapturedAudio.
void captureAudioTo(const std::string& path);
// Plays the sound recorded by captureAudioTo("") on the sound device,
// without a window (for the command-line tool). False without a device.
bool playCapturedAudio();
// Writes the recorded sound files (ORALIS_AUDIO_OUT and captureAudioTo);
// exitProcess does it too. False when a file could not be written.
bool finishAudioCapture();

// The text drawn in the window, cell by cell, as the transcript's last lines
// show it (blanks where nothing was drawn).
std::string screenRow(int row);

}  // namespace platform
