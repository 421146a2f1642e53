#include "keys/KeyRecord.h"

#include "device/KeyboardProtocol.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyReportList.h"
#include "keys/KeySlots.h"
#include "keys/StringPayload.h"

namespace varnok {

KeyRecord BuildKeyRecord(std::uint8_t slot, std::int32_t functionMode, const KeyReportList& reports,
                         std::string_view rowText, const KeyboardLayout& layout) {
    if (IsRowSlot(slot) && functionMode == kStringMode) {
        const std::vector<std::uint8_t> payload = EncodeStringPayload(rowText, layout);
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
    KeyRecord record{KeyRecordKind::KeyReport, {slot, kKeyReportLength}};
    record.bytes.insert(record.bytes.end(), report.begin(), report.end());
    record.bytes.push_back(kRecordEnd);
    return record;
}

}  // namespace varnok
