#include "keys/StringPayload.h"

#include "keys/KeyLookup.h"

namespace varnok {

std::vector<std::uint8_t> EncodeStringPayload(std::string_view text) {
    std::vector<std::uint8_t> payload;
    // Every byte of a multi-byte UTF-8 sequence is 0x80 or above and no key types such a
    // character, so walking bytes skips non-ASCII characters whole.
    for (const char byte : text) {
        if (payload.size() >= kMaxStringPayload) {
            break;
        }
        const auto key = CharToKeyCode(static_cast<unsigned char>(byte));
        if (!key) {
            continue;
        }
        const auto usage = KeyCodeToUsage(key->keyCode);
        if (!usage || usage->isModifier) {
            break;
        }
        payload.push_back(key->shifted ? kShiftedMarker : kPlainMarker);
        payload.push_back(usage->value);
    }
    return payload;
}

std::string DecodeStringPayload(std::span<const std::uint8_t> payload) {
    std::string text;
    for (std::size_t i = 0; i + 1 < payload.size(); i += 2) {
        const auto keyCode = UsageToKeyCode(payload[i + 1]);
        if (!keyCode) {
            continue;
        }
        if (const auto character = KeyCodeToChar(*keyCode, payload[i] == kShiftedMarker)) {
            // The character tables hold ASCII only.
            text += static_cast<char>(*character);
        }
    }
    return text;
}

bool PayloadIsAllCharacters(std::span<const std::uint8_t> payload) {
    // Each character decodes to one byte: a pair that names none is missing from the text.
    return 2 * DecodeStringPayload(payload).size() == payload.size();
}

}  // namespace varnok
