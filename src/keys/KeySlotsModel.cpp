#include "keys/KeySlotsModel.h"

#include <algorithm>
#include <utility>

#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/SlotNames.h"
#include "keys/StringPayload.h"
#include "keys/TypableString.h"
#include "store/GbkCodec.h"
#include "store/SettingsStore.h"
#include "store/SlotRecord.h"

namespace varnok {
namespace {

// The command item whose report "Default" stores: rows 1 to 3 default to a mouse click.
std::size_t DefaultItemOfRow(int row) {
    switch (row) {
        case 1:
            return 1;  // left click
        case 2:
            return 3;  // double click
        case 3:
            return 2;  // right click
        default:
            return 0;
    }
}

const KeyReportList kNoReports;
const std::string kNoText;

}  // namespace

KeySlotsModel::KeySlotsModel(SlotMap slotMap) : slotMap_(std::move(slotMap)) {}

FileResult KeySlotsModel::Load() {
    FileResult loaded = slotMap_.Load();
    for (int slot = 0; slot < kSlotCount; ++slot) TakeStoredEntry(slot);
    return loaded;
}

void KeySlotsModel::TakeStoredEntry(int slot) {
    Slot& s = slots_[slot];
    s.definedCount = 0;
    s.shortfall.reset();
    const SlotEntry* entry = slotMap_.Find(SlotNames[slot]);
    if (entry == nullptr) return;
    s.text = entry->text;
    if (!entry->text.empty()) s.definedCount = 1;
    s.reports.LoadReports(entry->data, 1);
}

void KeySlotsModel::ShowTypedStrings() {
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        Slot& s = slots_[row];
        if (s.functionMode != kStringMode) continue;
        TypableString check = CheckTypableString(s.text, *layout_);
        if (check.TypesWholeText()) continue;
        s.shortfall = StringShortfall{StringShortfall::Source::StoredText, std::move(s.text)};
        s.text = std::move(check.typed);
    }
}

std::vector<SettingChange> KeySlotsModel::FunctionModeSettings() const {
    std::vector<SettingChange> settings;
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        settings.push_back({std::string(kFunctionModeSettings[row]), slots_[row].functionMode});
    }
    return settings;
}

FileResult KeySlotsModel::SaveStore(std::span<const SettingChange> settings) {
    changedElsewhere_.clear();
    FileResult saved = slotMap_.Save(settings);
    const std::vector<std::string>& names = slotMap_.ChangedElsewhere();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (std::find(names.begin(), names.end(), SlotNames[slot]) == names.end()) continue;
        slots_[slot].reports.Clear();
        slots_[slot].text.clear();
        TakeStoredEntry(slot);
        changedElsewhere_.push_back(slot);
    }
    return saved;
}

FileResult KeySlotsModel::PutBackStore(const std::optional<std::vector<std::uint8_t>>& bytes,
                                       std::span<const SettingChange> settings) {
    return slotMap_.SaveBytes(bytes, settings);
}

FileResult KeySlotsModel::RevertStore(const SlotMap& now, std::span<const SettingChange> settings) {
    SlotMap map = now;
    map.Revert(slotMap_);
    slotMap_ = std::move(map);
    return SaveStore(settings);
}

const std::string& KeySlotsModel::Text(int slot) const {
    return Valid(slot) ? slots_[slot].text : kNoText;
}

bool KeySlotsModel::IsDefined(int slot) const {
    return DefinedCount(slot) >= 1;
}

int KeySlotsModel::DefinedCount(int slot) const {
    return Valid(slot) ? slots_[slot].definedCount : 0;
}

const KeyReportList& KeySlotsModel::Reports(int slot) const {
    return Valid(slot) ? slots_[slot].reports : kNoReports;
}

const std::optional<StringShortfall>& KeySlotsModel::Shortfall(int slot) const {
    static const std::optional<StringShortfall> kNone;
    return Valid(slot) ? slots_[slot].shortfall : kNone;
}

std::int32_t KeySlotsModel::FunctionMode(int slot) const {
    return IsRowSlot(slot) ? slots_[slot].functionMode : kNormalMode;
}

void KeySlotsModel::SetFunctionMode(int slot, std::int32_t mode) {
    if (!IsRowSlot(slot) || slots_[slot].functionMode == mode) return;
    slots_[slot].functionMode = mode;
    slots_[slot].shortfall.reset();
}

std::uint8_t KeySlotsModel::OnceMask() const {
    std::uint8_t mask = 0;
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        if (slots_[row].functionMode == kOnceMode)
            mask |= static_cast<std::uint8_t>(1u << (row - 1));
    }
    return mask;
}

void KeySlotsModel::ForgetSlot(int slot) {
    if (!Valid(slot)) return;
    slotMap_.Remove(SlotNames[slot]);
    slots_[slot].reports.Clear();
    slots_[slot].text.clear();
    slots_[slot].definedCount = 0;
    slots_[slot].shortfall.reset();
}

FileResult KeySlotsModel::ForgetStoredSlot(int slot) const {
    if (!Valid(slot)) return {};
    return slotMap_.RemoveFromFile(SlotNames[slot]);
}

void KeySlotsModel::ForgetAll() {
    std::string hiddenText = std::move(slots_[0].text);
    for (int slot = 0; slot < kSlotCount; ++slot) ForgetSlot(slot);
    slots_[0].text = std::move(hiddenText);
}

