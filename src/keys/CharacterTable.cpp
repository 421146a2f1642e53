#include "keys/CharacterTable.h"

namespace varnok {

// Capital letters are the letter keys with Shift held, as the keyboard types them with Caps
// Lock off.
// clang-format off
const std::array<CharacterRow, 64> CharacterTable = {{
    // key code  plain     shifted
    {0x1E,       U'a',     U'A'},
    {0x30,       U'b',     U'B'},
    {0x2E,       U'c',     U'C'},
    {0x20,       U'd',     U'D'},
    {0x12,       U'e',     U'E'},
    {0x21,       U'f',     U'F'},
    {0x22,       U'g',     U'G'},
    {0x23,       U'h',     U'H'},
    {0x17,       U'i',     U'I'},
    {0x24,       U'j',     U'J'},
    {0x25,       U'k',     U'K'},
    {0x26,       U'l',     U'L'},
    {0x32,       U'm',     U'M'},
    {0x31,       U'n',     U'N'},
    {0x18,       U'o',     U'O'},
    {0x19,       U'p',     U'P'},
    {0x10,       U'q',     U'Q'},
    {0x13,       U'r',     U'R'},
    {0x1F,       U's',     U'S'},
    {0x14,       U't',     U'T'},
    {0x16,       U'u',     U'U'},
    {0x2F,       U'v',     U'V'},
    {0x11,       U'w',     U'W'},
    {0x2D,       U'x',     U'X'},
    {0x15,       U'y',     U'Y'},
    {0x2C,       U'z',     U'Z'},

    {0x02,       U'1',     U'!'},
    {0x03,       U'2',     U'@'},
    {0x04,       U'3',     U'#'},
    {0x05,       U'4',     U'$'},
    {0x06,       U'5',     U'%'},
    {0x07,       U'6',     U'^'},
    {0x08,       U'7',     U'&'},
    {0x09,       U'8',     kNoCharacter},   // "*" is typed with the keypad key
    {0x0A,       U'9',     U'('},
    {0x0B,       U'0',     U')'},

    {0x01,       U'\x1B',  kNoCharacter},   // Esc
    {0x0F,       U'\t',    kNoCharacter},   // Tab
    {0x39,       U' ',     kNoCharacter},   // Space
    {0x0D,       U'=',     kNoCharacter},   // "+" is typed with the keypad key
    {0x1A,       U'[',     U'{'},
    {0x1B,       U']',     U'}'},
    {0x2B,       U'\\',    U'|'},           // backslash
    {0x27,       U';',     U':'},
    {0x28,       U'\'',    U'"'},
    {0x29,       U'`',     U'~'},
    {0x33,       U',',     U'<'},
    {0x34,       U'.',     U'>'},
    {0x35,       U'/',     U'?'},

    {0x7A,       U'*',     kNoCharacter},   // keypad *
    {0x4A,       U'-',     kNoCharacter},   // keypad -: a typed "-" takes it
    {0x4E,       U'+',     kNoCharacter},   // keypad +

    {0x91,       U'1',     kNoCharacter},   // keypad: read back only
    {0x92,       U'2',     kNoCharacter},
    {0x93,       U'3',     kNoCharacter},
    {0x94,       U'4',     kNoCharacter},
    {0x95,       U'5',     kNoCharacter},
    {0x96,       U'6',     kNoCharacter},
    {0x97,       U'7',     kNoCharacter},
    {0x98,       U'8',     kNoCharacter},
    {0x99,       U'9',     kNoCharacter},
    {0x90,       U'0',     kNoCharacter},

    {0x53,       U'\x7F',  kNoCharacter},   // DEL: keypad . (Del)
    {0x0C,       U'-',     U'_'},           // main-row -: a stored 0x0C reads back as "-"
}};
// clang-format on

}  // namespace varnok
