#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// Lookups in the key vocabulary tables. Each scans its table from the first row and takes the
// first match, which decides the keys that occur twice (Enter before keypad Enter, left
// before right modifiers, main-row before keypad digits).

// A key code's HID usage, or for the modifier usages 0xE0..0xE7 their bit in the modifier
// byte (bit n for usage 0xE0 + n).
struct UsageOfKey {
    bool isModifier;
    std::uint8_t value;
};
std::optional<UsageOfKey> KeyCodeToUsage(std::uint8_t keyCode);
std::optional<std::uint8_t> UsageToKeyCode(std::uint8_t usage);

// The key that types a character, and whether Shift is held for it. Only the characters of
// the plain and shifted character tables can be typed (no text beyond ASCII).
struct CharKey {
    bool shifted;
    std::uint8_t keyCode;
};
std::optional<CharKey> CharToKeyCode(char32_t character);
std::optional<char32_t> KeyCodeToChar(std::uint8_t keyCode, bool shifted);

// The usage table's name of a usage: what earlier versions showed after a read-back, which a
// chord written as text may still use; empty when it has none (usage 0 too). A read-back
// names keys as the capture does (NameKeyReport).
std::string UsageName(std::uint8_t usage);
// The name a captured key adds to a row, by Windows virtual-key code; nullopt for keys that
// are not captured.
std::optional<std::string> CaptureName(std::uint8_t virtualKey);

// The index of the command item a person names: the window shows the same names in both
// languages, with blanks that line them up ("Mouse Left   Click"), so any run of blanks
// matches any other, and case does not matter.
std::optional<std::size_t> CommandItemByName(std::string_view name);
// The command items' names as a person types them, in double quotes and separated by ", ":
// "Default", "Mouse Left Click", ... "Log off".
std::string CommandItemNameList();

}  // namespace varnok
