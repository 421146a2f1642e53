#pragma once

#include <map>
#include <string>
#include <vector>

#include "keys/KeyboardLayout.h"

namespace varnok {

// A layout read from the system's layout data, as the keys it has and what each types: the
// platform code walks its keymap and fills one of these.
class MappedKeyboardLayout final : public KeyboardLayout {
public:
    explicit MappedKeyboardLayout(std::string name) : name_(std::move(name)) {}

    // A key types the character plain or with Shift. The first key added for a character is
    // the one pressed, and the first character added for a key is the one it reads back as.
    void AddKey(char32_t character, LayoutKey key);
    // The character is on the layout only in a way a string key cannot press. A key that
    // types it counts over this, and the first reason given stays.
    void AddRefusal(char32_t character, LayoutRefusal reason);

    std::string Name() const override { return name_; }
    std::variant<LayoutKey, LayoutRefusal> KeyFor(char32_t character) const override;
    std::optional<char32_t> CharacterOf(LayoutKey key) const override;

private:
    std::string name_;
    std::map<char32_t, LayoutKey> keys_;
    std::map<std::pair<std::uint8_t, bool>, char32_t> characters_;
    std::map<char32_t, LayoutRefusal> refusals_;
};

}  // namespace varnok
