#include "keys/KeyTesterTexts.h"

#include <array>
#include <string_view>

#include "device/HexBytes.h"
#include "store/LanguageTextRow.h"

namespace varnok {
namespace {

enum class TesterText { Typed, AsKeyDefines, NoKeyDefines, Ignored };

// %1, %2, %3 stand for the values the line fills in.
// clang-format off
constexpr std::array<LanguageTextRow<TesterText>, 4> kTexts = {{
    {TesterText::Typed,        "typed %1",                              "输入了 %1"},
    {TesterText::AsKeyDefines, "as key %1 defines",                     "与按键 %1 的定义相同"},
    {TesterText::NoKeyDefines, "no key defines this",                   "没有按键定义此项"},
    {TesterText::Ignored,      "ignored report %1: %2 (%3 so far)",     "已忽略报告 %1：%2（共 %3 个）"},
}};

constexpr std::array<LanguageTextRow<KeyTesterPhrase>, 4> kPhrases = {{
    {KeyTesterPhrase::Title,       "Test keys",
                                   "测试按键"},
    {KeyTesterPhrase::Prompt,      "Press the keyboard's keys. Close this window to end the test.",
                                   "请按键盘上的按键。关闭此窗口即结束测试。"},
    {KeyTesterPhrase::Close,       "Close",
                                   "关闭"},
    {KeyTesterPhrase::Ended,       "The test ended: %1",
                                   "测试已结束：%1"},
}};
// clang-format on

std::string Fill(std::string_view pattern, std::initializer_list<std::string> values) {
    std::string text(pattern);
    char mark = '1';
    for (const std::string& value : values) {
        const std::size_t at = text.find(std::string{'%', mark++});
        if (at != std::string::npos) text.replace(at, 2, value);
    }
    return text;
}

std::string_view Text(TesterText id, std::int32_t language) {
    return LanguageTextFor(kTexts, id, language);
}

}  // namespace

std::string_view KeyTesterPhraseText(KeyTesterPhrase phrase, std::int32_t language) {
    return LanguageTextFor(kPhrases, phrase, language);
}

std::string KeyTesterLine(const TesterEvent& event, std::int32_t language) {
    if (const auto* ignored = std::get_if<IgnoredReport>(&event)) {
        return Fill(
            Text(TesterText::Ignored, language),
            {FormatHexBytes(ignored->report), ignored->problem, std::to_string(ignored->count)});
    }
    const TestedPress& press = std::get<TestedPress>(event);
    const std::string arrived = press.kind == TestedPress::Kind::Text
                                    ? Fill(Text(TesterText::Typed, language), {press.name})
                                    : press.name;
    const std::string defines =
        press.slot ? Fill(Text(TesterText::AsKeyDefines, language), {std::to_string(*press.slot)})
                   : std::string(Text(TesterText::NoKeyDefines, language));
    return arrived + "  " + defines;
}

}  // namespace varnok
