#pragma once

#include <array>
#include <string_view>

namespace varnok {

// Key slot n is named by entry n; the name is the slot's key in the slot map. Only slots 0..6
// exist on the keyboard; "key7".."key9" name no slot.
extern const std::array<std::string_view, 10> SlotNames;

}  // namespace varnok
