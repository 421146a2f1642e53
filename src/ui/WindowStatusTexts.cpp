#include "ui/WindowStatusTexts.h"

#include <cstdio>

#include "keys/TypableString.h"

namespace varnok {

std::string PresenceText(const KeyboardPresence& presence, std::int32_t language) {
    const bool english = language == 0;
    switch (presence.state) {
        case KeyboardPresence::State::Unknown:
            return english ? "Looking for the keyboard..." : "正在查找键盘...";
        case KeyboardPresence::State::Absent:
            return english ? "No keyboard connected." : "未连接键盘。";
        case KeyboardPresence::State::Refused:
            return presence.advice;
        case KeyboardPresence::State::Connected:
            break;
    }
    char usage[16];
    std::snprintf(usage, sizeof usage, "%04X:%04X", presence.collection.collection.usagePage,
                  presence.collection.collection.usage);
    const std::string index = std::to_string(presence.collection.index);
    return english
               ? "Keyboard connected: " + presence.interfacePath + ", collection " + index + " (" +
                     usage + ")"
               : "键盘已连接：" + presence.interfacePath + "，集合 " + index + " (" + usage + ")";
}

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
