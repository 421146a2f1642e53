#pragma once

#include <cstdint>
#include <string>

#include "keys/KeySlotsModel.h"
#include "ui/KeyboardPresence.h"

namespace varnok {

// The status line: whether the keyboard is there and which interface it is, or why it cannot be
// reached (the platform's advice, as under the "not connected" message).
std::string PresenceText(const KeyboardPresence& presence, std::int32_t language);

// Why a String row is marked: it shows less than the slot was given (shortfall), or the
// keyboard does not type all of the text it shows. Empty when the keyboard types what the row
// shows and nothing more.
std::string StringRowMarkText(const std::string& shown,
                              const std::optional<StringShortfall>& shortfall,
                              std::int32_t language);

}  // namespace varnok
