#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keys/KeyReport.h"
#include "keys/UsKeyboardLayout.h"

namespace varnok {

class FlowHost;
class KeySlotsModel;
class KeyboardLink;

// What the keyboard holds in one slot.
struct SlotReadBack {
    enum class Kind { Empty, String, Keyboard, Mouse };
    Kind kind = Kind::Empty;
    // The text the row shows for it.
    std::string text;
    // Keyboard and mouse: the key report, the Once flag taken out in rows 1..6.
    KeyReport report{};
    // String: the payload bytes as the keyboard sent them.
    std::vector<std::uint8_t> payload;
    // The row's function mode the definition implies (String, or Once/Normal from the Once
    // flag of a keyboard or mouse report in rows 1..6); none for slot 0.
    std::optional<std::int32_t> functionMode;
};

// The Get Defined Key button: reads every slot's definition back from the keyboard into the
// model, slot 0 included; stops at the first read that fails. True when all seven were read.
bool ReadBackAllKeys(KeySlotsModel& model, KeyboardLink& link, FlowHost& host);

// After a read-back: msmap.dat and the rows' functions take what was read, as one change, so
// that the next start shows what the keyboard holds; the host hears of a file left alone. True
// when both were kept.
bool KeepReadBack(KeySlotsModel& model, FlowHost& host);

// Reads one slot and interprets it, a string by the layout; nullopt only when a read fails.
std::optional<SlotReadBack> ReadSlot(KeyboardLink& link, int slot,
                                     const KeyboardLayout& layout = UsKeyboardLayout());

}  // namespace varnok
