#pragma once

#include <array>
#include <string>

namespace varnok {

// What the value field of each key slot 0..6 shows: captured key names, a typed string, a
// command item's name or the names read back from the keyboard. Owned by the main window.
using RowTexts = std::array<std::string, 7>;

}  // namespace varnok
