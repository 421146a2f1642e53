#include "app/cli/KeyListText.h"

#include <algorithm>
#include <cstddef>

#include "device/HexBytes.h"
#include "keys/FunctionModeNames.h"
#include "store/Utf8.h"

namespace varnok {

namespace {

// Wide enough for the longest function name and for most texts (25 bytes at most).
constexpr std::size_t kFunctionWidth = 6;
constexpr std::size_t kTextWidth = 22;

std::string Padded(std::string text, std::size_t width) {
    const std::size_t characters = Utf8CharacterCount(text);
    if (characters < width) text.append(width - characters, ' ');
    return text;
}

// The text as a C string literal would hold it, so that blanks, quotes and the control keys
// a string may type (Tab, Esc, Delete) stay visible.
std::string Quoted(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            quoted += "\\x";
            quoted += kDigits[byte >> 4];
            quoted += kDigits[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace

std::string FormatKeyLines(const Profile& profile) {
    std::string lines;
    for (const ProfileKey& key : profile.keys) {
        const auto& names = FunctionModeNames(0);
        lines +=
            std::to_string(key.slot) + "  " +
            Padded(std::string(names[static_cast<std::size_t>(key.function)]), kFunctionWidth) +
            "  ";
        const bool defined =
            !key.definition.empty() || !key.text.empty() || key.function == kStringMode;
        if (!defined) {
            lines += "-\n";
            continue;
        }
        lines += Padded(Quoted(key.text), kTextWidth);
        const std::string bytes = FormatHexBytes(key.definition);
        lines += bytes.empty() ? "" : "  " + bytes;
        // No trailing blanks after the text of a key without bytes.
        while (lines.back() == ' ') lines.pop_back();
        lines += "\n";
    }
    return lines;
}

}  // namespace varnok
