#include "keys/StringPayload.h"

#include "store/Utf8.h"

namespace varnok {

namespace {

LayoutKey KeyOfPair(std::span<const std::uint8_t> payload, std::size_t at) {
    return {payload[at + 1], payload[at] == kShiftedMarker};
}

}  // namespace

std::vector<std::uint8_t> EncodeStringPayload(std::string_view text, const KeyboardLayout& layout) {
    std::vector<std::uint8_t> payload;
    while (!text.empty() && payload.size() < kMaxStringPayload) {
        const Utf8Character character = FirstUtf8Character(text);
        text.remove_prefix(character.bytes.size());
        if (!character.codePoint) continue;
        const auto key = layout.KeyFor(*character.codePoint);
        if (const auto* pressed = std::get_if<LayoutKey>(&key)) {
            payload.push_back(pressed->shifted ? kShiftedMarker : kPlainMarker);
            payload.push_back(pressed->usage);
        }
    }
    return payload;
}

std::string DecodeStringPayload(std::span<const std::uint8_t> payload,
                                const KeyboardLayout& layout) {
    std::string text;
    for (std::size_t i = 0; i + 1 < payload.size(); i += 2) {
        if (const auto character = layout.CharacterOf(KeyOfPair(payload, i))) {
            AppendUtf8(text, *character);
        }
    }
    return text;
}

bool PayloadIsAllCharacters(std::span<const std::uint8_t> payload, const KeyboardLayout& layout) {
    if (payload.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < payload.size(); i += 2) {
        if (!layout.CharacterOf(KeyOfPair(payload, i))) return false;
    }
    return true;
}

}  // namespace varnok
