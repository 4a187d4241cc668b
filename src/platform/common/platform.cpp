// The common part of the platform layer: platform.h implemented over one
// backend driver, with the scripted run (key script, transcript) and the
// portable services.
#include "platform/platform.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>

#include "platform/common/audio_capture.h"
#include "platform/common/wave_stream.h"
#include "platform/cp1252.h"
#include "platform/common/key_script.h"
#include "platform/common/system.h"
#include "platform/common/text_canvas.h"
#include "platform/common/transcript.h"
#include "platform/driver.h"

namespace platform {
namespace {

// A loop that only polls must still see virtual time pass: after this many
// empty polls in a row, with no pause or wait between them, the virtual clock
// moves on by one millisecond.
constexpr int kEmptyPollsPerMillisecond = 4096;

std::atomic<bool> gSignalled{false};

struct State {
    std::unique_ptr<Driver> driver;
    std::string backend;
    WindowProc proc = nullptr;
    void (*exitHook)() = nullptr;
    bool exiting = false;

    KeyScriptPlayer script;
    Transcript transcript;
    std::optional<std::uint32_t> seed;

    TextCanvas canvas;
    bool window = false;
    int clientWidth = 0, clientHeight = 0;
    bool invalid = false;
    bool dirty = false;
    std::deque<Message> held;  // messages taken from the driver, not yet handed out
    int emptyPolls = 0;
    int closeRequests = 0;
    bool quitPosted = false;

    bool toneOn = false;
    unsigned toneHertz = 0;
    std::uint64_t toneStart = 0;
    const std::uint8_t* toneImage = nullptr;
    std::size_t toneSize = 0;

    AudioCapture capture;     // in memory: ORALIS_AUDIO_OUT and playCapturedAudio
    WaveStream stream;        // captureAudioTo a file: written while it plays
    bool streamFailed = false;
    std::string audioOut;     // ORALIS_AUDIO_OUT: 16-bit mono 16000 Hz
    std::string nativeOut;    // captureAudioTo: the sound in its own format
    bool captured = false;

    bool waveOpen = false;
    void (*waveWriteObserver)() = nullptr;
    int waveRate = 0, waveBits = 0, waveChannels = 0;
};

State& state() {
    static State s;
    return s;
}

Driver& driver() { return *state().driver; }

// An interrupt of the user (SIGINT and SIGTERM; Ctrl+C in a Windows console)
// ends the program as Ctrl+Break does: a quit message.
void checkSignals() {
    State& s = state();
    if (gSignalled && !s.quitPosted) {
        s.quitPosted = true;
        s.held.push_back(Message{MessageKind::Quit});
    }
}

void presentIfDirty() {
    State& s = state();
    if (s.dirty && s.window) {
        s.dirty = false;
        driver().present();
    }
}

void deliverScripted(const ScriptAction& action) {
    State& s = state();
    switch (action.kind) {
        case ScriptAction::Kind::Close:
            if (s.window) driver().deliver(action);
            else s.held.push_back(Message{MessageKind::Quit});
            break;
        default:
            driver().deliver(action);
            break;
    }
}

// Delivers the scripted action that falls due at the present time, if any.
bool deliverDue() {
    State& s = state();
    auto due = s.script.due();
    if (!due || driver().now() < *due) return false;
    deliverScripted(s.script.take(driver().now()));
    return true;
}

bool fetch() {
    State& s = state();
    checkSignals();
    if (!s.held.empty()) return true;
    Message m;
    if (driver().peek(m)) {
        s.held.push_back(m);
        return true;
    }
    return false;
}

void atProcessExit() {
    State& s = state();
    if (s.exiting) return;
    s.exiting = true;
    if (s.exitHook) s.exitHook();
    if (s.driver) s.driver->shutdown();
}

// What keeps the sound in memory: ORALIS_AUDIO_OUT, and a capture to play.
bool capturing() {
    return !state().audioOut.empty() || (!state().nativeOut.empty() && state().nativeOut[0] == '\0');
}

void captureTone() {
    State& s = state();
    if (!capturing() || !s.toneImage || s.toneSize <= 44) return;
    std::uint32_t dataSize = s.toneImage[40] | s.toneImage[41] << 8 | s.toneImage[42] << 16 |
                             static_cast<std::uint32_t>(s.toneImage[43]) << 24;
    dataSize = std::min<std::uint32_t>(dataSize, static_cast<std::uint32_t>(s.toneSize - 44));
    s.capture.tone(static_cast<double>(s.toneStart), static_cast<double>(driver().now()),
                   s.toneImage + 44, dataSize);
}

void writeFinalTranscript(int code) {
    State& s = state();
    if (!s.transcript.enabled()) return;
    if (s.toneOn) {
        captureTone();
        s.transcript.line(s.toneStart, "tone " + std::to_string(s.toneHertz) + " " +
                                           std::to_string(driver().now() - s.toneStart));
        s.toneOn = false;
    }
    s.transcript.line(driver().now(), "exit " + std::to_string(code));
    s.transcript.raw("screen");
    for (int r = 0; r < s.canvas.rows(); ++r) s.transcript.raw("|" + s.canvas.row(r));
    s.transcript.close();
}

}  // namespace

// ------------------------------------------------------------ start and end

bool start() {
    State& s = state();
    os::watchInterrupts(&gSignalled);
    const char* name = std::getenv("ORALIS_BACKEND");
#ifdef _WIN32
    std::string wanted = name && *name ? name : "win32";
    const char* choices = "headless ou win32";
#else
    std::string wanted = name && *name ? name : "sdl";
    const char* choices = "headless ou sdl";
#endif
    if (wanted == "headless") s.driver = makeHeadlessDriver();
    else if (wanted == "sdl") s.driver = makeSdlDriver();
    else if (wanted == "win32") s.driver = makeWin32Driver();
    if (!s.driver) {
        std::cerr << "ORALIS: a interface \"" << wanted << "\" não existe neste programa (use "
                  << choices << ").\n";
        return false;
    }
    if (!s.driver->start()) {
        s.driver.reset();
        return false;
    }
    s.backend = s.driver->name();

    if (const char* t = std::getenv("ORALIS_TRANSCRIPT"); t && *t) {
        if (!s.transcript.open(t))
            std::cerr << "ORALIS: não foi possível criar o registro " << t << "\n";
    }
    if (const char* out = std::getenv("ORALIS_AUDIO_OUT"); out && *out) s.audioOut = out;
    if (const char* seed = std::getenv("ORALIS_SEED"); seed && *seed)
        s.seed = static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10));
    if (const char* keys = std::getenv("ORALIS_KEYS")) {
        std::string error;
        auto actions = parseKeyScript(keys, error);
        if (!actions) {
            std::cerr << "ORALIS_KEYS: " << error << "\n";
            s.driver->shutdown();
            return false;
        }
        s.script.load(std::move(*actions), s.driver->now());
    }
    std::atexit(atProcessExit);
    return true;
}

