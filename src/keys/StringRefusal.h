#pragma once

namespace varnok {

// Why a string key does not type a text as written.
enum class StringRefusal {
    NoKeyForCharacter,   // no key of the keyboard types the character
    NeedsAltGr,          // the layout types it only with AltGr, which a string key cannot hold
    NeedsDeadKey,        // the layout types it only through a dead key or compose sequence
    NotOnLayout,         // no key of the layout types it
    PastCharacterLimit,  // the character would be the 15th
};

}  // namespace varnok
