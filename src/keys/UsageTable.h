#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// A HID keyboard usage (page 0x07), the program's key code for the key that sends it, and
// the name earlier versions showed for it after a read-back (empty: none). The key code is
// the PC scan code set 1 make byte, with the keypad digits, keypad "*", NumLock and Delete
// moved to codes of their own (see KeyChordCapture); 0x00 where the key has no scan byte.
// A read-back now names a key as the capture does (NameKeyReport); these names remain for
// chords written with them and for the keys the capture does not take ("Power").
struct UsageRow {
    std::uint8_t usage;
    std::uint8_t keyCode;
    std::string_view name;
};

// Looked up from the first row in every direction: several key codes and names and one usage
// occur twice, and the earlier row is the one that counts. A usage without a row shows
// nothing.
extern const std::array<UsageRow, 113> UsageTable;

}  // namespace varnok
