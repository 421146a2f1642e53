#pragma once

#include <array>
#include <cstddef>
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
// The key table's records, as the keyboard receives them inside data reports:
//   key report  slot, 08, the 8-byte report, FF
//   string      slot, n, 08, n payload bytes, FF
//   empty       slot, 00, FF
// and after the seven slots the end record AA FF, without which the keyboard does not take
// the table. A string's first page on read-back carries the marker 08 as its second byte.
constexpr std::uint8_t kRecordEnd = 0xFF;
constexpr std::uint8_t kStringMarker = 0x08;
constexpr std::uint8_t kKeyReportLength = 0x08;
constexpr std::uint8_t kEndRecordStart = 0xAA;
constexpr std::array<std::uint8_t, 2> kEndRecord = {kEndRecordStart, kRecordEnd};

// The keyboard needs this long between two reports of one block to take them in.
constexpr int kReportPauseMilliseconds = 200;

}  // namespace varnok
