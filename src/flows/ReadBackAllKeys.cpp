#include "flows/ReadBackAllKeys.h"

#include "keys/FunctionModeNames.h"
#include "keys/ReadBackData.h"
#include "keys/SlotNames.h"
#include "keys/StringPayloadAssembler.h"
#include "ui/KeyDefinitionDialog.h"
#include "ui/RowTable.h"

#include <algorithm>

namespace varnok {
namespace {

// The keyboard needs time to fetch the next part of a string between two reads of its page.
constexpr int kContinuationPauseMilliseconds = 100;

ReadBackData DataOf(const FeatureReport& report) {
    ReadBackData data{};
    std::copy(report.begin() + 1, report.end(), data.begin());
    return data;
}

void KeepReadBackRecord(KeyDefinitionDialog& window, std::uint8_t outcome,
                        const ReadBackData& data) {
    auto& record = window.ReadBackRecord();
    record[0] = outcome;
    std::copy(data.begin(), data.end(), record.begin() + 1);
}

}  // namespace

bool ReadSlot(KeyDefinitionDialog& window, int slot, std::string& text) {
    const auto page = static_cast<std::uint8_t>(slot);
    FeatureReport report{};
    if (!window.Link().ReadPage(page, &report)) return false;
    const ReadBackData first = DataOf(report);

    switch (ClassifyReadBack(first)) {
        case ReadBackKind::Empty:
            KeepReadBackRecord(window, kReadEmpty, first);
            return true;

        case ReadBackKind::String: {
            KeepReadBackRecord(window, kReadString, first);
            StringPayloadAssembler payload(first);
            while (payload.WantsContinuation()) {
                window.Hid().Pause(kContinuationPauseMilliseconds);
                if (!window.Link().ReadPage(page, &report)) return false;
                payload.AddContinuation(DataOf(report));
            }
            text = payload.Text();
            window.Map().Set(SlotNames[slot], text, ToSlotData(payload.Payload()), 0);
            if (slot >= kFirstRowSlot) window.StoreFunctionMode(slot, kStringMode);
            return true;
        }

        case ReadBackKind::Mouse:
        case ReadBackKind::Keyboard: {
            const KeyReadBack key = InterpretKeyReadBack(page, first);
            std::copy(key.report.begin(), key.report.end(), window.ReadBackRecord().begin());
            if (key.functionMode) window.StoreFunctionMode(slot, *key.functionMode);
            text = key.text;
            return true;
        }
    }
    return false;
}

void ReadBackAllKeys(KeyDefinitionDialog& window) {
    KeyboardLink& link = window.Link();
    if (!link.Open()) {
        window.ShowMessage(MessageId::ReadNotConnected);
        return;
    }
    int slotsRead = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::string text;
        if (!ReadSlot(window, slot, text)) {
            window.ShowMessage(MessageId::ReadFailed);
            break;
        }
        ++slotsRead;
        KeyReportList& reports = window.SlotReports()[slot];
        switch (window.ReadBackRecord()[0]) {
            case kReadEmpty:
                window.Map().Remove(SlotNames[slot]);
                reports.Clear();
                window.DefinedFlags()[slot] = 0;
                window.Texts()[slot].clear();
                break;
            case kReadString:
                window.Texts()[slot] = text;
                break;
            default:
                reports.Clear();
                reports.LoadReports(std::span(window.ReadBackRecord()).first(8), 1);
                window.Texts()[slot] = text;
                window.DefinedFlags()[slot] = 1;
                break;
        }
    }
    window.ApplyKeyCount();
    if (slotsRead == kSlotCount) window.ShowMessage(MessageId::ReadSucceeded);
    window.Refresh();
    link.Close();
}

}  // namespace varnok
