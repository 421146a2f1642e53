#pragma once

#include <array>
#include <string_view>

#include "keys/StringRefusal.h"

namespace varnok {

// The reason a string key refuses a text, in English and Chinese. "%c" stands for the
// refused character.
struct StringRefusalTextRow {
    StringRefusal refusal;
    std::string_view english;
    std::string_view chinese;
};

extern const std::array<StringRefusalTextRow, 2> StringRefusalTexts;

}  // namespace varnok
