#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace varnok {

// A string key presses keys; the computer turns them into characters by its own keyboard
// layout. The record has one marker per key, plain or Shift, so a layout gives for each
// character the key to press and whether Shift is held, or why a string key cannot type it.
struct LayoutKey {
    std::uint8_t usage;  // HID usage of the key
    bool shifted;

    bool operator==(const LayoutKey&) const = default;
};

enum class LayoutRefusal {
    NoKey,         // the US table has no key for the character
    NeedsAltGr,    // typed only at level 3 or above
    NeedsDeadKey,  // typed only through a dead key or a compose sequence
    NotOnLayout,   // no key of the layout types it
};

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // How the user knows the layout: "German (de)".
    virtual std::string Name() const = 0;
    virtual std::variant<LayoutKey, LayoutRefusal> KeyFor(char32_t character) const = 0;
    // What the key types on this layout; none when it types no character.
    virtual std::optional<char32_t> CharacterOf(LayoutKey key) const = 0;
};

// Makes the layout the system knows by name (an XKB name, a Windows layout identifier);
// nullptr and the reason for a name it does not know.
using KeyboardLayoutByName =
    std::function<std::unique_ptr<KeyboardLayout>(std::string_view name, std::string& error)>;

}  // namespace varnok