std::string_view backendName() { return state().backend; }

void setExitHook(void (*hook)()) { state().exitHook = hook; }

void exitProcess(int code) {
    State& s = state();
    presentIfDirty();
    writeFinalTranscript(code);
    finishAudioCapture();
    s.exiting = true;
    if (s.driver) s.driver->shutdown();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

// ------------------------------------------------------------------ window

void setWindowProc(WindowProc proc) { state().proc = proc; }

bool createWindow(const std::string& title, int outerWidth, int outerHeight, bool maximized,
                  int columns, int rows) {
    State& s = state();
    FontMetrics fm = driver().fontMetrics();
    SystemMetrics sm = driver().systemMetrics();
    s.canvas.reset(columns, rows);
    s.canvas.setCell(fm.averageCharWidth, fm.height + fm.externalLeading, fm.overhang);
    s.clientWidth = outerWidth - 2 * sm.frameWidth;
    s.clientHeight = outerHeight - 2 * sm.frameHeight - sm.captionHeight;
    s.window = driver().createWindow(title, outerWidth, outerHeight, maximized, columns, rows);
    s.dirty = true;
    return s.window;
}

void destroyWindow() {
    State& s = state();
    if (!s.window) return;
    driver().destroyWindow();
    s.window = false;
    s.invalid = false;
}

bool windowExists() { return state().window; }
void setTitle(const std::string& title) {
    if (state().window) driver().setTitle(title);
}
bool windowIsActive() { return state().window && driver().windowIsActive(); }
int windowBottom() { return driver().windowBottom(); }
SystemMetrics systemMetrics() { return driver().systemMetrics(); }

bool createFont(const std::string& face, int width, int height, int weight) {
    return driver().createFont(face, width, height, weight);
}
void deleteFont() { driver().deleteFont(); }
FontMetrics fontMetrics() { return driver().fontMetrics(); }

void drawText(int x, int y, std::string_view text, Rgb foreground, Rgb background) {
    State& s = state();
    if (!s.window || text.empty()) return;
    s.canvas.drawText(x, y, text);
    driver().drawText(x, y, std::string(text), foreground, background);
    s.dirty = true;
}

void scrollUp(int top, int height, int by, Rgb fill) {
    State& s = state();
    if (!s.window) return;
    s.canvas.scrollUp(top, height, by);
    driver().scrollUp(top, height, by, fill);
    s.dirty = true;
}

void invalidate(bool) { state().invalid = state().window; }

void updateWindow() {
    State& s = state();
    if (s.invalid && s.window) {
        s.invalid = false;
        dispatchMessage(Message{MessageKind::Paint, 0, 0, 0, 0, s.clientWidth, s.clientHeight});
    }
    presentIfDirty();
}

void beep() { driver().beep(); }

void showCaret(int x, int y, int width, int height) {
    if (!state().window) return;
    driver().showCaret(x, y, width, height);
    state().dirty = true;
}
void hideCaret() {
    if (!state().window) return;
    driver().hideCaret();
    state().dirty = true;
}

void takeSnapshot(int width, int height) {
    if (state().window) driver().takeSnapshot(width, height);
}
void drawSnapshotStretched(int sx, int sy, int sw, int sh, int width, int height) {
    if (!state().window) return;
    driver().drawSnapshotStretched(sx, sy, sw, sh, width, height);
    state().dirty = true;
}
void releaseSnapshot() {
    if (state().window) driver().releaseSnapshot();
}

// ------------------------------------------------------------------- queue

void postMessage(const Message& message) { driver().post(message); }

bool peekMessage(Message& message) {
    State& s = state();
    if (!fetch()) {
        if (s.invalid && s.window) {
            s.invalid = false;
            message = Message{MessageKind::Paint, 0, 0, 0, 0, s.clientWidth, s.clientHeight};
            return true;
        }
        presentIfDirty();
        if (deliverDue() && fetch()) {
            // a scripted key fell due while the program was polling
        } else {
            if (driver().virtualTime() && ++s.emptyPolls >= kEmptyPollsPerMillisecond) {
                sleepMs(1);
            }
            return false;
        }
    }
    s.emptyPolls = 0;
    message = s.held.front();
    s.held.pop_front();
    return true;
}

void waitMessage() {
    State& s = state();
    s.emptyPolls = 0;
    for (;;) {
        if (fetch() || (s.invalid && s.window)) return;
        presentIfDirty();
        if (auto due = s.script.due()) {
            if (!deliverDue()) driver().wait(*due);
            continue;
        }
        if (driver().devicePending()) {
            driver().wait(std::nullopt);
            continue;
        }
        // The program waits for input and nothing of its own is under way.
        if (s.script.active() || driver().virtualTime()) {
            if (s.script.active() && !s.script.finished()) {
                deliverScripted(s.script.take(driver().now()));
                continue;
            }
            // A used-up script closes the window; should the program go on
            // waiting all the same, a quit message ends it.
            if (s.closeRequests++ == 0 && s.window)
                driver().deliver(ScriptAction{ScriptAction::Kind::Close, {}, 0});
            else
                s.held.push_back(Message{MessageKind::Quit});
            continue;
        }
        driver().wait(std::nullopt);
    }
}

void dispatchMessage(const Message& message) {
    State& s = state();
    if (!s.proc || !s.proc(message)) defaultProcessing(message);
}

void defaultProcessing(const Message& message) {
    if (driver().defaultProcessing(message)) return;
    // A system without a default window procedure of its own: Alt+F4 closes.
    if (message.kind == MessageKind::SysKeyDown && message.key == vk::F4 &&
        (message.modifiers & ModAlt))
        state().held.push_back(Message{MessageKind::Close});
}

// -------------------------------------------------------------------- time

void sleepMs(std::uint32_t ms) {
    State& s = state();
    s.emptyPolls = 0;
    presentIfDirty();
    std::uint64_t end = driver().now() + ms;
    // A scripted key that falls due during the pause is queued at its time.
    while (auto due = s.script.due()) {
        if (*due > end) break;
        std::uint64_t now = driver().now();
        if (*due > now) driver().sleep(static_cast<std::uint32_t>(*due - now));
        deliverDue();
    }
    std::uint64_t now = driver().now();
    if (end > now) driver().sleep(static_cast<std::uint32_t>(end - now));
}

std::uint64_t nowMs() { return driver().now(); }

std::uint32_t clockSeed() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    auto mixed = static_cast<std::uint64_t>(ticks);
    mixed ^= mixed >> 29;
    mixed *= 0xBF58476D1CE4E5B9ull;
    mixed ^= mixed >> 32;
    return static_cast<std::uint32_t>(mixed);
}

