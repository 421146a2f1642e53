#include "flows/SaveAllKeys.h"

#include "device/KeyboardLink.h"
#include "device/KeyboardProtocol.h"
#include "flows/FlowHost.h"
#include "keys/KeySlotsModel.h"

namespace varnok {

bool SaveAllKeys(KeySlotsModel& model, KeyboardLink& link, FlowHost& host) {
    // The typed strings get their slot entries before the slot map file is written, so one
    // Save keeps what the user typed, with or without a keyboard.
    model.KeepTypedStrings();
    // The keyboard is written whatever became of the file; the user hears of both.
    if (const FileResult stored = model.SaveStore(); !stored) {
        host.ShowFileProblem(MessageId::StoreNotSaved, stored);
    }

    if (!link.Open()) {
        host.ShowMessage(MessageId::SaveNotConnected);
        return false;
    }
    constexpr int kBlocks = kSlotCount + 1;  // the seven slots and the end record
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (host.StopRequested()) {
            link.Close();
            return false;
        }
        host.ReportProgress({FlowProgress::Activity::Writing, slot + 1, kBlocks});
        const KeyRecord record = model.RecordOf(slot);
        if (!link.WriteBlock(record.bytes)) {
            host.ShowMessage(record.kind == KeyRecordKind::Empty ? MessageId::SaveEmptyFailed
                                                                 : MessageId::SaveRecordFailed);
            link.Close();
            return false;
        }
    }
    host.ReportProgress({FlowProgress::Activity::Writing, kBlocks, kBlocks});
    // Without its end record the keyboard has not taken the table. The user hears nothing of
    // it: the keyboard keeps its previous table whole, and that is how Varnok has always
    // behaved here.
    if (!link.WriteBlock(kEndRecord)) {
        link.Close();
        return false;
    }
    host.ShowMessage(MessageId::SaveSucceeded);
    link.Close();
    return true;
}

}  // namespace varnok
