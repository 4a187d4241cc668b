// The voice database: the folders, the load and release of the two voice
// files and of the translator's dictionaries, and the look-ups of a diphone
// in the index and of the samples in a character sound file.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <istream>
#include <iterator>

#include "audio/wave_format.h"
#include "diphone/ovinter_state.h"
#include "diphone/ovtradut.h"
#include "platform/platform.h"

namespace ovinter {
namespace detail {

VoiceState& voice() {
    static VoiceState s;
    return s;
}

}  // namespace detail

using detail::voice;

namespace {

constexpr std::size_t kProfileCapacity = 80;  // values are cut to 79 characters

// A folder of [TRADUTOR], read from the Windows folder's ORALIS.INI only.
std::string readFolder(const char* key, const char* fallback) {
    return platform::readProfileString("TRADUTOR", key, fallback, "ORALIS.INI", kProfileCapacity);
}

std::string withBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

// The folder is only tested for existence: nothing here changes the current
// folder, so the load leaves it as it found it.
bool folderExists(const std::string& folder) {
    if (folder.empty()) return false;
    std::error_code error;
    return std::filesystem::is_directory(platform::nativePath(folder), error);
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(platform::nativePath(path), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Opens the letters folder, the diphone folder, the index and the sample
// file, in that order, stopping at the first that is missing.
bool openVoiceFiles() {
    auto& s = voice();
    s.index.clear();
    s.recordCount = 0;

    const std::string letters = readFolder("dirLetras", "c:\\sonare\\som\\letras");
    if (!folderExists(letters)) return false;
    s.lettersFolder = withBackslash(letters);

    const std::string diphones = readFolder("DIRDIFONES", "c:\\sonare\\som\\difones");
    if (!folderExists(diphones)) return false;
    s.diphoneFolder = withBackslash(diphones);

    const std::string stem = s.diphoneFolder + s.voiceName;
    if (!readWholeFile(stem + ".IND", s.index)) return false;
    s.recordCount = s.index.size() / detail::kRecordSize;

    s.samples.close();
    s.samples.clear();
    s.samples.open(platform::nativePath(stem + ".DIF"), std::ios::binary);
    if (!s.samples) return false;
    s.samples.seekg(0, std::ios::end);
    const auto size = s.samples.tellg();
    s.samplesSize = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    s.samples.seekg(0);
    return true;
}

// A record of the index, decoded from its 15 bytes. The declared name
// length is kept as it is (a damaged record may claim more than 8), but only
// the 8 bytes of the name field are ever read.
struct Record {
    std::size_t declaredLength;
    std::string_view name;
    const std::uint8_t* bytes;
};

Record recordAt(std::size_t i) {
    const std::uint8_t* r = voice().index.data() + i * detail::kRecordSize;
    const std::size_t declared = r[0];
    const std::size_t stored = std::min(declared, detail::kLongestName);
    return {declared, std::string_view(reinterpret_cast<const char*>(r + 1), stored), r};
}

// Order of length-prefixed strings: byte by byte over the shorter name, then
// the shorter first. A record that claims more than 8 characters sorts by its
// claimed length, so it can equal no name of 8 characters or fewer.
int compareWithRecord(std::string_view name, const Record& record) {
    const std::size_t common = std::min(name.size(), record.name.size());
    if (common > 0)
        if (const int c = std::memcmp(name.data(), record.name.data(), common); c != 0) return c;
    if (name.size() == record.declaredLength) return 0;
    return name.size() < record.declaredLength ? -1 : 1;
}

bool skipBytes(std::istream& file, std::uint32_t count) {
    file.ignore(static_cast<std::streamsize>(count));
    return static_cast<std::uint64_t>(file.gcount()) == count;
}

bool readChunkHeader(std::istream& file, std::uint8_t (&header)[8]) {
    file.read(reinterpret_cast<char*>(header), sizeof header);
    return file.gcount() == sizeof header;
}

}  // namespace

void startUp() {
    auto& s = voice();
    s.samples.close();
    s.voiceName = "DIFONES2";
    s.lettersFolder.clear();
    s.diphoneFolder.clear();
    s.index.clear();
    s.recordCount = 0;
    s.samplesSize = 0;
    s.image.clear();
    s.imageLength = detail::kHeaderSize;
    s.listener = nullptr;
    s.noise.seed(platform::clockSeed());
    setDiphoneSettings(400, 0, 100);
}

void setVoiceName(std::string_view name) { voice().voiceName = std::string(name.substr(0, 8)); }
const std::string& voiceName() { return voice().voiceName; }
const std::string& voiceLettersFolder() { return voice().lettersFolder; }
const std::string& voiceDiphoneFolder() { return voice().diphoneFolder; }

int loadDiphoneVoice() {
    auto& s = voice();
    if (!openVoiceFiles()) return 1;
    if (!ovtradut::loadRules(s.diphoneFolder + "regras.rgr")) return 2;
    if (!ovtradut::loadExceptions(s.diphoneFolder + "portug.exc")) return 2;
    s.image.assign(kImageSize, 0);
    s.imageLength = detail::kHeaderSize;
    return 0;
}

void releaseDiphoneVoice() {
    auto& s = voice();
    s.image.clear();
    s.imageLength = detail::kHeaderSize;
    ovtradut::releaseRules();
    s.samples.close();
    s.samples.clear();
    s.samplesSize = 0;
    s.index.clear();
    s.recordCount = 0;
}

bool voiceLoaded() { return !voice().image.empty(); }

void setDiphoneSettings(int trimLength, int minimumKept, int wordGap) {
    auto& s = voice();
    s.trimLength = trimLength;
    s.minimumKept = minimumKept;
    s.wordGap = wordGap;
}

std::size_t diphoneCount() { return voice().recordCount; }

std::optional<DiphoneIndexEntry> findDiphone(std::string_view name) {
    std::string key(name.substr(0, detail::kLongestLookupName));
    if (key.size() > detail::kLongestName) return std::nullopt;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');

    long long low = 0, high = static_cast<long long>(voice().recordCount) - 1;
    while (low <= high) {
        const long long mid = (low + high) / 2;
        const Record record = recordAt(static_cast<std::size_t>(mid));
        const int order = compareWithRecord(key, record);
        if (order == 0) {
            const std::uint8_t* b = record.bytes;
            return DiphoneIndexEntry{std::string(record.name), ovwav::readLittle16(b + 9),
                                     static_cast<std::int32_t>(ovwav::readLittle32(b + 11))};
        }
        if (order > 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return std::nullopt;
}

std::uint32_t findDataChunk(std::istream& file) {
    std::uint8_t riff[12];
    file.read(reinterpret_cast<char*>(riff), sizeof riff);
    if (file.gcount() != sizeof riff || !ovwav::sameIdentifierIgnoringCase(riff, "RIFF")) return 0;

    std::uint8_t header[8];
    if (!readChunkHeader(file, header) || !ovwav::sameIdentifierIgnoringCase(header, "fmt "))
        return 0;
    if (!skipBytes(file, ovwav::readLittle32(header + 4))) return 0;

    while (readChunkHeader(file, header)) {
        const std::uint32_t length = ovwav::readLittle32(header + 4);
        if (ovwav::sameIdentifierIgnoringCase(header, "data")) return length;
        if (!skipBytes(file, length)) return 0;
    }
    return 0;
}

void setImageListener(ImageListener listener) { voice().listener = listener; }

}  // namespace ovinter
