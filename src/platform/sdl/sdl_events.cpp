// The message queue: SDL events translated into the messages Windows would
// deliver to the console, the driver's own posted messages, and scripted keys
// put on SDL's queue as real input so that they take the same path.
#include <algorithm>
#include <cstring>

#include "platform/cp1252.h"
#include "platform/sdl/sdl_driver.h"
#include "platform/sdl/sdl_keys.h"

namespace platform::sdl {
namespace {

// A wait ends at least this often, so that the common part sees signals.
constexpr std::uint64_t kLongestWaitMs = 50;

Message keyMessage(MessageKind kind, std::uint32_t key, std::uint8_t modifiers) {
    Message message;
    message.kind = kind;
    message.key = key;
    message.modifiers = modifiers;
    return message;
}

Message pointMessage(MessageKind kind, std::int32_t x, std::int32_t y) {
    Message message;
    message.kind = kind;
    message.x = x;
    message.y = y;
    return message;
}

Message plainMessage(MessageKind kind) {
    Message message;
    message.kind = kind;
    return message;
}

bool isPrintable(std::uint8_t character) { return character >= 32 && character != 127; }

}  // namespace

void SdlDriver::post(const Message& message) {
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        queue_.push_back(message);
    }
    // One wake-up event at a time is enough to end a wait.
    if (!started_ || wakePending_.exchange(true)) return;
    SDL_Event wake{};
    wake.type = wakeEvent_;
    if (SDL_PushEvent(&wake) != 1) wakePending_ = false;
}

void SdlDriver::append(const Message& message) {
    std::lock_guard<std::mutex> lock(queueMutex_);
    queue_.push_back(message);
}

void SdlDriver::pumpEvents() {
    if (!started_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) translate(event);
}

bool SdlDriver::peek(Message& message) {
    pumpEvents();
    std::lock_guard<std::mutex> lock(queueMutex_);
    if (queue_.empty()) return false;
    message = queue_.front();
    queue_.pop_front();
    return true;
}

bool SdlDriver::wait(std::optional<std::uint64_t> deadlineMs) {
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        if (!queue_.empty()) return true;
    }
    std::uint64_t timeout = kLongestWaitMs;
    if (deadlineMs) {
        const std::uint64_t current = now();
        if (*deadlineMs <= current) return true;
        timeout = std::min(timeout, *deadlineMs - current);
    }
    if (!started_) {
        SDL_Delay(static_cast<Uint32>(timeout));
        return true;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(timeout))) translate(event);
    return true;
}

void SdlDriver::translate(const SDL_Event& event) {
    if (event.type == wakeEvent_) {
        wakePending_ = false;
        return;
    }
    if (event.type == scriptedCharacterEvent_) {
        if (event.user.code < 0)
            scriptedCharacter_.emplace(std::nullopt);
        else
            scriptedCharacter_.emplace(static_cast<std::uint8_t>(event.user.code));
        return;
    }
    switch (event.type) {
        case SDL_KEYDOWN: translateKeyDown(event.key); break;
        case SDL_KEYUP:
            textModifiers_ = modifiersFromSdl(event.key.keysym.mod);
            append(keyMessage(MessageKind::KeyUp, virtualKeyFromSdl(event.key.keysym),
                              textModifiers_));
            break;
        case SDL_TEXTINPUT:
            if (!textAllowed(textModifiers_)) break;
            for (char character : windows1252FromText(event.text.text))
                append(keyMessage(MessageKind::Char, static_cast<std::uint8_t>(character),
                                  textModifiers_));
            break;
        case SDL_MOUSEMOTION:
            append(pointMessage(MessageKind::MouseMove, event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_RIGHT) break;
            append(pointMessage(event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::RightButtonDown
                                                                  : MessageKind::RightButtonUp,
                                event.button.x, event.button.y));
            break;
        case SDL_WINDOWEVENT: translateWindowEvent(event.window); break;
        case SDL_QUIT: append(plainMessage(MessageKind::Close)); break;
        case SDL_RENDER_TARGETS_RESET: {
            // The canvas lost its pixels: the window must draw itself again.
            Message paint = plainMessage(MessageKind::Paint);
            paint.width = width_;
            paint.height = height_;
            append(paint);
            break;
        }
        default: break;
    }
}

void SdlDriver::translateKeyDown(const SDL_KeyboardEvent& key) {
    const std::uint8_t modifiers = modifiersFromSdl(key.keysym.mod);
    textModifiers_ = modifiers;
    const std::uint32_t virtualKey = virtualKeyFromSdl(key.keysym);
    const bool system = isSystemKey(virtualKey, modifiers);
    append(
        keyMessage(system ? MessageKind::SysKeyDown : MessageKind::KeyDown, virtualKey, modifiers));
    std::optional<std::uint8_t> character;
    if (!system) character = synthesizedCharacter(virtualKey, modifiers);
    if (scriptedCharacter_) {
        character = *scriptedCharacter_;
        scriptedCharacter_.reset();
    }
    if (character) append(keyMessage(MessageKind::Char, *character, modifiers));
}

void SdlDriver::translateWindowEvent(const SDL_WindowEvent& window) {
    if (!window_ || window.windowID != SDL_GetWindowID(window_)) return;
    switch (window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: append(plainMessage(MessageKind::SetFocus)); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: append(plainMessage(MessageKind::KillFocus)); break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED: present(); break;
        case SDL_WINDOWEVENT_CLOSE: append(plainMessage(MessageKind::Close)); break;
        default: break;
    }
}

// ------------------------------------------------------------ scripted input

void SdlDriver::deliver(const ScriptAction& action) {
    switch (action.kind) {
        case ScriptAction::Kind::Keys:
            for (const KeyStroke& stroke : action.strokes) {
                pushStrokeDown(stroke);
                pushStrokeUp(stroke);
            }
            break;
        case ScriptAction::Kind::Chord:
            for (const KeyStroke& stroke : action.strokes) pushStrokeDown(stroke);
            for (const KeyStroke& stroke : action.strokes) pushStrokeUp(stroke);
            break;
        case ScriptAction::Kind::Close: pushClose(); break;
        case ScriptAction::Kind::Quit:
            // Behind whatever input is already on SDL's queue.
            pumpEvents();
            append(plainMessage(MessageKind::Quit));
            break;
        case ScriptAction::Kind::Wait: break;
    }
}

// A key event of the physical key, as SDL would report it to the window.
SDL_Event SdlDriver::keyEvent(Uint32 type, const PhysicalKey& physical, std::uint8_t modifiers) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.windowID = window_ ? SDL_GetWindowID(window_) : 0;
    event.key.keysym.scancode = physical.scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(physical.scancode);
    event.key.keysym.mod = static_cast<Uint16>(sdlModFromModifiers(modifiers) | physical.extraMod);
    return event;
}

