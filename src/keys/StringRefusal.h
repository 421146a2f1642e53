#pragma once

namespace varnok {

// Why a string key does not type a text as written.
enum class StringRefusal {
    NoKeyForCharacter,   // no key of the keyboard types the character
    PastCharacterLimit,  // the character would be the 15th
};

}  // namespace varnok
