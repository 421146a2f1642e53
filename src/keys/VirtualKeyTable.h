#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// The keys the capture takes, by Windows virtual-key code: the name a captured key adds to a
// row's text, and the key code a chord written as text gives it, as a standard keyboard sends
// the key. The key code is the set-1 scan byte (without its E0 prefix), except that the keypad
// digits and "*" take their virtual key + 0x30, NumLock takes 0x8A and Delete 0x54. Where two
// keys share a virtual key, the row is the left-hand or main-block key. A key without a row
// is not captured; virtual key 0x03 (Cancel) has none: the capture takes it as the key that
// clears the row.
struct VirtualKeyRow {
    std::uint8_t virtualKey;
    std::uint8_t keyCode;  // kNoKeyCode: no key of a standard keyboard sends it
    std::string_view name;
};

inline constexpr std::uint8_t kNoKeyCode = 0x00;

extern const std::array<VirtualKeyRow, 108> VirtualKeyTable;

}  // namespace varnok
