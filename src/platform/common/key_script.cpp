#include "platform/common/key_script.h"

#include <cctype>
#include <charconv>
#include <map>

#include "platform/cp1252.h"

namespace platform {
namespace {

struct NamedKey {
    std::uint32_t virtualKey;
    std::optional<std::uint8_t> character;
};

const std::map<std::string, NamedKey>& namedKeys() {
    static const std::map<std::string, NamedKey> keys = [] {
        std::map<std::string, NamedKey> k{
            {"enter", {vk::Return, 13}},    {"esc", {vk::Escape, 27}},
            {"space", {vk::Space, 32}},     {"backspace", {vk::Back, 8}},
            {"tab", {vk::Tab, 9}},          {"up", {vk::Up, {}}},
            {"down", {vk::Down, {}}},       {"left", {vk::Left, {}}},
            {"right", {vk::Right, {}}},     {"home", {vk::Home, {}}},
            {"end", {vk::End, {}}},         {"pgup", {vk::Prior, {}}},
            {"pgdn", {vk::Next, {}}},       {"ins", {vk::Insert, {}}},
            {"del", {vk::Delete, {}}},      {"break", {vk::Cancel, {}}},
        };
        for (int i = 1; i <= 12; ++i)
            k["f" + std::to_string(i)] = {vk::F1 + static_cast<std::uint32_t>(i - 1), {}};
        return k;
    }();
    return keys;
}

// The virtual key of a character typed on its own (US positions for the
// punctuation; the Brazilian letters have keys of their own).
std::uint32_t virtualKeyOf(std::uint8_t c, bool& shifted) {
    shifted = false;
    if (c >= 'a' && c <= 'z') return vk::LetterA + (c - 'a');
    if (c >= 'A' && c <= 'Z') {
        shifted = true;
        return vk::LetterA + (c - 'A');
    }
    if (c >= '0' && c <= '9') return vk::Digit0 + (c - '0');
    switch (c) {
        case ' ': return vk::Space;
        case 0xE7: return 0xBA;  // ç
        case 0xC7: shifted = true; return 0xBA;
        case ',': return 0xBC;
        case '.': return 0xBE;
        case '-': return 0xBD;
        case '=': return 0xBB;
        case ';': return 0xBF;
        case '\'': return 0xC0;
        case '[': return 0xDB;
        case ']': return 0xDD;
        case '/': return 0xC1;
        default: shifted = std::ispunct(c) != 0; return 0xFF;
    }
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

std::optional<std::string> single(std::string_view utf8) {
    std::string w = cp1252::fromUtf8(utf8, '\0');
    if (w.size() != 1 || w[0] == '\0') return std::nullopt;
    return w;
}

// A key name with modifiers, e.g. "ctrl+alt+f11", "shift+ins", "alt+a".
std::optional<KeyStroke> parseKey(std::string_view text, std::string& error) {
    std::uint8_t mods = 0;
    std::string rest(text);
    for (;;) {
        auto plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        std::string mod = lower(rest.substr(0, plus));
        if (mod == "ctrl") mods |= ModCtrl;
        else if (mod == "alt") mods |= ModAlt;
        else if (mod == "shift") mods |= ModShift;
        else {
            error = "modificador desconhecido: " + mod;
            return std::nullopt;
        }
        rest = rest.substr(plus + 1);
    }
    std::string name = lower(rest);
    if (auto it = namedKeys().find(name); it != namedKeys().end())
        return strokeFor(it->second.virtualKey, mods, it->second.character);
    if (auto ch = single(rest)) {
        bool shifted = false;
        auto c = static_cast<std::uint8_t>((*ch)[0]);
        std::uint32_t v = virtualKeyOf(c, shifted);
        if (shifted) mods |= ModShift;
        return strokeFor(v, mods, c);
    }
    error = "tecla desconhecida: " + std::string(text);
    return std::nullopt;
}

}  // namespace

KeyStroke strokeFor(std::uint32_t virtualKey, std::uint8_t modifiers,
                    std::optional<std::uint8_t> plainCharacter) {
    KeyStroke s;
    s.virtualKey = virtualKey;
    s.modifiers = modifiers;
    const bool ctrl = modifiers & ModCtrl, alt = modifiers & ModAlt;
    s.systemKey = (alt && !ctrl) || virtualKey == vk::F10;
    if (alt || s.systemKey || !plainCharacter) return s;  // Alt and AltGr combinations: no character
    std::uint8_t c = *plainCharacter;
    if (ctrl) {
        if (virtualKey >= vk::LetterA && virtualKey <= vk::LetterA + 25)
            s.character = static_cast<std::uint8_t>(virtualKey - vk::LetterA + 1);
        else if (virtualKey == vk::Return) s.character = 10;
        else if (virtualKey == vk::Back) s.character = 127;
        else if (virtualKey == vk::Escape || virtualKey == vk::Tab || virtualKey == vk::Space)
            s.character = c;
        return s;
    }
    s.character = c;
    return s;
}

std::optional<std::vector<ScriptAction>> parseKeyScript(std::string_view script,
                                                        std::string& error) {
    std::vector<ScriptAction> actions;
    std::size_t i = 0;
    while (i < script.size()) {
        if (script[i] == ' ' || script[i] == '\t' || script[i] == '\n' || script[i] == '\r') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < script.size() && script[end] != ' ' && script[end] != '\t' &&
               script[end] != '\n' && script[end] != '\r')
            ++end;
        std::string_view token = script.substr(i, end - i);
        i = end;
        ScriptAction action;
        if (token.size() > 2 && token.front() == '<' && token.back() == '>') {
            std::string_view inner = token.substr(1, token.size() - 2);
            std::string name = lower(inner);
            if (name == "close") {
                action.kind = ScriptAction::Kind::Close;
            } else if (name == "quit") {
                action.kind = ScriptAction::Kind::Quit;
            } else if (name.rfind("wait:", 0) == 0) {
                action.kind = ScriptAction::Kind::Wait;
                auto digits = name.substr(5);
                auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(),
                                               action.waitMs);
                if (ec != std::errc() || p != digits.data() + digits.size()) {
                    error = "espera inválida: " + std::string(token);
                    return std::nullopt;
                }
            } else if (name.rfind("chord:", 0) == 0) {
                action.kind = ScriptAction::Kind::Chord;
                std::string keys(inner.substr(6));
                std::size_t start = 0;
                while (start <= keys.size()) {
                    auto plus = keys.find('+', start);
                    std::string part =
                        keys.substr(start, plus == std::string::npos ? std::string::npos
                                                                     : plus - start);
                    auto stroke = parseKey(part, error);
                    if (!stroke) return std::nullopt;
                    action.strokes.push_back(*stroke);
                    if (plus == std::string::npos) break;
                    start = plus + 1;
                }
            } else {
                auto stroke = parseKey(inner, error);
                if (!stroke) return std::nullopt;
                action.strokes.push_back(*stroke);
            }
        } else {
            auto stroke = parseKey(token, error);
            if (!stroke) return std::nullopt;
            action.strokes.push_back(*stroke);
        }
        actions.push_back(std::move(action));
    }
    return actions;
}

void KeyScriptPlayer::load(std::vector<ScriptAction> actions, std::uint64_t now) {
    actions_ = std::move(actions);
    next_ = 0;
    loaded_ = true;
    due_.reset();
    skipWaits(now);
}

void KeyScriptPlayer::skipWaits(std::uint64_t now) {
    std::uint64_t total = 0;
    bool waited = false;
    while (next_ < actions_.size() && actions_[next_].kind == ScriptAction::Kind::Wait) {
        total += actions_[next_].waitMs;
        waited = true;
        ++next_;
    }
    if (!waited) return;
    // A script that ends with a wait closes the window when the wait is over.
    if (next_ == actions_.size()) actions_.push_back(ScriptAction{ScriptAction::Kind::Close, {}, 0});
    due_ = now + total;
}

ScriptAction KeyScriptPlayer::take(std::uint64_t now) {
    ScriptAction action = actions_[next_++];
    due_.reset();
    skipWaits(now);
    return action;
}

}  // namespace platform
