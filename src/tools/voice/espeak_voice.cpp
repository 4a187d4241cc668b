#include "tools/voice/espeak_voice.h"

#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <type_traits>
#include <vector>

namespace voice {
namespace {

// Exit codes of the child, read back by the parent.
enum ChildStatus : int {
    kChildDone = 0,
    kNoSynthesizer = 10,
    kNoVoice = 11,
    kSynthFailed = 12,
    kPipeFailed = 13,
};

std::vector<std::int16_t>* collected = nullptr;

int collectSamples(short* samples, int count, espeak_EVENT*) {
    if (samples != nullptr && count > 0)
        collected->insert(collected->end(), samples, samples + count);
    return 0;
}

// libespeak-ng is loaded when the builder first needs it, not when the
// program starts: `oralis say` and the other commands never map it (nor the
// sound and X libraries it brings), which keeps their memory small. It is
// loaded in the parent, before any child is started, so every child finds it
// ready.
struct EspeakLibrary {
    decltype(&espeak_Initialize) initialize = nullptr;
    decltype(&espeak_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_Synth) synth = nullptr;
};

const EspeakLibrary* loadEspeak() {
    void* library = ::dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static EspeakLibrary api;
    const auto find = [library](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(library, name));
        return function != nullptr;
    };
    if (!find(api.initialize, "espeak_Initialize") ||
        !find(api.setVoiceByName, "espeak_SetVoiceByName") ||
        !find(api.setParameter, "espeak_SetParameter") ||
        !find(api.setSynthCallback, "espeak_SetSynthCallback") || !find(api.synth, "espeak_Synth"))
        return nullptr;
    return &api;
}

const EspeakLibrary* api() {
    static const EspeakLibrary* const loaded = loadEspeak();
    return loaded;
}

constexpr const char* kNoLibrary =
    "não consigo carregar a libespeak-ng (o pacote libespeak-ng1 está instalado?)";

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// In the child, after the synthesizer's start (its sample rate, or 0 when it
// failed): the fixed voice, rate and pitch of every sound the builder makes.
void useSettings(int rate, const EspeakSettings& settings) {
    if (rate <= 0) ::_exit(kNoSynthesizer);
    if (api()->setVoiceByName(settings.voice.c_str()) != EE_OK) ::_exit(kNoVoice);
    api()->setParameter(espeakRATE, settings.wordsPerMinute, 0);
    api()->setParameter(espeakPITCH, settings.pitch, 0);
    api()->setParameter(espeakRANGE, settings.range, 0);
    api()->setParameter(espeakVOLUME, settings.volume, 0);
    api()->setParameter(espeakWORDGAP, 0, 0);
    api()->setParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);
}

// Runs in the child: speaks the text and sends the rate (4 bytes) and the
// 16-bit samples down the pipe. Never returns.
[[noreturn]] void speakInChild(int fd, const std::string& text, const EspeakSettings& settings) {
    const int rate =
        api()->initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    useSettings(rate, settings);

    std::vector<std::int16_t> samples;
    collected = &samples;
    api()->setSynthCallback(collectSamples);
    if (api()->synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     nullptr) != EE_OK)
        ::_exit(kSynthFailed);
    const auto rate32 = static_cast<std::int32_t>(rate);
    if (!writeAll(fd, &rate32, sizeof rate32) ||
        !writeAll(fd, samples.data(), samples.size() * sizeof(std::int16_t)))
        ::_exit(kPipeFailed);
    ::_exit(kChildDone);
}

struct Marked {
    std::vector<std::int16_t> samples;
    std::vector<std::pair<std::int32_t, std::string>> marks;
};
Marked* marked = nullptr;

int collectMarked(short* samples, int count, espeak_EVENT* events) {
    if (samples != nullptr && count > 0)
        marked->samples.insert(marked->samples.end(), samples, samples + count);
    for (; events != nullptr && events->type != espeakEVENT_LIST_TERMINATED; ++events) {
        if (events->type != espeakEVENT_PHONEME) continue;
        char name[9] = {};
        std::memcpy(name, events->id.string, 8);
        marked->marks.emplace_back(events->sample, name);
    }
    return 0;
}

// Runs in the child: speaks the text with phoneme events and sends the rate,
// the marks (count, then sample and 8-byte name each) and the samples (count,
// then the 16-bit values). Never returns.
[[noreturn]] void speakMarkedInChild(int fd, const std::string& text,
                                     const EspeakSettings& settings) {
    const int rate =
        api()->initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                          espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
    useSettings(rate, settings);

    Marked result;
    marked = &result;
    api()->setSynthCallback(collectMarked);
    if (api()->synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr) != EE_OK)
        ::_exit(kSynthFailed);
    std::vector<std::uint8_t> out;
    const auto put32 = [&out](std::int32_t v) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(&v);
        out.insert(out.end(), b, b + sizeof v);
    };
    put32(rate);
    put32(static_cast<std::int32_t>(result.marks.size()));
    for (const auto& [sample, name] : result.marks) {
        put32(sample);
        char padded[8] = {};
        std::memcpy(padded, name.data(), std::min<std::size_t>(name.size(), 8));
        out.insert(out.end(), padded, padded + 8);
    }
    put32(static_cast<std::int32_t>(result.samples.size()));
    const auto* s = reinterpret_cast<const std::uint8_t*>(result.samples.data());
    out.insert(out.end(), s, s + result.samples.size() * sizeof(std::int16_t));
    if (!writeAll(fd, out.data(), out.size())) ::_exit(kPipeFailed);
    ::_exit(kChildDone);
}

