#pragma once

#include <cstdint>
#include <string>

#include "keys/KeySlotsModel.h"

namespace varnok {

// Why a String row is marked: it shows less than the slot was given (shortfall), or the
// keyboard does not type all of the text it shows. Empty when the keyboard types what the row
// shows and nothing more.
std::string StringRowMarkText(const std::string& shown,
                              const std::optional<StringShortfall>& shortfall,
                              std::int32_t language);

}  // namespace varnok
