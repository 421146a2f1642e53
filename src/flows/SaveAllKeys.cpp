#include "flows/SaveAllKeys.h"

#include "device/KeyboardLink.h"
#include "device/KeyboardProtocol.h"
#include "flows/FlowHost.h"
#include "flows/KeyboardCopy.h"
#include "keys/KeySlots.h"
#include "keys/KeySlotsModel.h"
#include "keys/StoredChoices.h"

namespace varnok {

bool SaveAllKeys(KeySlotsModel& model, KeyboardLink& link, FlowHost& host) {
    // The typed strings get their slot entries before the slot map file is written, so one
    // Save keeps what the user typed, with or without a keyboard.
    model.KeepTypedStrings();
    // The keyboard is written whatever became of the file; the user hears of both. The rows'
    // functions go with the map, so that the next start finds both as this save left them.
    if (const FileResult stored = model.SaveStore(model.FunctionModeSettings()); !stored) {
        host.ShowFileProblem(MessageId::StoreNotSaved, stored);
    } else {
        if (const auto& kept = model.KeptCopy()) {
            host.ShowFileProblem(MessageId::StoreCopyKept, *kept);
        }
        if (const auto& unguarded = model.Unguarded()) {
            host.ShowFileProblem(MessageId::StoreUnguarded, *unguarded);
        }
    }
    // A key another program saved meanwhile is the file's now, function included.
    for (const int slot : model.SlotsChangedElsewhere()) {
        if (!IsRowSlot(slot)) continue;
        const std::int32_t mode = FunctionModeOfStoredRow(model, slot, model.FunctionMode(slot));
        if (mode == model.FunctionMode(slot)) continue;
        model.SetFunctionMode(slot, mode);
        host.StoreFunctionMode(slot, mode);
    }

    if (!link.Open()) {
        host.ShowKeyboardFailure(MessageId::SaveNotConnected, link.LastFailure());
        return false;
    }
    // The keyboard takes each record as it comes: a save that ends early leaves the keys
    // written so far new and the others as they were, and the user is told which.
    const auto unfinished = [&](MessageId id, UnfinishedSave::Reason reason, int slotsTaken) {
        link.Close();
        // Records the keyboard took are new there, the rest old: a table no rows make.
        if (slotsTaken > 0) RememberKeyboardMixed(model);
        host.ShowUnfinishedSave(id, {reason, slotsTaken, link.LastFailure()});
        return false;
    };
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (host.StopRequested()) {
            return unfinished(MessageId::SaveStopped, UnfinishedSave::Reason::Stopped, slot);
        }
        if (const auto progress = ProgressBeforeSlot(FlowProgress::Activity::Writing, slot)) {
            host.ReportProgress(*progress);
        }
        const KeyRecord record = model.RecordOf(slot);
        if (!link.WriteBlock(record.bytes)) {
            return unfinished(record.kind == KeyRecordKind::Empty ? MessageId::SaveEmptyFailed
                                                                  : MessageId::SaveRecordFailed,
                              UnfinishedSave::Reason::RecordRefused, slot);
        }
    }
    if (!link.WriteBlock(kEndRecord)) {
        return unfinished(MessageId::SaveRecordFailed, UnfinishedSave::Reason::EndRefused,
                          kSlotCount);
    }
    RememberKeyboardHolds(model);
    host.ShowMessage(MessageId::SaveSucceeded);
    link.Close();
    return true;
}

}  // namespace varnok
