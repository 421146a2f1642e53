#include "keys/FunctionModeNames.h"

namespace varnok {

namespace {

// clang-format off
constexpr std::array<std::string_view, 3> kEnglish = {"Normal", "Once",     "String"};
constexpr std::array<std::string_view, 3> kChinese = {"单键",   "一次单键", "一次多键"};
// clang-format on

}  // namespace

const std::array<std::string_view, 3>& FunctionModeNames(std::int32_t language) {
    return language == 0 ? kEnglish : kChinese;
}

}  // namespace varnok
