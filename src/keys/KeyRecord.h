#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace varnok {

class KeyReportList;
class SlotMap;

// What a slot's key record holds. The save flow words its error differently for an empty
// record.
enum class KeyRecordKind { KeyReport, String, Empty };

// The block written to the keyboard for one slot:
//   key report  slot, 08, the 8-byte report (Once flag in byte 1), FF
//   string      slot, n, 08, n payload bytes, FF
//   empty       slot, 00, FF
struct KeyRecord {
    KeyRecordKind kind;
    std::vector<std::uint8_t> bytes;
};

// Closes the key table after the seven slot records.
constexpr std::array<std::uint8_t, 2> kEndRecord = {0xAA, 0xFF};

// Builds slot's key record for saving. functionMode is the slot's row mode (slot 0 is always
// Normal). A String slot is encoded from rowText, and a non-empty payload is also stored in
// slotMap under the slot's name so that the next start shows the same text.
KeyRecord BuildKeyRecord(std::uint8_t slot, std::int32_t functionMode, const KeyReportList& reports,
                         std::string_view rowText, SlotMap& slotMap);

}  // namespace varnok
