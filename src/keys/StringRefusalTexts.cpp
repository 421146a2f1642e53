#include "keys/StringRefusalTexts.h"

namespace varnok {

// clang-format off
const std::array<LanguageTextRow<StringRefusal>, 5> StringRefusalTexts = {{
    {StringRefusal::NoKeyForCharacter,  "The keyboard has no key for \"%c\".",      "键盘上没有能输入\"%c\"的键。"},
    {StringRefusal::NeedsAltGr,         "\"%c\" needs AltGr on %l, which a string key cannot press.",
                                        "在%l布局上，\"%c\"需要AltGr键，字符串键无法按下它。"},
    {StringRefusal::NeedsDeadKey,       "\"%c\" needs a dead key or a compose sequence on %l, which a string key cannot press.",
                                        "在%l布局上，\"%c\"需要死键或组合键序列，字符串键无法输入它。"},
    {StringRefusal::NotOnLayout,        "\"%c\" is on no key of %l.",
                                        "%l布局上没有能输入\"%c\"的键。"},
    {StringRefusal::PastCharacterLimit, "A string key holds at most 14 characters.", "字符串键最多只能有14个字符。"},
}};
// clang-format on

}  // namespace varnok
