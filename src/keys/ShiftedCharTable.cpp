#include "keys/ShiftedCharTable.h"

namespace varnok {

// "*" is missing from the digit row on purpose: it is typed with the keypad key instead.
// clang-format off
const std::array<CharKeyRow, 19> ShiftedCharTable = {{
    {U'{', 0x1A}, {U'}', 0x1B}, {U'|', 0x2B},                   // [ ] backslash
    {U':', 0x27}, {U'"', 0x28}, {U'~', 0x29},                   // ; ' `
    {U'<', 0x33}, {U'>', 0x34}, {U'?', 0x35},                   // , . /
    {U'!', 0x02}, {U'@', 0x03}, {U'#', 0x04}, {U'$', 0x05}, {U'%', 0x06},   // 1 2 3 4 5
    {U'^', 0x07}, {U'&', 0x08}, {U'(', 0x0A}, {U')', 0x0B},                 // 6 7 9 0
    {U'_', 0x0C},                                               // -
}};
// clang-format on

}  // namespace varnok
