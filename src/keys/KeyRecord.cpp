#include "keys/KeyRecord.h"

#include <algorithm>

#include "keys/FunctionModeNames.h"
#include "keys/KeyReportList.h"
#include "keys/SlotNames.h"
#include "keys/StringPayload.h"
#include "store/SlotMap.h"

namespace varnok {

namespace {

constexpr std::uint8_t kRecordEnd = 0xFF;
constexpr std::uint8_t kReportLength = 8;
constexpr std::uint8_t kStringMarker = 0x08;

bool IsRowSlot(std::uint8_t slot) {
    return slot >= 1 && slot <= 6;
}

}  // namespace

KeyRecord BuildKeyRecord(std::uint8_t slot, std::int32_t functionMode, const KeyReportList& reports,
                         std::string_view rowText, SlotMap& slotMap) {
    if (IsRowSlot(slot) && functionMode == kStringMode) {
        const std::vector<std::uint8_t> payload = EncodeStringPayload(rowText);
        if (!payload.empty()) {
            slotMap.Set(SlotNames[slot], rowText, ToSlotData(payload), 0);
        }
        KeyRecord record{KeyRecordKind::String,
                         {slot, static_cast<std::uint8_t>(payload.size()), kStringMarker}};
        record.bytes.insert(record.bytes.end(), payload.begin(), payload.end());
        record.bytes.push_back(kRecordEnd);
        return record;
    }

    KeyReport report;
    std::size_t copied = 0;
    if (!reports.CopyReports(report, copied)) {
        return {KeyRecordKind::Empty, {slot, 0x00, kRecordEnd}};
    }
    if (IsRowSlot(slot) && functionMode == kOnceMode) {
        report[1] |= kOnceFlag;
    }
    KeyRecord record{KeyRecordKind::KeyReport, {slot, kReportLength}};
    record.bytes.insert(record.bytes.end(), report.begin(), report.end());
    record.bytes.push_back(kRecordEnd);
    return record;
}

}  // namespace varnok
