#include "keys/UsKeyboardLayout.h"

#include "keys/KeyLookup.h"

namespace varnok {

namespace {

// The character table (keys/CharacterTable) by its key codes, which the usage table turns
// into HID usages.
class UsTableLayout final : public KeyboardLayout {
public:
    std::string Name() const override { return "English (US)"; }

    std::variant<LayoutKey, LayoutRefusal> KeyFor(char32_t character) const override {
        const auto key = CharToKeyCode(character);
        if (!key) return LayoutRefusal::NoKey;
        const auto usage = KeyCodeToUsage(key->keyCode);
        if (!usage || usage->isModifier) return LayoutRefusal::NoKey;
        return LayoutKey{usage->value, key->shifted};
    }

    std::optional<char32_t> CharacterOf(LayoutKey key) const override {
        const auto keyCode = UsageToKeyCode(key.usage);
        if (!keyCode) return std::nullopt;
        return KeyCodeToChar(*keyCode, key.shifted);
    }
};

}  // namespace

const KeyboardLayout& UsKeyboardLayout() {
    static const UsTableLayout layout;
    return layout;
}

}  // namespace varnok
