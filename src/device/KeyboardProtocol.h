#pragma once

#include <cstdint>

namespace varnok {

// The keyboard's feature-report protocol: every report carries report id 6 in byte 0 and seven
// data bytes after it. A report whose first data byte is 0xBB selects the page (key slot) that
// the following get requests read.
constexpr std::uint8_t kKeyboardReportId = 0x06;
constexpr std::uint8_t kPageSelectCommand = 0xBB;
constexpr std::size_t kReportDataBytes = 7;
// The page number that stands for "no page selected".
constexpr std::uint8_t kNoPage = 0xFF;
// The keyboard needs this long between two reports of one block to take them in.
constexpr int kReportPauseMilliseconds = 200;

}  // namespace varnok
