#pragma once

#include <array>
#include <cstdint>

namespace varnok {

// One key chord or mouse action as the keyboard stores it. Keyboard report: 01, HID modifier
// bits, 00, up to five HID usages in the order the keys went down (the rest 00). Mouse
// report: 04, button code (81 left, 82 right, 80 double click), 00 00 00 00 00 FF.
using KeyReport = std::array<std::uint8_t, 8>;

constexpr std::uint8_t kKeyboardReportType = 0x01;
constexpr std::uint8_t kMouseReportType = 0x04;
// Byte 1 holds the modifier bits; bytes 3..7 the usages.
constexpr std::uint8_t kFirstUsageByte = 3;
// In a key record, bit 0x40 of byte 1 (right Alt, which capture never produces) marks a key
// that acts once.
constexpr std::uint8_t kOnceFlag = 0x40;

}  // namespace varnok
