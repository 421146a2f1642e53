#include "flows/UnfinishedSave.h"

#include <algorithm>
#include <vector>

#include "flows/KeyboardFailureTexts.h"
#include "keys/KeySlots.h"

namespace varnok {

namespace {

constexpr int kLastKey = kSlotCount - 1;

// "key 3", "keys 1 and 2", "keys 1 to 3"; "按键 3", "按键 1 和 2", "按键 1 至 3".
std::string Keys(int first, int last, bool english) {
    std::string text =
        (english ? (first == last ? "key " : "keys ") : "按键 ") + std::to_string(first);
    if (first == last) return text;
    const char* joint =
        last == first + 1 ? (english ? " and " : " 和 ") : (english ? " to " : " 至 ");
    return text + joint + std::to_string(last);
}

// What keys 1..6 hold now: keys 1..taken the new definitions; key uncertain (when not 0) who
// knows what; the keys after both what they held before.
std::string KeysNow(int taken, int uncertain, bool english) {
    std::vector<std::string> parts;
    if (taken >= 1) {
        parts.push_back(
            Keys(1, taken, english) +
            (english ? (taken == 1 ? " holds its new definition" : " hold the new definitions")
                     : " 已是新的定义"));
    }
    if (uncertain >= 1) {
        parts.push_back(english ? "what key " + std::to_string(uncertain) + " holds is uncertain"
                                : "按键 " + std::to_string(uncertain) + " 的内容不确定");
    }
    const int previous = std::max(taken, uncertain) + 1;
    if (previous <= kLastKey) {
        parts.push_back(Keys(previous, kLastKey, english) +
                        (english ? (previous == kLastKey ? " still holds its previous one"
                                                         : " still hold their previous ones")
                                 : " 仍是原来的定义"));
    }
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += english ? ", " : "，";
        text += part;
    }
    if (parts.size() == 1) return text + (english ? "." : "。");
    return text + (english ? ": the keyboard holds this mix until the next Save."
                           : "：在下次保存之前，键盘保持这种混合的状态。");
}

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 32);
    return text;
}

// What the keyboard holds after the save as it ended, in the user's language.
std::string KeysNowAfter(const UnfinishedSave& save, std::int32_t language) {
    const bool english = language == 0;
    // Slot 0 is no key of the user's and comes first: keys 1..n are slots 1..n.
    const int slot = std::clamp(save.slotsTaken, 0, kLastKey);
    switch (save.reason) {
        case UnfinishedSave::Reason::Stopped:
            return Capitalized(KeysNow(std::clamp(save.slotsTaken - 1, 0, kLastKey), 0, english));
        case UnfinishedSave::Reason::RecordRefused:
            if (slot == 0) {
                return (english ? "The keyboard refused the first record: "
                                : "键盘拒收了第一条记录：") +
                       KeysNow(0, 0, english);
            }
            return (english ? "The keyboard refused key " + std::to_string(slot) + ": "
                            : "键盘拒收了按键 " + std::to_string(slot) + "：") +
                   KeysNow(slot - 1, slot, english);
        case UnfinishedSave::Reason::EndRefused:
            return english ? "The keyboard took keys 1 to 6 but refused the end of the table, so "
                             "the save is not complete: until the next Save the keyboard may "
                             "hold the new keys, its previous ones, or a mix of both."
                           : "键盘接收了按键 1 至 6，但拒收了按键表的结束记录，保存未完成：在下次"
                             "保存之前，键盘可能保存新的按键、原来的按键或两者的混合。";
    }
    return {};
}

}  // namespace

std::string DescribeUnfinishedSave(const UnfinishedSave& save, std::int32_t language) {
    std::string text = KeysNowAfter(save, language);
    const std::string reason =
        save.failure ? DescribeKeyboardFailure(*save.failure, language) : std::string();
    return reason.empty() ? text : text + (language == 0 ? " " : "") + reason;
}

}  // namespace varnok