void SdlDriver::pushStrokeDown(const KeyStroke& stroke) {
    const auto physical = physicalKeyFor(stroke.virtualKey, stroke.modifiers);
    if (!physical || !started_) {
        // No key of SDL's makes this virtual key: hand the messages over as
        // they would come, behind the input already queued.
        pumpEvents();
        const bool system = isSystemKey(stroke.virtualKey, stroke.modifiers);
        textModifiers_ = stroke.modifiers;
        append(keyMessage(system ? MessageKind::SysKeyDown : MessageKind::KeyDown,
                          stroke.virtualKey, stroke.modifiers));
        if (stroke.character)
            append(keyMessage(MessageKind::Char, *stroke.character, stroke.modifiers));
        return;
    }
    SDL_Event down = keyEvent(SDL_KEYDOWN, *physical, stroke.modifiers);

    // The character normally comes from the translation: typed text for a
    // printable one, synthesis for a control character. Should the key script
    // expect another one, it says so ahead of the key.
    const std::uint8_t modifiers = modifiersFromSdl(down.key.keysym.mod);
    const bool system = isSystemKey(stroke.virtualKey, modifiers);
    const bool typed =
        stroke.character && isPrintable(*stroke.character) && !system && textAllowed(modifiers);
    std::optional<std::uint8_t> made;
    if (typed)
        made = stroke.character;
    else if (!system)
        made = synthesizedCharacter(stroke.virtualKey, modifiers);
    if (made != stroke.character) {
        SDL_Event expected{};
        expected.type = scriptedCharacterEvent_;
        expected.user.code = stroke.character ? *stroke.character : -1;
        SDL_PushEvent(&expected);
    }

    SDL_PushEvent(&down);
    if (typed) {
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.windowID = down.key.windowID;
        const std::string utf8 =
            cp1252::toUtf8(std::string(1, static_cast<char>(*stroke.character)));
        std::memcpy(text.text.text, utf8.data(), std::min(utf8.size(), sizeof text.text.text - 1));
        SDL_PushEvent(&text);
    }
}

void SdlDriver::pushStrokeUp(const KeyStroke& stroke) {
    const auto physical = physicalKeyFor(stroke.virtualKey, stroke.modifiers);
    if (!physical || !started_) {
        pumpEvents();
        append(keyMessage(MessageKind::KeyUp, stroke.virtualKey, stroke.modifiers));
        return;
    }
    SDL_Event up = keyEvent(SDL_KEYUP, *physical, stroke.modifiers);
    SDL_PushEvent(&up);
}

void SdlDriver::pushClose() {
    SDL_Event close{};
    if (window_) {
        close.type = SDL_WINDOWEVENT;
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        close.window.windowID = SDL_GetWindowID(window_);
    } else {
        close.type = SDL_QUIT;
    }
    if (!started_ || SDL_PushEvent(&close) != 1) {
        pumpEvents();
        append(plainMessage(MessageKind::Close));
    }
}

}  // namespace platform::sdl