// ------------------------------------------------------------------- sound

void playToneLoop(const std::uint8_t* image, std::size_t size, unsigned hertz) {
    State& s = state();
    stopTone();
    s.toneOn = true;
    s.toneHertz = hertz;
    s.toneStart = driver().now();
    s.toneImage = image;
    s.toneSize = size;
    driver().playToneLoop(image, size);
}

void stopTone() {
    State& s = state();
    if (!s.toneOn) return;
    s.toneOn = false;
    captureTone();
    s.toneImage = nullptr;
    driver().stopTone();
    s.transcript.line(s.toneStart, "tone " + std::to_string(s.toneHertz) + " " +
                                       std::to_string(driver().now() - s.toneStart));
}

int waveOpen(int samplesPerSecond, int bitsPerSample, int channels) {
    State& s = state();
    int result = driver().waveOpen(samplesPerSecond, bitsPerSample, channels);
    if (result == 0) {
        s.waveOpen = true;
        s.waveRate = samplesPerSecond;
        s.waveBits = bitsPerSample;
        s.waveChannels = channels;
    }
    return result;
}

void setWaveWriteObserver(void (*observer)()) { state().waveWriteObserver = observer; }

bool waveWrite(int slot, const std::uint8_t* data, std::size_t size) {
    State& s = state();
    if (s.waveWriteObserver) s.waveWriteObserver();
    bool queued = driver().waveWrite(slot, data, size);
    if (queued && s.stream.isOpen())
        s.stream.block(static_cast<double>(driver().now()),
                       PcmFormat{s.waveRate, s.waveBits, s.waveChannels}, data, size);
    if (queued && capturing())
        s.capture.block(static_cast<double>(driver().now()),
                        PcmFormat{s.waveRate, s.waveBits, s.waveChannels}, data, size);
    if (queued)
        s.transcript.line(driver().now(), "audio " + std::to_string(s.waveRate) + " " +
                                              std::to_string(s.waveBits) + " " +
                                              std::to_string(s.waveChannels) + " " +
                                              std::to_string(size));
    return queued;
}

