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

}  // namespace varnok
