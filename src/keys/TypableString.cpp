#include "keys/TypableString.h"

#include <algorithm>

#include "keys/StringRefusalTexts.h"
#include "store/Utf8.h"

namespace varnok {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kCharacterPlaceholder = "%c";
constexpr std::string_view kLayoutPlaceholder = "%l";

StringRefusal RefusalOf(LayoutRefusal reason) {
    switch (reason) {
        case LayoutRefusal::NoKey:
            break;
        case LayoutRefusal::NeedsAltGr:
            return StringRefusal::NeedsAltGr;
        case LayoutRefusal::NeedsDeadKey:
            return StringRefusal::NeedsDeadKey;
        case LayoutRefusal::NotOnLayout:
            return StringRefusal::NotOnLayout;
    }
    return StringRefusal::NoKeyForCharacter;
}

void ReplacePlaceholder(std::string& text, std::string_view placeholder, std::string_view value) {
    if (const auto at = text.find(placeholder); at != std::string::npos) {
        text.replace(at, placeholder.size(), value);
    }
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

bool KeyboardTypes(char32_t character, const KeyboardLayout& layout) {
    return std::holds_alternative<LayoutKey>(layout.KeyFor(character));
}

TypableString CheckTypableString(std::string_view text, const KeyboardLayout& layout) {
    TypableString check;
    check.layoutName = layout.Name();
    std::size_t typedCount = 0;
    for (std::size_t index = 0; !text.empty(); ++index) {
        const Utf8Character character = FirstUtf8Character(text);
        text.remove_prefix(character.bytes.size());

        std::optional<StringRefusal> refusal;
        const auto key = character.codePoint
                             ? layout.KeyFor(*character.codePoint)
                             : std::variant<LayoutKey, LayoutRefusal>(LayoutRefusal::NoKey);
        if (const auto* reason = std::get_if<LayoutRefusal>(&key)) {
            refusal = RefusalOf(*reason);
        } else if (typedCount == kMaxStringCharacters) {
            refusal = StringRefusal::PastCharacterLimit;
        } else {
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

bool TakesStringEdit(std::string_view before, std::string_view after,
                     const KeyboardLayout& layout) {
    if (CheckTypableString(after, layout).TypesWholeText()) {
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
    ReplacePlaceholder(text, kCharacterPlaceholder, check.refusedCharacter);
    ReplacePlaceholder(text, kLayoutPlaceholder, check.layoutName);
    return text;
}

}  // namespace varnok