void waveReset() {
    State& s = state();
    if (driver().devicePending()) {
        s.transcript.line(driver().now(), "stop");
        if (capturing()) s.capture.reset(static_cast<double>(driver().now()));
        if (s.stream.isOpen()) s.stream.reset(static_cast<double>(driver().now()));
    }
    driver().waveReset();
}

void waveClose() {
    state().waveOpen = false;
    driver().waveClose();
}
bool waveIsOpen() { return state().waveOpen; }

void captureAudioTo(const std::string& path) {
    State& s = state();
    s.nativeOut = path.empty() ? std::string(1, '\0') : path;
    if (!path.empty() && !s.stream.open(path)) s.streamFailed = true;
}

bool playCapturedAudio() {
    PcmFormat format;
    const auto data = state().capture.renderNative(format);
    if (data.empty()) return true;
    return playSoundOnDevice(format.rate, format.bits, format.channels, data.data(), data.size());
}

bool finishAudioCapture() {
    State& s = state();
    if (s.captured) return true;
    s.captured = true;
    bool ok = true;
    if (!s.audioOut.empty()) {
        const double end = std::max(s.capture.endMs(), static_cast<double>(driver().now()));
        const auto samples = s.capture.renderMono16(16000, end);
        ok = writeWaveFile(s.audioOut, PcmFormat{16000, 16, 1},
                           reinterpret_cast<const std::uint8_t*>(samples.data()),
                           samples.size() * 2) && ok;
    }
    if (s.stream.isOpen()) ok = s.stream.close() && ok;
    if (s.streamFailed) ok = false;
    return ok;
}

// ---------------------------------------------------------- files, folders

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, const std::string& fileName,
                              std::size_t capacity) {
    return os::readProfileString(section, key, defaultValue, fileName, capacity);
}

std::string windowsFolder() { return os::windowsFolder(); }
std::string dataFolder() { return os::dataFolder(); }
std::string nativePath(const std::string& systemPath) { return os::nativePath(systemPath); }
std::string programPath() { return os::programPath(); }
std::string currentFolder() { return os::currentFolder(); }
bool setCurrentFolder(const std::string& folder) { return os::setCurrentFolder(folder); }

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
    os::setEnvironment(name, value);
}

void messageBox(const std::string& title, const std::string& text) {
    std::cerr << cp1252::toUtf8(title) << ": " << cp1252::toUtf8(text) << std::endl;
    // A scripted run has nobody to press OK.
    if (state().driver && !state().script.active()) driver().messageBox(title, text);
}

std::optional<std::string> readRegistryString(const std::string& key, const std::string& name) {
    return os::readRegistryString(key, name);
}
void* loadLibrary(const std::string& name) { return os::loadLibrary(name); }
void* libraryFunction(void* library, const std::string& name) {
    return os::libraryFunction(library, name);
}
bool comInitialize() { return os::comInitialize(); }

// ---------------------------------------------------------- scripted runs

std::optional<std::uint32_t> scriptedSeed() { return state().seed; }

void transcript(std::string_view event) { state().transcript.line(driver().now(), event); }

bool transcriptEnabled() { return state().transcript.enabled(); }

std::string screenRow(int row) { return state().canvas.row(row); }

}  // namespace platform
