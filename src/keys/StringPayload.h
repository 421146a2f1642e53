#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// A string key's payload: per character a marker (0x00 typed plain, 0xAB typed with Shift)
// and the HID usage of the key that types it.
constexpr std::size_t kMaxStringPayload = 28;
constexpr std::uint8_t kPlainMarker = 0x00;
constexpr std::uint8_t kShiftedMarker = 0xAB;

// Encodes UTF-8 text, at most 14 characters' worth (28 bytes). Characters that no key types
// (anything beyond ASCII, most control characters) are skipped; CheckTypableString tells
// which before a text is taken.
std::vector<std::uint8_t> EncodeStringPayload(std::string_view text);
// Decodes payload bytes into UTF-8 text. Pairs that name no character add nothing, and a
// trailing odd byte is ignored.
std::string DecodeStringPayload(std::span<const std::uint8_t> payload);
// Whether every pair of the payload names a character, so that DecodeStringPayload shows all
// the keyboard types. A key that types none (F1, Enter, a modifier) or an odd byte makes it
// false.
bool PayloadIsAllCharacters(std::span<const std::uint8_t> payload);

}  // namespace varnok
