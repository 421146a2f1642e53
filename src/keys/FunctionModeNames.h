#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// The function modes of a row, by index: 0 Normal, 1 Once, 2 String.
constexpr std::int32_t kNormalMode = 0;
constexpr std::int32_t kOnceMode = 1;
constexpr std::int32_t kStringMode = 2;

// The names of the three modes in the window's language: English for 0, Chinese otherwise.
const std::array<std::string_view, 3>& FunctionModeNames(std::int32_t language);

}  // namespace varnok
