#pragma once

#include <array>
#include <string_view>

#include "keys/StringRefusal.h"
#include "store/LanguageTextRow.h"

namespace varnok {

// The reason a string key refuses a text, in English and Chinese. "%c" stands for the
// refused character.
extern const std::array<LanguageTextRow<StringRefusal>, 2> StringRefusalTexts;

}  // namespace varnok