std::string describeChildFailure(int status) {
    if (WIFSIGNALED(status))
        return std::string("o espeak-ng morreu: ") + strsignal(WTERMSIG(status));
    switch (WEXITSTATUS(status)) {
        case kNoSynthesizer: return "o espeak-ng não iniciou (o espeak-ng-data está instalado?)";
        case kNoVoice: return "o espeak-ng não tem a voz pedida";
        case kSynthFailed: return "o espeak-ng recusou o texto";
        case kPipeFailed: return "as amostras não voltaram do processo filho";
        default: return "o espeak-ng terminou com o código " + std::to_string(WEXITSTATUS(status));
    }
}

// Reads what speakMarkedInChild sent.
bool decodeMarked(const std::vector<std::uint8_t>& bytes, MarkedSynthesis& result) {
    std::size_t at = 0;
    const auto get32 = [&](std::int32_t& v) {
        if (bytes.size() - at < sizeof v) return false;
        std::memcpy(&v, bytes.data() + at, sizeof v);
        at += sizeof v;
        return true;
    };
    std::int32_t rate = 0, markCount = 0, sampleCount = 0;
    if (!get32(rate) || !get32(markCount) || markCount < 0) return false;
    for (std::int32_t i = 0; i < markCount; ++i) {
        std::int32_t sample = 0;
        if (!get32(sample) || bytes.size() - at < 8) return false;
        const char* name = reinterpret_cast<const char*>(bytes.data() + at);
        at += 8;
        result.marks.push_back(
            {std::string(name, strnlen(name, 8)), static_cast<std::size_t>(std::max(sample, 0))});
    }
    if (!get32(sampleCount) || sampleCount < 0 ||
        bytes.size() - at != static_cast<std::size_t>(sampleCount) * sizeof(std::int16_t))
        return false;
    result.sound.rate = rate;
    result.sound.samples.resize(static_cast<std::size_t>(sampleCount));
    for (std::size_t i = 0; i < result.sound.samples.size(); ++i) {
        std::int16_t v;
        std::memcpy(&v, bytes.data() + at + i * sizeof v, sizeof v);
        result.sound.samples[i] = static_cast<float>(v) / 32768.0f;
    }
    return true;
}

}  // namespace

std::vector<MarkedSynthesis> synthesizeMarked(const std::vector<std::string>& texts,
                                              const EspeakSettings& settings, int jobs) {
    if (api() == nullptr) {
        std::vector<MarkedSynthesis> failed(texts.size());
        for (MarkedSynthesis& f : failed) f.error = kNoLibrary;
        return failed;
    }
    struct Running {
        std::size_t text;
        pid_t pid;
        int fd;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<MarkedSynthesis> results(texts.size());
    std::deque<Running> running;
    std::size_t next = 0;
    const std::size_t limit = static_cast<std::size_t>(std::max(jobs, 1));
    const auto finish = [&](Running& r) {
        ::close(r.fd);
        int status = 0;
        while (::waitpid(r.pid, &status, 0) < 0 && errno == EINTR) {
        }
        MarkedSynthesis& result = results[r.text];
        if (!WIFEXITED(status) || WEXITSTATUS(status) != kChildDone)
            result.error = describeChildFailure(status);
        else if (!decodeMarked(r.bytes, result))
            result.error = "o espeak-ng mandou amostras incompletas";
    };
    while (next < texts.size() || !running.empty()) {
        while (next < texts.size() && running.size() < limit) {
            int fds[2];
            if (::pipe(fds) != 0) {
                results[next++].error = std::string("pipe: ") + std::strerror(errno);
                continue;
            }
            const pid_t child = ::fork();
            if (child < 0) {
                results[next++].error = std::string("fork: ") + std::strerror(errno);
                ::close(fds[0]);
                ::close(fds[1]);
                continue;
            }
            if (child == 0) {
                ::close(fds[0]);
                for (const Running& r : running) ::close(r.fd);
                speakMarkedInChild(fds[1], texts[next], settings);
            }
            ::close(fds[1]);
            running.push_back({next++, child, fds[0], {}});
        }
        if (running.empty()) break;
        std::vector<pollfd> polled;
        for (const Running& r : running) polled.push_back({r.fd, POLLIN, 0});
        if (::poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR) break;
        for (std::size_t i = polled.size(); i-- > 0;) {
            if (polled[i].revents == 0) continue;
            Running& r = running[i];
            std::uint8_t chunk[16384];
            const ssize_t n = ::read(r.fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                r.bytes.insert(r.bytes.end(), chunk, chunk + n);
                continue;
            }
            finish(r);
            running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return results;
}

Synthesis synthesize(const std::string& utf8Text, const EspeakSettings& settings) {
    Synthesis result;
    if (api() == nullptr) {
        result.error = kNoLibrary;
        return result;
    }
    int fds[2];
    if (::pipe(fds) != 0) {
        result.error = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        result.error = std::string("fork: ") + std::strerror(errno);
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (child == 0) {
        ::close(fds[0]);
        speakInChild(fds[1], utf8Text, settings);
    }
    ::close(fds[1]);

    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[16384];
    for (;;) {
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fds[0]);

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != kChildDone) {
        result.error = describeChildFailure(status);
        return result;
    }
    std::int32_t rate = 0;
    if (bytes.size() < sizeof rate || (bytes.size() - sizeof rate) % sizeof(std::int16_t) != 0) {
        result.error = "o espeak-ng mandou amostras incompletas";
        return result;
    }
    std::memcpy(&rate, bytes.data(), sizeof rate);
    result.sound.rate = rate;
    const std::size_t count = (bytes.size() - sizeof rate) / sizeof(std::int16_t);
    result.sound.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::int16_t v;
        std::memcpy(&v, bytes.data() + sizeof rate + i * sizeof v, sizeof v);
        result.sound.samples[i] = static_cast<float>(v) / 32768.0f;
    }
    return result;
}

}  // namespace voice
