#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// Texts are UTF-8 in memory; they come from users, files and the keyboard, so every decoder
// of the program takes them apart here, the same way.

// One character at the start of a text.
struct Utf8Character {
    // The character's bytes; a single byte for one that starts no well-formed sequence.
    std::string_view bytes;
    // None for a byte that starts no whole, shortest, in-range sequence.
    std::optional<char32_t> codePoint;
    // The text ends inside a sequence that was well-formed so far: bytes is its first byte,
    // the rest of the text the remainder of that sequence.
    bool cutOff = false;
};

// Whether an encoded surrogate (U+D800..U+DFFF, which is no character) is taken as a code
// point: only where the text was written by a program that encodes UTF-16 units one by one.
enum class Utf8Surrogates { Refused, Taken };

// The character that starts text, which is not empty.
Utf8Character FirstUtf8Character(std::string_view text,
                                 Utf8Surrogates surrogates = Utf8Surrogates::Refused);
// Whether the whole text is well-formed UTF-8.
bool IsUtf8(std::string_view text);
// How many characters the text holds as a person counts them; each malformed byte is one.
std::size_t Utf8CharacterCount(std::string_view text);
// How many columns the text takes in a terminal: two for each wide character (the CJK
// ideographs, kana, Hangul, full-width forms), one for every other character.
std::size_t Utf8DisplayWidth(std::string_view text);
// Appends the code point's UTF-8 bytes.
void AppendUtf8(std::string& text, char32_t codePoint);

}  // namespace varnok
