#pragma once

#include <array>
#include <string_view>

#include "keys/StringRefusal.h"
#include "store/LanguageTextRow.h"

namespace varnok {

// The reason a string key refuses a text, in English and Chinese. "%c" stands for the
// refused character, "%l" for the layout's name.
extern const std::array<LanguageTextRow<StringRefusal>, 5> StringRefusalTexts;

}  // namespace varnok
