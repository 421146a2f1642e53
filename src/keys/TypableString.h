#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/StringPayload.h"
#include "keys/StringRefusal.h"

namespace varnok {

// A string record holds 28 payload bytes, two per character.
constexpr std::size_t kMaxStringCharacters = kMaxStringPayload / 2;

// What the keyboard makes of a text given to a string key. Every place that takes a string
// for a key (the value box, the command line, a restored or read-back row) asks this first,
// so that a text is either typed whole or refused with its reason, never cut down unseen.
struct TypableString {
    // What the keyboard types: the characters it has keys for, at most 14, in order. This is
    // what the encoded payload reads back as.
    std::string typed;
    // Why the keyboard does not type the whole text, for its first character that it does not
    // type; none when it types the whole text.
    std::optional<StringRefusal> refusal;
    // That character as the user is shown it (UTF-8; a control character as "U+000A", a byte
    // that is no UTF-8 as U+FFFD) and its index among the text's characters, counted from 0.
    std::string refusedCharacter;
    std::size_t refusedIndex = 0;
    // The name of the layout the text was checked against, for the reason.
    std::string layoutName;

    bool TypesWholeText() const { return !refusal; }
};

// Whether a key of the keyboard types the character on the layout, with or without Shift.
bool KeyboardTypes(char32_t character, const KeyboardLayout& layout = UsKeyboardLayout());

// Checks UTF-8 text character by character against the layout's keys and the 14-character
// limit.
TypableString CheckTypableString(std::string_view text,
                                 const KeyboardLayout& layout = UsKeyboardLayout());

// Whether the value box of a String row takes an edit that turns before into after: it does
// when the keyboard types after whole, and whenever the edit only takes characters out, so
// that a text the box was given as it is (a stored one, a command item's name) can still be
// shortened. CheckTypableString(after) says why when it does not.
bool TakesStringEdit(std::string_view before, std::string_view after,
                     const KeyboardLayout& layout = UsKeyboardLayout());

// The reason for a refusal, naming the refused character and, where the layout is the
// reason, the layout, in the window's language (0
// English, otherwise Chinese); empty when the whole text is typed.
std::string StringRefusalText(const TypableString& check, std::int32_t language);

}  // namespace varnok
