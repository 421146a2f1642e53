#include "keys/ShiftedCharTable.h"

namespace varnok {

// "*" is missing from the digit row on purpose: it is typed with the keypad key instead.
// Capital letters are the letter keys with Shift held, as the keyboard types them with Caps
// Lock off.
// clang-format off
const std::array<CharKeyRow, 45> ShiftedCharTable = {{
    {U'{', 0x1A}, {U'}', 0x1B}, {U'|', 0x2B},                   // [ ] backslash
    {U':', 0x27}, {U'"', 0x28}, {U'~', 0x29},                   // ; ' `
    {U'<', 0x33}, {U'>', 0x34}, {U'?', 0x35},                   // , . /
    {U'!', 0x02}, {U'@', 0x03}, {U'#', 0x04}, {U'$', 0x05}, {U'%', 0x06},   // 1 2 3 4 5
    {U'^', 0x07}, {U'&', 0x08}, {U'(', 0x0A}, {U')', 0x0B},                 // 6 7 9 0
    {U'_', 0x0C},                                               // -
    {U'A', 0x1E}, {U'B', 0x30}, {U'C', 0x2E}, {U'D', 0x20}, {U'E', 0x12},
    {U'F', 0x21}, {U'G', 0x22}, {U'H', 0x23}, {U'I', 0x17}, {U'J', 0x24},
    {U'K', 0x25}, {U'L', 0x26}, {U'M', 0x32}, {U'N', 0x31}, {U'O', 0x18},
    {U'P', 0x19}, {U'Q', 0x10}, {U'R', 0x13}, {U'S', 0x1F}, {U'T', 0x14},
    {U'U', 0x16}, {U'V', 0x2F}, {U'W', 0x11}, {U'X', 0x2D}, {U'Y', 0x15},
    {U'Z', 0x2C},
}};
// clang-format on

}  // namespace varnok
