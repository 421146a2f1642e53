#pragma once

#include <array>
#include <cstdint>

namespace varnok {

// The key code the capture gives a key it names, by the key's Windows virtual-key code, as a
// standard keyboard sends it: the set-1 scan byte (without its E0 prefix), except that the
// keypad digits and "*" take their virtual key + 0x30, NumLock takes 0x8A and Delete 0x54.
// Where two keys share a virtual key, the row is the left-hand or main-block key. Lets a
// chord written as text become the key report the capture would record.
struct CapturedKeyCodeRow {
    std::uint8_t virtualKey;
    std::uint8_t keyCode;
};

extern const std::array<CapturedKeyCodeRow, 107> CapturedKeyCodeTable;

}  // namespace varnok
