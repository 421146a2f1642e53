#pragma once

#include <array>
#include <cstdint>

namespace varnok {

// A HID keyboard usage (page 0x07) and the program's key code for the key that sends it. The
// key code is the PC scan code set 1 make byte, with the keypad digits, keypad "*", NumLock
// and Delete moved to codes of their own (see KeyChordCapture).
struct KeyUsageRow {
    std::uint8_t usage;
    std::uint8_t keyCode;
};

// Looked up from the first row in both directions: several key codes and one usage occur
// twice, and the earlier row is the one that counts.
extern const std::array<KeyUsageRow, 113> KeyUsageTable;

}  // namespace varnok