void KeySlotsModel::DefineCommandItem(int slot, std::size_t itemIndex) {
    if (!IsRowSlot(slot) || itemIndex >= CommandItemTable.size()) return;
    Slot& s = slots_[slot];
    s.reports.Clear();
    s.text = std::string(CommandItemTable[itemIndex].name);
    const std::size_t reportItem = itemIndex == 0 ? DefaultItemOfRow(slot) : itemIndex;
    s.reports.LoadReports(CommandItemTable[reportItem].report, 1);
    s.definedCount = 1;
    s.shortfall.reset();
    KeepFirstReport(slot);
}

void KeySlotsModel::DefineChord(int slot, const KeyReport& report, const std::string& text) {
    if (!Valid(slot)) return;
    Slot& s = slots_[slot];
    s.reports.Clear();
    s.reports.LoadReports(report, 1);
    s.text = text;
    s.definedCount = 1;
    s.shortfall.reset();
    KeepFirstReport(slot);
}

void KeySlotsModel::TakeText(int slot, std::string text) {
    if (!Valid(slot) || slots_[slot].text == text) return;
    slots_[slot].text = std::move(text);
    slots_[slot].shortfall.reset();
}

bool KeySlotsModel::AddChordKey(int slot, std::uint8_t keyCode) {
    return Valid(slot) && slots_[slot].reports.AddKey(keyCode);
}

void KeySlotsModel::RemoveChordKey(int slot, std::uint8_t keyCode) {
    if (Valid(slot)) slots_[slot].reports.RemoveKey(keyCode);
}

void KeySlotsModel::RestartChordWith(int slot, std::uint8_t keyCode) {
    if (!Valid(slot)) return;
    slots_[slot].reports.Clear();
    slots_[slot].reports.AddKey(keyCode);
}

void KeySlotsModel::RecordChord(int slot) {
    if (Valid(slot)) slots_[slot].reports.RecordChord();
}

void KeySlotsModel::AbandonChord(int slot) {
    if (!Valid(slot)) return;
    slots_[slot].reports.AbandonChord();
    if (slots_[slot].definedCount == 0) slots_[slot].text.clear();
}

void KeySlotsModel::AppendText(int slot, const std::string& text) {
    if (Valid(slot)) slots_[slot].text += text;
}

void KeySlotsModel::StoreCapturedChord(int slot) {
    if (!Valid(slot)) return;
    // A slot that held no definition may still carry the report of a map entry without a
    // text: the first chord captured replaces it, so the keyboard gets what the row shows.
    if (slots_[slot].definedCount == 0) slots_[slot].reports.KeepLastRecorded();
    ++slots_[slot].definedCount;
    KeepFirstReport(slot);
}

void KeySlotsModel::TakeReadBackEmpty(int slot) {
    ForgetSlot(slot);
}

void KeySlotsModel::TakeReadBackString(int slot, const std::string& text,
                                       std::span<const std::uint8_t> payload) {
    if (!Valid(slot)) return;
    if (text.empty()) {
        // The slot map keeps an entry's text when it is set with an empty one: the entry goes
        // instead, so that msmap.dat, too, holds nothing for a string that types nothing.
        ForgetSlot(slot);
    } else {
        slotMap_.Set(SlotNames[slot], text, ToSlotData(payload), 0);
        slots_[slot].text = text;
    }
    slots_[slot].shortfall.reset();
    if (!PayloadIsAllCharacters(payload, *layout_)) {
        slots_[slot].shortfall = StringShortfall{StringShortfall::Source::ReadBackKeys, {}};
    }
}

void KeySlotsModel::TakeReadBackReport(int slot, const KeyReport& report, const std::string& text) {
    // What the keyboard holds is a chord like any other: defined, and kept in the slot map. A
    // report that names nothing (no key at all) must not keep the row's old text there, which
    // the slot map would do for an empty one.
    if (text.empty()) ForgetSlot(slot);
    DefineChord(slot, report, text);
}

void KeySlotsModel::KeepTypedStrings() {
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        Slot& s = slots_[row];
        if (s.functionMode != kStringMode) continue;
        const std::vector<std::uint8_t> payload = EncodeStringPayload(s.text, *layout_);
        // The keyboard is given what the row shows; msmap.dat keeps a stored text that encodes
        // to nothing, and with it the row's shortfall.
        if (!payload.empty()) {
            slotMap_.Set(SlotNames[row], s.text, ToSlotData(payload), 0);
            s.shortfall.reset();
        } else if (s.shortfall && s.shortfall->source == StringShortfall::Source::ReadBackKeys) {
            s.shortfall.reset();
        }
    }
}

KeyRecord KeySlotsModel::RecordOf(int slot) const {
    return BuildKeyRecord(static_cast<std::uint8_t>(slot), FunctionMode(slot), Reports(slot),
                          Text(slot), *layout_);
}

void KeySlotsModel::KeepFirstReport(int slot) {
    // msmap.dat keeps as much of a long chord name as its text field holds; the row shows the
    // same, so that the next start shows what the row shows now.
    GbkCodec codec;
    slots_[slot].text = FitSlotRecordText(slots_[slot].text, codec);
    std::array<std::uint8_t, 8> report{};
    std::size_t copied = 0;
    if (slots_[slot].reports.CopyReports(report, copied) && copied > 0) {
        slotMap_.Set(SlotNames[slot], slots_[slot].text,
                     ToSlotData(std::span(report).first(copied)), 0);
    }
}

}  // namespace varnok
