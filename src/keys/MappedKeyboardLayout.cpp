#include "keys/MappedKeyboardLayout.h"

namespace varnok {

void MappedKeyboardLayout::AddKey(char32_t character, LayoutKey key) {
    keys_.try_emplace(character, key);
    characters_.try_emplace({key.usage, key.shifted}, character);
}

void MappedKeyboardLayout::AddRefusal(char32_t character, LayoutRefusal reason) {
    refusals_.try_emplace(character, reason);
}

std::variant<LayoutKey, LayoutRefusal> MappedKeyboardLayout::KeyFor(char32_t character) const {
    if (const auto key = keys_.find(character); key != keys_.end()) return key->second;
    if (const auto refusal = refusals_.find(character); refusal != refusals_.end()) {
        return refusal->second;
    }
    return LayoutRefusal::NotOnLayout;
}

std::optional<char32_t> MappedKeyboardLayout::CharacterOf(LayoutKey key) const {
    const auto found = characters_.find({key.usage, key.shifted});
    if (found == characters_.end()) return std::nullopt;
    return found->second;
}

}  // namespace varnok
