#pragma once

#include <Qt>
#include <array>
#include <cstdint>
#include <optional>

namespace varnok {

// Whether a row applies to a key of the numeric keypad (Qt sets the keypad modifier on its
// events), to a key elsewhere, or to either.
enum class KeypadMatch : std::uint8_t { Either, Keypad, Main };

struct QtKeyVirtualKeyRow {
    Qt::Key key;
    KeypadMatch where;
    std::uint8_t virtualKey;
};

// Qt's key codes and the Windows virtual keys of the keys that type them under the US
// layout: a shifted symbol gives the virtual key of the key it is on (! is VK 0x31). Keypad
// keys follow NumLock as Qt reports them: with NumLock on, keypad 7 is Key_7 and VK_NUMPAD7
// (0x67); with NumLock off it is Key_Home and VK_HOME (0x24), as on Windows.
extern const std::array<QtKeyVirtualKeyRow, 132> QtKeyToVirtualKeyTable;

// The first row that matches the key and where it is; nullopt for keys without a row.
std::optional<std::uint8_t> VirtualKeyOfQtKey(int key, bool onKeypad);

}  // namespace varnok
