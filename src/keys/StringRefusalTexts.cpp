#include "keys/StringRefusalTexts.h"

namespace varnok {

// clang-format off
const std::array<LanguageTextRow<StringRefusal>, 2> StringRefusalTexts = {{
    {StringRefusal::NoKeyForCharacter,  "The keyboard has no key for \"%c\".",      "键盘上没有能输入\"%c\"的键。"},
    {StringRefusal::PastCharacterLimit, "A string key holds at most 14 characters.", "字符串键最多只能有14个字符。"},
}};
// clang-format on

}  // namespace varnok
