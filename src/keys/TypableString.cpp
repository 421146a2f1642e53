#include "keys/TypableString.h"

#include <algorithm>

#include "keys/KeyLookup.h"
#include "keys/StringRefusalTexts.h"
#include "store/Utf8.h"

namespace varnok {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kCharacterPlaceholder = "%c";

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
        const Utf8Character character = FirstUtf8Character(text);
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
    std::string text(LanguageTextFor(StringRefusalTexts, *check.refusal, language));
    if (const auto at = text.find(kCharacterPlaceholder); at != std::string::npos) {
        text.replace(at, kCharacterPlaceholder.size(), check.refusedCharacter);
    }
    return text;
}

}  // namespace varnok
