#include "tools/voice/espeak_voice.h"

#include <espeak-ng/speak_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
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

// Runs in the child: speaks the text and sends the rate (4 bytes) and the
// 16-bit samples down the pipe. Never returns.
[[noreturn]] void speakInChild(int fd, const std::string& text, const EspeakSettings& settings) {
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) ::_exit(kNoSynthesizer);
    if (espeak_SetVoiceByName(settings.voice.c_str()) != EE_OK) ::_exit(kNoVoice);
    espeak_SetParameter(espeakRATE, settings.wordsPerMinute, 0);
    espeak_SetParameter(espeakPITCH, settings.pitch, 0);
    espeak_SetParameter(espeakRANGE, settings.range, 0);
    espeak_SetParameter(espeakVOLUME, settings.volume, 0);
    espeak_SetParameter(espeakWORDGAP, 0, 0);
    espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_NONE, 0);

    std::vector<std::int16_t> samples;
    collected = &samples;
    espeak_SetSynthCallback(collectSamples);
    if (espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     nullptr) != EE_OK)
        ::_exit(kSynthFailed);
    const auto rate32 = static_cast<std::int32_t>(rate);
    if (!writeAll(fd, &rate32, sizeof rate32) ||
        !writeAll(fd, samples.data(), samples.size() * sizeof(std::int16_t)))
        ::_exit(kPipeFailed);
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

}  // namespace

Synthesis synthesize(const std::string& utf8Text, const EspeakSettings& settings) {
    Synthesis result;
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
