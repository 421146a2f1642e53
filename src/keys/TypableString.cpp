#include "keys/TypableString.h"

#include <algorithm>

#include "keys/KeyLookup.h"
#include "keys/StringRefusalTexts.h"

namespace varnok {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kCharacterPlaceholder = "%c";

struct Utf8Character {
    std::string_view bytes;
    std::optional<char32_t> codePoint;  // none for a byte that starts no valid sequence
};

// The character that starts text (which is not empty). Only whole, well-formed sequences give
// a code point; anything else is taken one byte at a time.
Utf8Character NextCharacter(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
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
        return {text.substr(0, 1), std::nullopt};
    }
    if (text.size() < length) {
        return {text.substr(0, 1), std::nullopt};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0u) != 0x80u) {
            return {text.substr(0, 1), std::nullopt};
        }
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no characters.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kShortest[length] || (codePoint >= 0xD800 && codePoint <= 0xDFFF) ||
        codePoint > 0x10FFFF) {
        return {text.substr(0, 1), std::nullopt};
    }
    return {text.substr(0, length), codePoint};
}

// How a refused character is named to the user: itself, unless it is a control character
// (shown as U+000A) or no character at all.
std::string NameOf(const Utf8Character& character) {
    if (!character.codePoint) {
        return std::string(kReplacementCharacter);
    }
    if (*character.codePoint < 0x20 || *character.codePoint == 0x7F) {
        constexpr char kHex[] = "0123456789ABCDEF";
        const auto value = static_cast<unsigned>(*character.codePoint);
        return std::string("U+00") + kHex[value >> 4] + kHex[value & 0xF];
    }
    return std::string(character.bytes);
}

}  // namespace

bool KeyboardTypes(char32_t character) {
    const auto key = CharToKeyCode(character);
    if (!key) {
        return false;
    }
    const auto usage = KeyCodeToUsage(key->keyCode);
    return usage && !usage->isModifier;
}

TypableString CheckTypableString(std::string_view text) {
    TypableString check;
    std::size_t typedCount = 0;
    for (std::size_t index = 0; !text.empty(); ++index) {
        const Utf8Character character = NextCharacter(text);
        text.remove_prefix(character.bytes.size());

        std::optional<StringRefusal> refusal;
        if (!character.codePoint || !KeyboardTypes(*character.codePoint)) {
            refusal = StringRefusal::NoKeyForCharacter;
        } else if (typedCount == kMaxStringCharacters) {
            refusal = StringRefusal::PastCharacterLimit;
        } else {
            // Every character a key types is ASCII: one byte.
            check.typed += character.bytes;
            ++typedCount;
        }
        if (refusal && !check.refusal) {
            check.refusal = refusal;
            check.refusedCharacter = NameOf(character);
            check.refusedIndex = index;
        }
    }
    return check;
}

bool TakesStringEdit(std::string_view before, std::string_view after) {
    if (CheckTypableString(after).TypesWholeText()) {
        return true;
    }
    // One stretch of before removed: after is a head of before followed by a tail of it.
    if (after.size() >= before.size()) {
        return false;
    }
    const std::size_t head = static_cast<std::size_t>(
        std::mismatch(after.begin(), after.end(), before.begin()).first - after.begin());
    return before.ends_with(after.substr(head));
}

std::string StringRefusalText(const TypableString& check, std::int32_t language) {
    if (!check.refusal) {
        return {};
    }
    for (const StringRefusalTextRow& row : StringRefusalTexts) {
        if (row.refusal != *check.refusal) {
            continue;
        }
        std::string text(language == 0 ? row.english : row.chinese);
        if (const auto at = text.find(kCharacterPlaceholder); at != std::string::npos) {
            text.replace(at, kCharacterPlaceholder.size(), check.refusedCharacter);
        }
        return text;
    }
    return {};
}

}  // namespace varnok
