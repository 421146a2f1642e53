#include "keys/RowText.h"

#include "keys/TypableString.h"
#include "store/GbkCodec.h"
#include "store/Utf8.h"

namespace varnok {

namespace {

bool IsControlCharacter(char32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

// "U+001B"
std::string CodePointName(char32_t c) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string name = "U+";
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(c >> shift) & 0xF];
    return name;
}

}  // namespace

RowTextCheck CheckRowText(std::string_view text, RowTextUse use) {
    RowTextCheck check;
    if (!IsUtf8(text)) {
        check.problem = RowTextProblem::NotUtf8;
        return check;
    }
    for (std::string_view rest = text; !rest.empty();) {
        const Utf8Character character = FirstUtf8Character(rest);
        rest.remove_prefix(character.bytes.size());
        const char32_t c = *character.codePoint;
        if (IsControlCharacter(c) && !(use == RowTextUse::TypedString && KeyboardTypes(c))) {
            check.problem = RowTextProblem::ControlCharacter;
            check.controlCharacter = c;
            return check;
        }
    }
    GbkCodec codec;
    const std::string gbk = codec.ToGbk(text);
    check.gbkBytes = gbk.size();
    if (codec.ToUtf8(gbk) != text) {
        check.problem = RowTextProblem::NotInGbk;
    } else if (gbk.size() > kMaxRowTextBytes) {
        check.problem = RowTextProblem::TooManyBytes;
    } else if (use == RowTextUse::TypedString && Utf8CharacterCount(text) > kMaxRowTextCharacters) {
        check.problem = RowTextProblem::TooManyCharacters;
    }
    return check;
}

std::string RowTextRefusalText(const RowTextCheck& check, std::int32_t language) {
    if (!check.problem) return {};
    const bool english = language == 0;
    switch (*check.problem) {
        case RowTextProblem::NotUtf8:
            return english ? "the text is not UTF-8" : "\u6587\u5B57\u4E0D\u662F UTF-8";
        case RowTextProblem::ControlCharacter:
            return english
                       ? "the text holds the control character " +
                             CodePointName(check.controlCharacter) + ", which a row does not take"
                       // 文字中有控制字符 U+0000，行中不能使用
                       : "\u6587\u5B57\u4E2D\u6709\u63A7\u5236\u5B57\u7B26 " +
                             CodePointName(check.controlCharacter) +
                             "\uFF0C\u884C\u4E2D\u4E0D\u80FD\u4F7F\u7528";
        case RowTextProblem::NotInGbk:
            return english ? "the text holds characters msmap.dat cannot keep (GBK has no place "
                             "for them)"
                           // 文字中有 msmap.dat 无法保存的字符（GBK 中没有）
                           : "\u6587\u5B57\u4E2D\u6709 msmap.dat \u65E0\u6CD5\u4FDD\u5B58\u7684"
                             "\u5B57\u7B26\uFF08GBK \u4E2D\u6CA1\u6709\uFF09";
        case RowTextProblem::TooManyCharacters:
            return english ? "Please enter no more than " + std::to_string(kMaxRowTextCharacters) +
                                 " characters."
                           // “请填入不多于18个的字符。”
                           : "\u201C\u8BF7\u586B\u5165\u4E0D\u591A\u4E8E" +
                                 std::to_string(kMaxRowTextCharacters) +
                                 "\u4E2A\u7684\u5B57\u7B26\u3002\u201D";
        case RowTextProblem::TooManyBytes:
            return english
                       ? "the text takes " + std::to_string(check.gbkBytes) +
                             " bytes; msmap.dat keeps at most " + std::to_string(kMaxRowTextBytes)
                       // 文字占 N 个字节，msmap.dat 最多保存 25 个字节
                       : "\u6587\u5B57\u5360 " + std::to_string(check.gbkBytes) +
                             " \u4E2A\u5B57\u8282\uFF0Cmsmap.dat \u6700\u591A\u4FDD\u5B58 " +
                             std::to_string(kMaxRowTextBytes) + " \u4E2A\u5B57\u8282";
    }
    return {};
}

bool CheckRowText(std::string_view text, RowTextUse use, std::string& reason) {
    const RowTextCheck check = CheckRowText(text, use);
    reason = RowTextRefusalText(check, 0);
    return check.Fits();
}

bool CheckTypedString(std::string_view text, std::string& reason, const KeyboardLayout& layout) {
    const TypableString check = CheckTypableString(text, layout);
    if (check.TypesWholeText()) return true;
    reason = StringRefusalText(check, 0);
    return false;
}

}  // namespace varnok
