// The two dictionary files of the voice: the rewrite rules and the
// exceptions. Their formats are the voice author's interface, so a malformed
// line is read the way the format reads it; only rules that could never be
// chosen are left out.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "diphone/ovtradut.h"
#include "diphone/ovtradut_state.h"
#include "platform/platform.h"

namespace ovtradut {
namespace detail {

std::vector<std::string_view> splitLines(std::string_view contents) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(contents.substr(start));
            break;
        }
        lines.push_back(contents.substr(start, end - start));
        start = end + 1;
        if (contents[end] == '\r' && start < contents.size() && contents[start] == '\n') ++start;
    }
    return lines;
}

bool readSystemFile(const std::string& path, std::string& contents) {
    const std::string native = platform::nativePath(path);
    std::error_code ec;
    if (std::filesystem::is_directory(native, ec)) return false;
    std::ifstream in(native, std::ios::binary);
    if (!in) return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace detail

using namespace detail;

// left(letters)right=output|comment, split at the first "(", the first ")"
// after it, the first "=" after that and the first "|" after that. A missing
// delimiter leaves the field it opens, and all later ones, empty.
RewriteRule parseRuleLine(std::string_view line) {
    RewriteRule r;
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos) {
        r.left.assign(line);
        return r;
    }
    r.left.assign(line.substr(0, open));
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) {
        r.letters.assign(line.substr(open + 1));
        return r;
    }
    r.letters.assign(line.substr(open + 1, close - open - 1));
    const std::size_t equals = line.find('=', close + 1);
    if (equals == std::string_view::npos) {
        r.right.assign(line.substr(close + 1));
        return r;
    }
    r.right.assign(line.substr(close + 1, equals - close - 1));
    const std::size_t bar = line.find('|', equals + 1);
    r.output.assign(bar == std::string_view::npos ? line.substr(equals + 1)
                                                  : line.substr(equals + 1, bar - equals - 1));
    return r;
}

void loadRulesText(std::string_view contents) {
    releaseRules();
    for (std::string_view line : splitLines(contents)) {
        RewriteRule r = parseRuleLine(line);
        // A rule without letters would match everywhere and consume nothing;
        // one whose letters start outside the lists could never be reached.
        // Blank lines and lines without "(" are of the first kind.
        if (r.letters.empty()) continue;
        const int first = static_cast<unsigned char>(r.letters[0]);
        if (first < kFirstListed || first > kLastListed) continue;
        tradut().ruleLists[static_cast<std::size_t>(first - kFirstListed)].push_back(r);
    }
}

bool loadRules(const std::string& path) {
    std::string contents;
    if (!readSystemFile(path, contents)) {
        releaseRules();
        return false;
    }
    loadRulesText(contents);
    return true;
}

void releaseRules() {
    for (auto& list : tradut().ruleLists) list = {};
}

std::size_t ruleCount() {
    std::size_t n = 0;
    for (const auto& list : tradut().ruleLists) n += list.size();
    return n;
}

// key=value|comment. A line is read up to its first 255 characters. One
// without "=" is kept as the key line + "|" with an empty value, an entry no
// word can match; its key keeps at most 254 characters of the line so that it
// stays within the 255 of a key (the format's own reading appends "|=|" to the
// line, which no longer fits beyond 252 characters).
void loadExceptionsText(std::string_view contents) {
    auto& table = tradut().exceptions;
    table.clear();
    const std::vector<std::string_view> lines = splitLines(contents);
    table.reserve(std::min(lines.size(), kMaxExceptions));
    for (std::string_view raw : lines) {
        if (table.size() >= kMaxExceptions) break;
        const std::string_view line = raw.substr(0, kMaxExceptionText);
        if (line.empty()) continue;
        ExceptionEntry e;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            e.key = std::string(line.substr(0, kMaxExceptionText - 1)) + "|";
        } else {
            e.key = line.substr(0, equals);
            const std::size_t bar = line.find('|', equals + 1);
            e.value = bar == std::string_view::npos ? line.substr(equals + 1)
                                                    : line.substr(equals + 1, bar - equals - 1);
        }
        table.push_back(std::move(e));
    }
    std::sort(table.begin(), table.end(),
              [](const ExceptionEntry& a, const ExceptionEntry& b) { return a.key < b.key; });
}

bool loadExceptions(const std::string& path) {
    std::string contents;
    if (!readSystemFile(path, contents)) {
        tradut().exceptions.clear();
        return false;
    }
    loadExceptionsText(contents);
    return true;
}

std::size_t exceptionCount() { return tradut().exceptions.size(); }

}  // namespace ovtradut
