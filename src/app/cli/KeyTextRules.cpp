#include "app/cli/KeyTextRules.h"

#include "keys/TypableString.h"
#include "store/GbkCodec.h"

namespace varnok {

namespace {

// msmap.dat's text field.
constexpr std::size_t kMaxRowTextBytes = 25;

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

bool CheckRowText(std::string_view text, std::string& reason) {
    if (!IsValidUtf8(text)) {
        reason = "the text is not UTF-8";
        return false;
    }
    GbkCodec codec;
    const std::string gbk = codec.ToGbk(text);
    if (codec.ToUtf8(gbk) != text) {
        reason = "the text holds characters msmap.dat cannot keep (GBK has no place for them)";
        return false;
    }
    if (gbk.size() > kMaxRowTextBytes) {
        reason =
            "the text takes " + std::to_string(gbk.size()) + " bytes; msmap.dat keeps at most 25";
        return false;
    }
    return true;
}

bool CheckTypedString(std::string_view text, std::string& reason) {
    const TypableString check = CheckTypableString(text);
    if (check.TypesWholeText()) return true;
    reason = StringRefusalText(check, 0);
    return false;
}

}  // namespace varnok
