#include "ui/WindowStatusTexts.h"

#include "keys/TypableString.h"

namespace varnok {

std::string StringRowMarkText(const std::string& shown,
                              const std::optional<StringShortfall>& shortfall,
                              std::int32_t language) {
    const bool english = language == 0;
    if (!shortfall) return StringRefusalText(CheckTypableString(shown), language);
    if (shortfall->source == StringShortfall::Source::ReadBackKeys) {
        return english ? "The keyboard also holds keys here that type no character; shown is "
                         "the text it types."
                       : "键盘在此键中还存有不输入字符的按键；显示的是它输入的文字。";
    }
    const std::string reason =
        StringRefusalText(CheckTypableString(shortfall->storedText), language);
    return english
               ? reason + " Shown is what it types of the stored text \"" + shortfall->storedText +
                     "\"."
               : reason + "显示的是键盘对保存的文字\"" + shortfall->storedText + "\"所输入的内容。";
}

std::string TooLongText(int limit, std::int32_t language) {
    if (language == 0) {
        return "Please enter no more than " + std::to_string(limit) + " characters.";
    }
    // “请填入不多于18个的字符。”
    return "\u201C\u8BF7\u586B\u5165\u4E0D\u591A\u4E8E" + std::to_string(limit) +
           "\u4E2A\u7684\u5B57\u7B26\u3002\u201D";
}

}  // namespace varnok
