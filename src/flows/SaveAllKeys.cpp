#include "flows/SaveAllKeys.h"

#include "keys/FunctionModeNames.h"
#include "keys/KeyRecord.h"
#include "ui/KeyDefinitionDialog.h"
#include "ui/RowTable.h"

namespace varnok {
namespace {

std::int32_t SaveMode(KeyDefinitionDialog& window, int slot, std::uint8_t onceMask) {
    if (slot < kFirstRowSlot) return kNormalMode;
    if (window.FunctionMode(slot) == kStringMode) return kStringMode;
    return (onceMask >> (slot - 1)) & 1 ? kOnceMode : kNormalMode;
}

KeyRecord RecordOf(KeyDefinitionDialog& window, int slot, std::uint8_t onceMask) {
    return BuildKeyRecord(static_cast<std::uint8_t>(slot), SaveMode(window, slot, onceMask),
                          window.SlotReports()[slot], window.Texts()[slot], window.Map());
}

}  // namespace

void SaveAllKeys(KeyDefinitionDialog& window) {
    const std::uint8_t onceMask = window.OnceMask();

    // The typed strings are collected, and their slot entries made, before the slot map file
    // is written, so one Save keeps what the user typed, with or without a keyboard.
    window.Collect();
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        if (window.FunctionMode(slot) == kStringMode) RecordOf(window, slot, onceMask);
    }
    window.Map().Save();

    KeyboardLink& link = window.Link();
    if (!link.Open()) {
        window.ShowMessage(MessageId::SaveNotConnected);
        return;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const KeyRecord record = RecordOf(window, slot, onceMask);
        if (!link.WriteBlock(record.bytes)) {
            window.ShowMessage(record.kind == KeyRecordKind::Empty ? MessageId::SaveEmptyFailed
                                                                   : MessageId::SaveRecordFailed);
            link.Close();
            return;
        }
    }
    // Without its end record the keyboard has not taken the table; the user hears nothing, as
    // the keyboard's own tool has always behaved.
    if (!link.WriteBlock(kEndRecord)) {
        link.Close();
        return;
    }
    window.ShowMessage(MessageId::SaveSucceeded);
    link.Close();
}

}  // namespace varnok
