#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace varnok {

// A key as Windows' keyboard driver reports it in Raw Input (the PC scan code set 1 make code,
// 0xE0nn for the codes that come after an E0 prefix, 0xE11D for Pause's E1 sequence) and the
// HID keyboard usage (page 0x07) that the keyboard sent for it. Windows turns each usage of a
// key report into these codes by a fixed translation; this is its inverse, for the usages a
// key report can hold.
struct ScanCodeUsage {
    std::uint16_t scanCode;
    std::uint8_t usage;
};

// Looked up from the first row: where two codes stand for one usage (PrintScreen, Pause, each
// with a code of its own while Alt or Ctrl is held), both rows are here.
extern const std::array<ScanCodeUsage, 120> ScanCodeUsageTable;

// The usage of a scan code; none for a code no key report's usage turns into.
std::optional<std::uint8_t> UsageOfScanCode(std::uint16_t scanCode);

}  // namespace varnok
