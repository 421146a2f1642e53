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
// bytes; a mouse click; anything else a keyboard report (bytes 1..7). A click is d0 = 81, 82
// or 80 (in rows 1..6 also C1, C2 or C0: a click saved in a Once row) with FF in d6, where
// every ready-made click has it; the same modifier bits with 00 there and no key are a chord
// (right Windows alone, or with left Ctrl or left Shift; and right Alt, a row's Once flag).
ReadBackKind ClassifyReadBack(std::uint8_t slot, const ReadBackData& data);

// A mouse or keyboard definition read back for a slot.
struct KeyReadBack {
    std::string text;
    KeyReport report;
    // The row's function mode that the Once flag gives (Once or Normal), in slots 1..6; none
    // for slot 0, which keeps the flag bit as read.
    std::optional<std::int32_t> functionMode;
};

// Interprets a page that ClassifyReadBack (slot, data) calls Mouse or Keyboard; the text is
// the report's name as a capture gives it (NameKeyReport).
KeyReadBack InterpretKeyReadBack(std::uint8_t slot, const ReadBackData& data);

}  // namespace varnok
