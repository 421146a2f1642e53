#pragma once

#include <array>
#include <cstdint>

namespace varnok {

// The characters a string key can type: the key code of the key that types them, the
// character it types alone and the one it types with Shift held (kNoCharacter: none a string
// key types that way).
struct CharacterRow {
    std::uint8_t keyCode;
    char32_t plain;
    char32_t shifted;
};

inline constexpr char32_t kNoCharacter = 0;

// Looked up from the first row in both directions: a few characters and key codes occur
// twice, and the earlier row is the one that counts.
extern const std::array<CharacterRow, 64> CharacterTable;

}  // namespace varnok
