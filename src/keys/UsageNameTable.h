#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// The name a key shows in a row when a slot's stored definition is read back.
struct UsageNameRow {
    std::uint8_t usage;
    std::string_view name;
};

// A usage without a row shows nothing. Keypad keys show the plain digit or operator.
extern const std::array<UsageNameRow, 106> UsageNameTable;

}  // namespace varnok
