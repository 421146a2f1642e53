#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "device/HidPlatform.h"
#include "device/KeyboardLink.h"

namespace varnok {

// Whether the keyboard is there, as the window's status line tells it.
struct KeyboardPresence {
    enum class State {
        Unknown,    // not looked for yet
        Connected,  // a save would reach it
        Absent,     // no keyboard found
        Refused,    // there, but this user may not open it
    };
    State state = State::Unknown;
    // Connected: the interface and the collection through which it is the keyboard.
    std::string interfacePath;
    KeyboardLink::QualifyingCollection collection;
    // Refused: the platform's words on why and what fixes it, in the language asked for.
    std::string advice;
};

// What the platform can say when no keyboard was found: why it cannot be reached and how to fix
// it, in the given language; empty when it knows nothing more.
using ConnectionAdvice = std::function<std::string(std::int32_t language)>;

// What a link's last search found: Connected when it took a keyboard, else Unknown.
KeyboardPresence PresenceOfLink(const KeyboardLink& link);

// Looks for the keyboard as a save does and lets it go again; when none is found, asks advice
// (may be empty) in language. Device work: never on the window's thread.
KeyboardPresence LookForKeyboard(HidPlatform& hid, const ConnectionAdvice& advice,
                                 std::int32_t language);

}  // namespace varnok
