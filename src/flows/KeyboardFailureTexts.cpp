#include "flows/KeyboardFailureTexts.h"

namespace varnok {

// A refused report needs no more words: the message says which key the keyboard refused.
// clang-format off
const std::array<LanguageTextRow<KeyboardFailure::Step>, 5> KeyboardFailureTexts = {{
    {KeyboardFailure::Step::Listing,     "The HID devices could not be listed: %1", "无法列出 HID 设备：%1"},
    {KeyboardFailure::Step::Opening,     "%2 could not be opened: %1",              "无法打开 %2：%1"},
    {KeyboardFailure::Step::Identifying, "%2 could not be read: %1",                "无法读取 %2：%1"},
    {KeyboardFailure::Step::Sending,     "Reason: %1",                              "原因：%1"},
    {KeyboardFailure::Step::Receiving,   "Reason: %1",                              "原因：%1"},
}};
// clang-format on

std::string DescribeKeyboardFailure(const KeyboardFailure& failure, std::int32_t language) {
    if (failure.error.text.empty()) return {};
    // One pass, so that a path or reason holding "%1" stays as it is.
    const std::string_view pattern = LanguageTextFor(KeyboardFailureTexts, failure.step, language);
    std::string text;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern.substr(at, 2) == "%1") {
            text += failure.error.text;
        } else if (pattern.substr(at, 2) == "%2") {
            text += failure.path;
        } else {
            text += pattern[at];
            continue;
        }
        ++at;
    }
    return text;
}

}  // namespace varnok
