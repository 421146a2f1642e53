#include "store/Utf8.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace varnok {

Utf8Character FirstUtf8Character(std::string_view text, Utf8Surrogates surrogates) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const Utf8Character malformed{text.substr(0, 1), std::nullopt};
    std::size_t length = 0;
    char32_t codePoint = 0;
    if (lead < 0x80) {
        return {text.substr(0, 1), lead};
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return malformed;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i == text.size()) return {text.substr(0, 1), std::nullopt, true};
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0u) != 0x80u) return malformed;
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    // Overlong forms, values past U+10FFFF and (unless taken) surrogates are no characters.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < kShortest[length] || codePoint > 0x10FFFF ||
        (surrogate && surrogates == Utf8Surrogates::Refused)) {
        return malformed;
    }
    return {text.substr(0, length), codePoint};
}

bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const Utf8Character character = FirstUtf8Character(text);
        if (!character.codePoint) return false;
        text.remove_prefix(character.bytes.size());
    }
    return true;
}

std::size_t Utf8CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (; !text.empty(); ++count) text.remove_prefix(FirstUtf8Character(text).bytes.size());
    return count;
}

std::size_t Utf8DisplayWidth(std::string_view text) {
    // The East Asian Wide and Fullwidth blocks that a key's text can hold.
    // clang-format off
    static constexpr std::pair<char32_t, char32_t> kWide[] = {
        {0x1100, 0x115F},    // Hangul leading consonants
        {0x2E80, 0x303E},    // CJK radicals, symbols and punctuation
        {0x3041, 0x33FF},    // kana, bopomofo, CJK compatibility
        {0x3400, 0x4DBF},    // CJK ideographs, extension A
        {0x4E00, 0x9FFF},    // CJK ideographs
        {0xA000, 0xA4CF},    // Yi
        {0xAC00, 0xD7A3},    // Hangul syllables
        {0xF900, 0xFAFF},    // CJK compatibility ideographs
        {0xFE30, 0xFE4F},    // CJK compatibility forms
        {0xFF00, 0xFF60},    // full-width forms
        {0xFFE0, 0xFFE6},    // full-width signs
        {0x20000, 0x3FFFD},  // CJK ideographs, planes 2 and 3
    };
    // clang-format on
    std::size_t width = 0;
    while (!text.empty()) {
        const Utf8Character character = FirstUtf8Character(text);
        const char32_t c = character.codePoint.value_or(0);
        const bool wide = std::any_of(std::begin(kWide), std::end(kWide), [c](const auto& range) {
            return c >= range.first && c <= range.second;
        });
        width += wide ? 2 : 1;
        text.remove_prefix(character.bytes.size());
    }
    return width;
}

void AppendUtf8(std::string& text, char32_t codePoint) {
    const auto byte = [](char32_t value) { return static_cast<char>(value); };
    if (codePoint < 0x80) {
        text += byte(codePoint);
    } else if (codePoint < 0x800) {
        text += byte(0xC0 | (codePoint >> 6));
        text += byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += byte(0xE0 | (codePoint >> 12));
        text += byte(0x80 | ((codePoint >> 6) & 0x3F));
        text += byte(0x80 | (codePoint & 0x3F));
    } else {
        text += byte(0xF0 | (codePoint >> 18));
        text += byte(0x80 | ((codePoint >> 12) & 0x3F));
        text += byte(0x80 | ((codePoint >> 6) & 0x3F));
        text += byte(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace varnok
