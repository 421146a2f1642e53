#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "keys/UsKeyboardLayout.h"

namespace varnok {

class KeyReportList;

// What a slot's key record holds. The save flow words its error differently for an empty
// record.
enum class KeyRecordKind { KeyReport, String, Empty };

// The block written to the keyboard for one slot (layouts in device/KeyboardProtocol.h).
struct KeyRecord {
    KeyRecordKind kind;
    std::vector<std::uint8_t> bytes;
};

// Builds slot's key record for saving. functionMode is the slot's row mode (slot 0 is always
// Normal). A String slot is encoded from rowText for the layout; any other slot from its first
// recorded report, with the Once flag set in a Once row.
KeyRecord BuildKeyRecord(std::uint8_t slot, std::int32_t functionMode, const KeyReportList& reports,
                         std::string_view rowText,
                         const KeyboardLayout& layout = UsKeyboardLayout());

}  // namespace varnok
