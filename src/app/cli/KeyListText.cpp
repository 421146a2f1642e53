#include "app/cli/KeyListText.h"

#include <algorithm>
#include <cstddef>

#include "device/HexBytes.h"
#include "keys/FunctionModeNames.h"
#include "store/QuotedText.h"
#include "store/Utf8.h"

namespace varnok {

namespace {

// Wide enough for the longest function name and for most texts (25 bytes at most).
constexpr std::size_t kFunctionWidth = 6;
constexpr std::size_t kTextWidth = 22;

std::string Padded(std::string text, std::size_t width) {
    const std::size_t columns = Utf8DisplayWidth(text);
    if (columns < width) text.append(width - columns, ' ');
    return text;
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
        lines += Padded(QuotedText(key.text), kTextWidth);
        const std::string bytes = FormatHexBytes(key.definition);
        lines += bytes.empty() ? "" : "  " + bytes;
        // No trailing blanks after the text of a key without bytes.
        while (lines.back() == ' ') lines.pop_back();
        lines += "\n";
    }
    return lines;
}

}  // namespace varnok
