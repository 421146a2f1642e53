#include "store/GbkCodec.h"

#include <algorithm>

#include "store/Utf8.h"

namespace varnok {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kDefaultCharacter = "?";

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsGbkTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// How many bytes the GBK character at the start of rest takes: a lead byte with a trail byte
// is one character (assigned or not), anything else a single byte.
std::size_t GbkCharacterLength(std::string_view rest) {
    if (rest.size() >= 2 && IsGbkLeadByte(static_cast<unsigned char>(rest[0])) &&
        IsGbkTrailByte(static_cast<unsigned char>(rest[1]))) {
        return 2;
    }
    return 1;
}

// How many bytes the UTF-8 character at the start of rest takes: a well-formed sequence is
// one character, and so is one cut off by the end of the text; a malformed byte stands alone.
std::size_t Utf8CharacterLength(std::string_view rest) {
    const Utf8Character character = FirstUtf8Character(rest);
    return character.cutOff ? rest.size() : character.bytes.size();
}

// The whole text at once when the system converts all of it; otherwise character by
// character, with the replacement for each one it cannot convert.
template <typename Convert>
std::string ConvertEach(std::string_view input, Convert convert,
                        std::size_t (*characterLength)(std::string_view),
                        std::string_view replacement) {
    if (std::optional<std::string> whole = convert(input)) {
        return *std::move(whole);
    }
    std::string output;
    while (!input.empty()) {
        const std::size_t length = characterLength(input);
        if (std::optional<std::string> converted = convert(input.substr(0, length))) {
            output += *converted;
        } else {
            output += replacement;
        }
        input.remove_prefix(length);
    }
    return output;
}

}  // namespace

std::string GbkCodec::ToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) {
        return std::string(gbk);
    }
    return ConvertEach(
        gbk, [this](std::string_view text) { return converter_.ToUtf8(text); }, GbkCharacterLength,
        kReplacementCharacter);
}

std::string GbkCodec::ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    return ConvertEach(
        utf8, [this](std::string_view text) { return converter_.ToGbk(text); }, Utf8CharacterLength,
        kDefaultCharacter);
}

std::size_t GbkCodec::CutLength(std::string_view gbk, std::size_t limit) {
    std::size_t length = 0;
    while (length < gbk.size()) {
        const std::size_t step = IsGbkLeadByte(static_cast<unsigned char>(gbk[length])) ? 2 : 1;
        if (length + step > limit) {
            break;
        }
        length += step;
    }
    return std::min(length, gbk.size());
}

}  // namespace varnok
