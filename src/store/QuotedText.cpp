#include "store/QuotedText.h"

#include "store/PathText.h"
#include "store/Utf8.h"

namespace varnok {

namespace {

void AppendEscaped(std::string& quoted, const Utf8Character& character) {
    const auto hex = [&quoted](const char* prefix, unsigned value) {
        constexpr char kDigits[] = "0123456789abcdef";
        quoted += prefix;
        quoted += kDigits[(value >> 4) & 0xF];
        quoted += kDigits[value & 0xF];
    };
    if (!character.codePoint) {
        hex("\\x", static_cast<unsigned char>(character.bytes[0]));
        return;
    }
    const char32_t c = *character.codePoint;
    if (c == U'"' || c == U'\\') {
        quoted += '\\';
        quoted += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
        hex("\\x", static_cast<unsigned>(c));
    } else if (c >= 0x80 && c <= 0x9F) {
        hex("\\u00", static_cast<unsigned>(c));
    } else {
        quoted += character.bytes;
    }
}

std::string Quoted(std::string_view text, std::size_t maxCharacters) {
    std::string quoted = "\"";
    std::size_t characters = 0;
    for (std::string_view rest = text; !rest.empty(); ++characters) {
        const Utf8Character character = FirstUtf8Character(rest);
        rest.remove_prefix(character.bytes.size());
        if (characters < maxCharacters) AppendEscaped(quoted, character);
    }
    if (characters <= maxCharacters) return quoted + "\"";
    return quoted + "\u2026\" (" + std::to_string(characters) + " characters)";
}

}  // namespace

std::string QuotedText(std::string_view text) {
    return Quoted(text, std::string_view::npos);
}

std::string QuotedInput(std::string_view text) {
    return Quoted(text, kQuotedInputCharacters);
}

std::string PathInMessage(const std::filesystem::path& path) {
    constexpr std::size_t kLongestPath = 4096;
    std::string text = PathText(path);
    return text.size() > kLongestPath ? QuotedInput(text) : text;
}

}  // namespace varnok
