// The key script of a scripted run (ORALIS_KEYS): tokens separated by blanks.
// A single character is that key; named keys stand in angle brackets, with
// modifiers joined by "+"; <chord:f+d> presses keys together; <close>,
// <quit> and <wait:N> are actions of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/driver.h"

namespace platform {

// Parses the whole script (UTF-8). Returns nullopt and sets `error` when a
// token is not understood, so that a mistyped script fails loudly.
std::optional<std::vector<ScriptAction>> parseKeyScript(std::string_view script,
                                                        std::string& error);

// The stroke of one key as the system reports it: the character message that
// the key makes with these modifiers (none for Alt combinations, function and
// cursor keys), and whether it is a system key.
KeyStroke strokeFor(std::uint32_t virtualKey, std::uint8_t modifiers,
                    std::optional<std::uint8_t> plainCharacter);

// Plays a parsed script: which action comes next and when it is due.
class KeyScriptPlayer {
public:
    void load(std::vector<ScriptAction> actions, std::uint64_t now);
    bool active() const { return loaded_; }
    bool finished() const { return next_ >= actions_.size(); }
    // The time at which the next action must be delivered whatever the
    // program does (after a <wait:N>), if any.
    std::optional<std::uint64_t> due() const { return due_; }
    // Takes the next action (never a Wait) and notes when the one after it
    // falls due.
    ScriptAction take(std::uint64_t now);

private:
    void skipWaits(std::uint64_t now);

    std::vector<ScriptAction> actions_;
    std::size_t next_ = 0;
    bool loaded_ = false;
    std::optional<std::uint64_t> due_;
};

}  // namespace platform
