#include "flows/VerifyAllKeys.h"

#include <algorithm>

#include "device/KeyboardLink.h"
#include "device/KeyboardProtocol.h"
#include "flows/FlowHost.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyReadBack.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "keys/StringPayload.h"

namespace varnok {

namespace {

// Offsets in the records of device/KeyboardProtocol.h.
constexpr std::size_t kReportOffset = 2;
constexpr std::size_t kReportRecordLength = kReportOffset + kKeyReportLength + 1;
constexpr std::size_t kPayloadOffset = 3;

bool SameDefinition(const SlotReadBack& a, const SlotReadBack& b) {
    if (a.kind != b.kind || a.functionMode != b.functionMode) return false;
    switch (a.kind) {
        case SlotReadBack::Kind::Empty:
            return true;
        case SlotReadBack::Kind::String:
            return a.payload == b.payload;
        case SlotReadBack::Kind::Keyboard:
        case SlotReadBack::Kind::Mouse:
            // The type byte does not come back from the keyboard.
            return std::equal(a.report.begin() + 1, a.report.end(), b.report.begin() + 1);
    }
    return false;
}

}  // namespace

SlotReadBack ReadBackOfRecord(int slot, const std::vector<std::uint8_t>& record) {
    SlotReadBack readBack;
    if (record.size() >= kPayloadOffset + 1 && record[2] == kStringMarker &&
        record.size() == std::size_t{record[1]} + kPayloadOffset + 1) {
        readBack.kind = SlotReadBack::Kind::String;
        readBack.payload.assign(record.begin() + kPayloadOffset, record.end() - 1);
        readBack.payload.resize(std::min(readBack.payload.size(), kMaxStringPayload));
        readBack.text = DecodeStringPayload(readBack.payload);
        if (IsRowSlot(slot)) readBack.functionMode = kStringMode;
        return readBack;
    }
    if (record.size() != kReportRecordLength) return readBack;
    // The keyboard answers a read of the slot with the report's bytes 1..7.
    ReadBackData data{};
    std::copy_n(record.begin() + kReportOffset + 1, data.size(), data.begin());
    const ReadBackKind kind = ClassifyReadBack(static_cast<std::uint8_t>(slot), data);
    if (kind == ReadBackKind::Empty) return readBack;
    const KeyReadBack key = InterpretKeyReadBack(static_cast<std::uint8_t>(slot), data);
    readBack.kind =
        kind == ReadBackKind::Mouse ? SlotReadBack::Kind::Mouse : SlotReadBack::Kind::Keyboard;
    readBack.text = key.text;
    readBack.report = key.report;
    readBack.functionMode = key.functionMode;
    return readBack;
}

VerifyOutcome VerifyAllKeys(const KeySlotsModel& model, KeyboardLink& link, FlowHost& host,
                            std::vector<SlotMismatch>& mismatches) {
    mismatches.clear();
    if (!link.Open()) {
        host.ShowKeyboardFailure(MessageId::ReadNotConnected, link.LastFailure());
        return VerifyOutcome::NotConnected;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (const auto progress = ProgressBeforeSlot(FlowProgress::Activity::Reading, slot)) {
            host.ReportProgress(*progress);
        }
        const std::optional<SlotReadBack> found = ReadSlot(link, slot);
        if (!found) {
            host.ShowKeyboardFailure(MessageId::ReadFailed, link.LastFailure());
            link.Close();
            return VerifyOutcome::ReadFailed;
        }
        SlotReadBack written = ReadBackOfRecord(slot, model.RecordOf(slot).bytes);
        if (!SameDefinition(written, *found)) {
            mismatches.push_back({slot, std::move(written), *found});
        }
    }
    link.Close();
    return mismatches.empty() ? VerifyOutcome::Verified : VerifyOutcome::Differs;
}

}  // namespace varnok
