#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace varnok {

// The prefix a key sends before its PC scan code set 1 make byte. Windows drops it from the
// scan byte of a key event (E0 becomes the extended-key flag), so keys that differ only by
// the prefix deliver the same byte.
enum class Set1Prefix : std::uint8_t {
    None,
    E0,
    E1,  // Pause: E1 1D 45, delivered as 45
};

// One physical key: its Linux evdev code (an X11 or Wayland keycode minus 8) and the set-1
// make byte that Windows puts into the key's messages.
struct EvdevSet1Row {
    std::uint16_t evdevCode;
    std::uint8_t scanByte;
    Set1Prefix prefix;
};

// Every key of a 105-key ISO PC keyboard and the keys a Japanese 109-key keyboard adds.
extern const std::array<EvdevSet1Row, 111> EvdevToSet1Table;

// The set-1 byte of an evdev key; nullopt for keys the table does not know (media keys and
// the like), which therefore produce no key event.
std::optional<std::uint8_t> ScanByteOfEvdevKey(std::uint16_t evdevCode);

}  // namespace varnok
