#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnok {

// The name a captured key adds to a row's text, by Windows virtual-key code. Keys without a
// row are not captured.
struct CaptureNameRow {
    std::uint8_t virtualKey;
    std::string_view name;
};

extern const std::array<CaptureNameRow, 108> CaptureNameTable;

}  // namespace varnok
