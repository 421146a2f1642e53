#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace varnok {

// One physical key: its Linux evdev code and the Windows virtual-key code the key gives under
// the US layout with NumLock on.
struct EvdevVirtualKeyRow {
    std::uint16_t evdevCode;
    std::uint8_t virtualKey;
};

// The same keys as EvdevToSet1Table. The virtual key follows the key's position, not what the
// active layout or Shift makes of it: Shift+1 stays VK 0x31, the key right of P stays
// VK_OEM_4 (0xDB) on every layout.
extern const std::array<EvdevVirtualKeyRow, 111> VirtualKeyFromEvdevTable;

// nullopt for keys the table does not know.
std::optional<std::uint8_t> VirtualKeyOfEvdevKey(std::uint16_t evdevCode);

// The evdev code of the first key in the table that gives this virtual key, which for keys
// that occur twice is the left or main-block one; nullopt when no key gives it.
std::optional<std::uint16_t> EvdevKeyOfVirtualKey(std::uint8_t virtualKey);

}  // namespace varnok
