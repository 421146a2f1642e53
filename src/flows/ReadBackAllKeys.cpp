#include "flows/ReadBackAllKeys.h"

#include <algorithm>

#include "device/KeyboardLink.h"
#include "flows/FlowHost.h"
#include "flows/KeyboardCopy.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyReadBack.h"
#include "keys/KeySlotsModel.h"
#include "keys/StringPayload.h"
#include "keys/StringPayloadAssembler.h"

namespace varnok {
namespace {

// The keyboard needs time to fetch the next part of a string between two reads of its page.
constexpr int kContinuationPauseMilliseconds = 100;

ReadBackData DataOf(const FeatureReport& report) {
    ReadBackData data{};
    std::copy(report.begin() + 1, report.end(), data.begin());
    return data;
}

}  // namespace

std::optional<SlotReadBack> ReadSlot(KeyboardLink& link, int slot, const KeyboardLayout& layout) {
    const auto page = static_cast<std::uint8_t>(slot);
    FeatureReport report{};
    if (!link.ReadPage(page, &report)) return std::nullopt;
    const ReadBackData first = DataOf(report);

    SlotReadBack result;
    const ReadBackKind kind = ClassifyReadBack(page, first);
    switch (kind) {
        case ReadBackKind::Empty:
            result.kind = SlotReadBack::Kind::Empty;
            return result;

        case ReadBackKind::String: {
            StringPayloadAssembler payload(first);
            while (payload.WantsContinuation()) {
                link.Pause(kContinuationPauseMilliseconds);
                if (!link.ReadPage(page, &report)) return std::nullopt;
                payload.AddContinuation(DataOf(report));
            }
            result.kind = SlotReadBack::Kind::String;
            result.text = DecodeStringPayload(payload.Payload(), layout);
            result.payload.assign(payload.Payload().begin(), payload.Payload().end());
            if (IsRowSlot(slot)) result.functionMode = kStringMode;
            return result;
        }

        case ReadBackKind::Mouse:
        case ReadBackKind::Keyboard: {
            const KeyReadBack key = InterpretKeyReadBack(page, first);
            result.kind = kind == ReadBackKind::Mouse ? SlotReadBack::Kind::Mouse
                                                      : SlotReadBack::Kind::Keyboard;
            result.text = key.text;
            result.report = key.report;
            result.functionMode = key.functionMode;
            return result;
        }
    }
    return std::nullopt;
}

bool ReadBackAllKeys(KeySlotsModel& model, KeyboardLink& link, FlowHost& host) {
    if (!link.Open()) {
        host.ShowKeyboardFailure(MessageId::ReadNotConnected, link.LastFailure());
        return false;
    }
    int slotsRead = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (host.StopRequested()) break;
        if (const auto progress = ProgressBeforeSlot(FlowProgress::Activity::Reading, slot)) {
            host.ReportProgress(*progress);
        }
        const std::optional<SlotReadBack> read = ReadSlot(link, slot, model.Layout());
        if (!read) {
            host.ShowKeyboardFailure(MessageId::ReadFailed, link.LastFailure());
            break;
        }
        ++slotsRead;
        if (read->functionMode) model.SetFunctionMode(slot, *read->functionMode);
        switch (read->kind) {
            case SlotReadBack::Kind::Empty:
                model.TakeReadBackEmpty(slot);
                break;
            case SlotReadBack::Kind::String:
                model.TakeReadBackString(slot, read->text, read->payload);
                break;
            case SlotReadBack::Kind::Keyboard:
            case SlotReadBack::Kind::Mouse:
                model.TakeReadBackReport(slot, read->report, read->text);
                break;
        }
    }
    const bool complete = slotsRead == kSlotCount;
    if (complete) {
        RememberKeyboardHolds(model);
        host.ShowMessage(MessageId::ReadSucceeded);
    }
    link.Close();
    return complete;
}

bool KeepReadBack(KeySlotsModel& model, FlowHost& host) {
    const FileResult stored = model.SaveStore(model.FunctionModeSettings());
    if (!stored) {
        host.ShowFileProblem(MessageId::StoreNotSaved, stored);
        return false;
    }
    if (const auto& kept = model.KeptCopy()) host.ShowFileProblem(MessageId::StoreCopyKept, *kept);
    if (const auto& unguarded = model.Unguarded()) {
        host.ShowFileProblem(MessageId::StoreUnguarded, *unguarded);
    }
    return true;
}

}  // namespace varnok
