#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "keys/UsKeyboardLayout.h"

namespace varnok {

// A string key's payload: per character a marker (0x00 typed plain, 0xAB typed with Shift)
// and the HID usage of the key that types it.
constexpr std::size_t kMaxStringPayload = 28;
constexpr std::uint8_t kPlainMarker = 0x00;
constexpr std::uint8_t kShiftedMarker = 0xAB;

// Encodes UTF-8 text for the layout the computer types it with, at most 14 characters' worth
// (28 bytes). Characters that no key of the layout types plain or with Shift are skipped;
// CheckTypableString tells which before a text is taken.
std::vector<std::uint8_t> EncodeStringPayload(std::string_view text,
                                              const KeyboardLayout& layout = UsKeyboardLayout());
// Decodes payload bytes into UTF-8 text by the layout. Pairs that name no character add
// nothing, and a trailing odd byte is ignored.
std::string DecodeStringPayload(std::span<const std::uint8_t> payload,
                                const KeyboardLayout& layout = UsKeyboardLayout());
// Whether every pair of the payload names a character, so that DecodeStringPayload shows all
// the keyboard types. A key that types none (F1, Enter, a modifier) or an odd byte makes it
// false.
bool PayloadIsAllCharacters(std::span<const std::uint8_t> payload,
                            const KeyboardLayout& layout = UsKeyboardLayout());

}  // namespace varnok
