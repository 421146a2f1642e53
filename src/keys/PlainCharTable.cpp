#include "keys/PlainCharTable.h"

namespace varnok {

// Upper-case letters are typed with Shift and live in ShiftedCharTable. "*", "-" and "+" are
// typed with the keypad keys; the main-row "-" key comes last so that a typed "-" keeps the
// keypad key while a stored 0x0C still reads back as the "-" the keyboard types. The keypad
// digits are never reached from a character (the main-row digits come first) but name the
// digit when a keypad code is read.
// clang-format off
const std::array<CharKeyRow, 64> PlainCharTable = {{
    {U'a', 0x1E}, {U'b', 0x30}, {U'c', 0x2E}, {U'd', 0x20}, {U'e', 0x12},
    {U'f', 0x21}, {U'g', 0x22}, {U'h', 0x23}, {U'i', 0x17}, {U'j', 0x24},
    {U'k', 0x25}, {U'l', 0x26}, {U'm', 0x32}, {U'n', 0x31}, {U'o', 0x18},
    {U'p', 0x19}, {U'q', 0x10}, {U'r', 0x13}, {U's', 0x1F}, {U't', 0x14},
    {U'u', 0x16}, {U'v', 0x2F}, {U'w', 0x11}, {U'x', 0x2D}, {U'y', 0x15},
    {U'z', 0x2C},
    {U'1', 0x02}, {U'2', 0x03}, {U'3', 0x04}, {U'4', 0x05}, {U'5', 0x06},
    {U'6', 0x07}, {U'7', 0x08}, {U'8', 0x09}, {U'9', 0x0A}, {U'0', 0x0B},
    {U'\x1B', 0x01},                                            // Esc
    {U'\t', 0x0F},                                              // Tab
    {U' ',  0x39},                                              // Space
    {U'=',  0x0D}, {U'[',  0x1A}, {U']',  0x1B}, {U'\\', 0x2B},
    {U';',  0x27}, {U'\'', 0x28}, {U'`',  0x29},
    {U',',  0x33}, {U'.',  0x34}, {U'/',  0x35},
    {U'*',  0x7A}, {U'-',  0x4A}, {U'+',  0x4E},                // keypad * - +
    {U'1', 0x91}, {U'2', 0x92}, {U'3', 0x93}, {U'4', 0x94}, {U'5', 0x95},   // keypad digits
    {U'6', 0x96}, {U'7', 0x97}, {U'8', 0x98}, {U'9', 0x99}, {U'0', 0x90},
    {U'\x7F', 0x53},                                            // DEL: keypad . (Del)
    {U'-',  0x0C},                                              // main-row -
}};
// clang-format on

}  // namespace varnok
