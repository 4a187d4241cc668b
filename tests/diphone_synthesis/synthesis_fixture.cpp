#include "synthesis_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <span>
#include <stdexcept>
#include <utility>

#include "diphone/ovinter.h"

namespace synthtest {

namespace {

std::vector<std::vector<std::uint8_t>>& images() {
    static std::vector<std::vector<std::uint8_t>> list;
    return list;
}

struct Labels {
    std::map<std::string, std::uint8_t> values;
    std::map<std::uint8_t, std::string> names;
    int next = 1;
};
Labels& labels() {
    static Labels l;
    return l;
}

bool isNoiseLevel(std::uint8_t b) { return b >= 88 && b <= 167; }

}  // namespace

fs::path root() {
    static const fs::path r =
        fs::temp_directory_path() / ("oralis-synthesis-" + std::to_string(getpid()));
    return r;
}
fs::path windowsFolder() { return root() / "windows"; }
fs::path lettersFolder() { return root() / "letras"; }
fs::path diphoneFolder() { return root() / "difones"; }
fs::path dataFolder() { return root() / "sonare"; }

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void writeIni(const std::string& letters, const std::string& diphones) {
    std::string ini = "[TRADUTOR]\r\n";
    if (!letters.empty()) ini += "dirLetras=" + letters + "\r\n";
    if (!diphones.empty()) ini += "DIRDIFONES=" + diphones + "\r\n";
    writeFile(windowsFolder() / "ORALIS.INI", ini);
}

void writeStandardIni() { writeIni(lettersFolder().string(), diphoneFolder().string()); }

void writeDictionaries(const fs::path& folder) {
    writeFile(folder / "regras.rgr", "");
    writeFile(folder / "portug.exc", "");
}

std::uint8_t sampleOf(const std::string& label) {
    auto& l = labels();
    if (auto it = l.values.find(label); it != l.values.end()) return it->second;
    if (l.next == 88) l.next = 168;  // skip the levels of silence and noise
    if (l.next > 255) throw std::runtime_error("too many labels");
    const auto value = static_cast<std::uint8_t>(l.next++);
    l.values[label] = value;
    l.names[value] = label;
    return value;
}

void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}

std::string indexRecord(std::string_view name, std::uint8_t declaredLength, std::uint16_t length,
                        std::int32_t offset) {
    std::string r(1, static_cast<char>(declaredLength));
    std::string field(name.substr(0, 8));
    field.resize(8, '\0');
    r += field;
    r += static_cast<char>(length & 0xFF);
    r += static_cast<char>(length >> 8);
    put32(r, static_cast<std::uint32_t>(offset));
    return r;
}

void writeVoice(const fs::path& folder, const std::vector<Unit>& units, const std::string& stem) {
    std::vector<Unit> sorted = units;
    std::sort(sorted.begin(), sorted.end(),
              [](const Unit& a, const Unit& b) { return a.name < b.name; });
    std::string dif;
    std::map<std::string, std::size_t> offsets;
    for (auto it = units.rbegin(); it != units.rend(); ++it) {
        offsets[it->name] = dif.size();
        dif.append(it->length, static_cast<char>(sampleOf(it->name.substr(1))));
    }
    std::string index;
    for (const auto& u : sorted)
        index += indexRecord(u.name, static_cast<std::uint8_t>(u.name.size()),
                             static_cast<std::uint16_t>(u.length),
                             static_cast<std::int32_t>(offsets[u.name]));
    writeFile(folder / (stem + ".IND"), index);
    writeFile(folder / (stem + ".DIF"), dif);
}

std::string chunk(const char (&id)[5], const std::string& body) {
    std::string c(id, 4);
    put32(c, static_cast<std::uint32_t>(body.size()));
    return c + body;
}

std::string waveFile(std::size_t length, std::uint8_t value, const std::string& chunksBeforeData,
                     std::int64_t declared) {
    std::string format;
    format += std::string("\x01\x00\x01\x00", 4);
    put32(format, 11025);
    put32(format, 11025);
    format += std::string("\x01\x00\x08\x00", 4);
    std::string body = "WAVE" + chunk("fmt ", format) + chunksBeforeData + "data";
    put32(body,
          static_cast<std::uint32_t>(declared < 0 ? static_cast<std::int64_t>(length) : declared));
    body.append(length, static_cast<char>(value));
    std::string wav = "RIFF";
    put32(wav, static_cast<std::uint32_t>(body.size()));
    return wav + body;
}

void writeCharacterSound(int code, std::size_t length) {
    const std::string label = "_" + std::to_string(code);
    writeFile(lettersFolder() / (label + ".wav"), waveFile(length, sampleOf(label)));
}

void listenToImages(std::span<const std::uint8_t> image) {
    images().emplace_back(image.begin(), image.end());
}

std::vector<std::vector<std::uint8_t>> takeImages() {
    ovinter::setImageListener(listenToImages);
    return std::exchange(images(), {});
}

std::string describe(const std::vector<std::uint8_t>& image) {
    std::string out;
    auto add = [&](const std::string& label, std::size_t count) {
        if (!out.empty()) out += ' ';
        out += label + ":" + std::to_string(count);
    };
    std::size_t i = 44;
    while (i < image.size()) {
        const std::uint8_t b = image[i];
        std::size_t j = i;
        std::string label;
        if (isNoiseLevel(b)) {
            bool noisy = false;
            while (j < image.size() && isNoiseLevel(image[j])) noisy |= image[j++] != 128;
            label = noisy ? "~" : ".";
        } else {
            while (j < image.size() && image[j] == b) ++j;
            const auto& names = labels().names;
            const auto it = names.find(b);
            label = it != names.end() ? it->second : "?" + std::to_string(b);
        }
        add(label, j - i);
        i = j;
    }
    return out;
}

std::string spoken(std::string_view phonemes, bool namePunctuation) {
    takeImages();
    ovinter::speakPhonemes(phonemes, namePunctuation);
    std::string out;
    for (const auto& image : takeImages()) {
        if (!out.empty()) out += " | ";
        out += describe(image);
    }
    return out;
}

}  // namespace synthtest
