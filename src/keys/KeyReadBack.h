#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "keys/KeyReport.h"

namespace varnok {

// The seven data bytes d0..d6 that follow the report id in a page the keyboard returns for
// one slot. They come from the device and may hold anything.
using ReadBackData = std::array<std::uint8_t, 7>;

enum class ReadBackKind { Empty, String, Mouse, Keyboard };

// What a slot's first page holds: d0 = FF an empty slot; d1 = 08 a string of d0 payload
// bytes; d0 = 81, 82 or 80 a mouse click; anything else a keyboard report (bytes 1..7).
// In rows 1..6 a mouse click saved in a Once row comes back as C1, C2 or C0: with no key in
// d1..d6 it is that click (a chord of modifiers alone reads the same, and is the rarer one).
ReadBackKind ClassifyReadBack(std::uint8_t slot, const ReadBackData& data);

// The key names of a keyboard report's bytes 1..7, each followed by "|": the modifiers of
// d0 from bit 0 up, then the named usages of d1..d6 up to the first FF.
std::string DescribeReportBytes(const ReadBackData& data);

// A mouse or keyboard definition read back for a slot.
struct KeyReadBack {
    std::string text;
    KeyReport report;
    // The row's function mode that the Once flag gives (Once or Normal), in slots 1..6; none
    // for slot 0, which keeps the flag bit as read.
    std::optional<std::int32_t> functionMode;
};

// Interprets a page that ClassifyReadBack (slot, data) calls Mouse or Keyboard.
KeyReadBack InterpretKeyReadBack(std::uint8_t slot, const ReadBackData& data);

}  // namespace varnok
