#include "ui/KeyDefinitionDialog.h"

#include "flows/ClearAllKeys.h"
#include "flows/ReadBackAllKeys.h"
#include "flows/SaveAllKeys.h"
#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/SlotNames.h"
#include "ui/ControlIds.h"
#include "ui/RowTable.h"
#include "ui/WindowLabelTable.h"

#include <algorithm>
#include <utility>

namespace varnok {
namespace {

constexpr std::string_view kSection = "Settings";
constexpr int kLanguageList = ControlId::Language;
constexpr int kKeyCountList = ControlId::KeyCount;
constexpr int kPrompt = ControlId::Prompt;
constexpr int kHeading = ControlId::Heading;
constexpr int kCtrlBox = ControlId::Ctrl;
constexpr int kAltBox = ControlId::Alt;
constexpr int kShiftBox = ControlId::Shift;
constexpr int kSaveButton = ControlId::Save;

constexpr int kModeString = 2;
constexpr int kModeOnce = 1;

// Number of characters (code points) of a UTF-8 text, as the user counts them.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The text of the length check, with the limit in place of %1.
std::string TooLongMessage(int limit) {
    return "\u201C\u8BF7\u586B\u5165\u4E0D\u591A\u4E8E" + std::to_string(limit) +
           "\u4E2A\u7684\u5B57\u7B26\u3002\u201D";
}

// The command item whose report "Default" stores: rows 1 to 3 default to a mouse click.
std::size_t DefaultItemOfRow(int row) {
    switch (row) {
        case 1: return 1;  // left click
        case 2: return 3;  // double click
        case 3: return 2;  // right click
        default: return 0;
    }
}

}  // namespace

class KeyDefinitionDialog::ExchangeGuard {
public:
    explicit ExchangeGuard(KeyDefinitionDialog& dialog)
        : dialog_(dialog), previous_(std::exchange(dialog.exchanging_, true)) {}
    ~ExchangeGuard() { dialog_.exchanging_ = previous_; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

private:
    KeyDefinitionDialog& dialog_;
    bool previous_;
};

KeyDefinitionDialog::KeyDefinitionDialog(DialogControls& controls, SettingsStore& settings,
                                         HidPlatform& hid, SlotMap slotMap,
                                         std::string applicationName)
    : controls_(controls),
      settings_(settings),
      hid_(hid),
      applicationName_(std::move(applicationName)),
      slotMap_(std::move(slotMap)),
      keyboardLink_(hid) {}

KeyDefinitionDialog::~KeyDefinitionDialog() = default;

void KeyDefinitionDialog::OnInitDialog() {
    Refresh();
    slotMap_.Load();

    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        for (const CommandItem& item : CommandItemTable) {
            controls_.AddListItem(RowTable[slot].valueBox, std::string(item.name));
        }
    }

    // Restore what each slot showed and held at the last Save or Clear.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slotDefinedFlags_[slot] = 0;
        const SlotEntry* entry = slotMap_.Find(SlotNames[slot]);
        if (entry == nullptr) continue;
        rowTexts_[slot] = entry->text;
        if (!entry->text.empty()) slotDefinedFlags_[slot] = 1;
        slotReports_[slot].LoadReports(entry->data, 1);
    }

    readBackRecord_.fill(0xFF);

    controls_.AddListItem(kLanguageList, "English");
    controls_.AddListItem(kLanguageList, "Chinese");
    for (const char* count : {"1", "2", "3", "4", "5", "6"}) {
        controls_.AddListItem(kKeyCountList, count);
    }

    language_ = settings_.ReadSetting(kSection, "keyLan", 0);
    const std::int32_t keyCount = settings_.ReadSetting(kSection, "keynum", 0);
    controls_.SelectListIndex(kKeyCountList, keyCount);
    controls_.SelectListIndex(kLanguageList, language_);

    RestoreFunctionModes();
    ApplyLanguage();
    ApplyKeyCount();
    Refresh();

    // The platform puts the focus on the first tab stop; slot 0 stays current until the user
    // enters a value box.
    controls_.SetFocus(kSaveButton);
}

void KeyDefinitionDialog::Refresh() {
    ExchangeGuard guard(*this);
    controls_.SetChecked(kCtrlBox, ctrlChecked_ != 0);
    controls_.SetChecked(kAltBox, altChecked_ != 0);
    controls_.SetChecked(kShiftBox, shiftChecked_ != 0);
    controls_.SetText(kPrompt, promptText_);
    controls_.SetText(kHeading, headingText_);
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        controls_.SetText(RowTable[slot].valueBox, rowTexts_[slot]);
    }

    // The hidden field selects the first list item that begins with the text; its list is
    // empty, so in practice it takes the text.
    const int hidden = RowTable[0].valueBox;
    const std::string& text = rowTexts_[0];
    for (int i = 0; i < controls_.ListCount(hidden); ++i) {
        if (controls_.ListItem(hidden, i).starts_with(text)) {
            controls_.SelectListIndex(hidden, i);
            return;
        }
    }
    controls_.SetText(hidden, text);
}

bool KeyDefinitionDialog::Collect() {
    ExchangeGuard guard(*this);
    ctrlChecked_ = controls_.IsChecked(kCtrlBox) ? 1 : 0;
    altChecked_ = controls_.IsChecked(kAltBox) ? 1 : 0;
    shiftChecked_ = controls_.IsChecked(kShiftBox) ? 1 : 0;
    promptText_ = controls_.GetText(kPrompt);
    headingText_ = controls_.GetText(kHeading);
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        const int box = RowTable[slot].valueBox;
        rowTexts_[slot] = controls_.GetText(box);
        if (CharacterCount(rowTexts_[slot]) > kMaxRowTextLength) {
            controls_.ShowMessage(TooLongMessage(kMaxRowTextLength), applicationName_,
                                  MessageIcon::Exclamation);
            controls_.SetFocus(box);
            return false;
        }
    }
    rowTexts_[0] = controls_.GetText(RowTable[0].valueBox);
    return true;
}

void KeyDefinitionDialog::ResetCapture() {
    capture_.lastKeyCode = 0;
    capture_.lastVirtualKey = 0;
    capture_.lastMessageKind = 0;
    capture_.keysInChord = 0;
    capture_.busy = 0;
}

void KeyDefinitionDialog::RestoreFunctionModes() {
    const auto& names = FunctionModeNames(language_);
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        const int list = RowTable[row].functionList;
        controls_.ClearList(list);
        for (std::string_view name : names) controls_.AddListItem(list, std::string(name));
        controls_.SelectListIndex(list, settings_.ReadSetting(kSection, RowTable[row].modeSetting, 0));
    }
}

void KeyDefinitionDialog::TakeTypedTexts() {
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        if (FunctionMode(slot) == kModeString) {
            rowTexts_[slot] = controls_.GetText(RowTable[slot].valueBox);
        }
    }
}

void KeyDefinitionDialog::ApplyLanguage() {
    language_ = controls_.SelectedListIndex(kLanguageList);
    settings_.WriteSetting(kSection, "keyLan", language_);
    RestoreFunctionModes();
    promptText_ = std::string(WindowLabelFor(kPrompt, language_));
    headingText_ = std::string(WindowLabelFor(kHeading, language_));
    for (const WindowLabel& label : WindowLabelTable) {
        if (label.control != kPrompt && label.control != kHeading) {
            controls_.SetText(label.control, std::string(WindowLabelFor(label.control, language_)));
        }
    }
    Refresh();
}

void KeyDefinitionDialog::ApplyKeyCount() {
    const int k = controls_.SelectedListIndex(kKeyCountList);
    settings_.WriteSetting(kSection, "keynum", k);
    if (k < 0 || k > 5) return;
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        const bool shown = row <= k + 1;
        controls_.SetVisible(RowTable[row].valueBox, shown);
        controls_.SetVisible(RowTable[row].functionList, shown);
        if (RowTable[row].label != 0) controls_.SetVisible(RowTable[row].label, shown);
    }
}

void KeyDefinitionDialog::ClearCurrentSlot() {
    const int slot = currentSlot_;
    TakeTypedTexts();
    ResetCapture();
    slotMap_.Remove(SlotNames[slot]);
    slotReports_[slot].Clear();
    rowTexts_[slot].clear();
    Refresh();
    capture_.lastKeyCode = 0;
    slotDefinedFlags_[slot] = 0;
}

std::uint8_t KeyDefinitionDialog::OnceMask() const {
    std::uint8_t mask = 0;
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        if (controls_.SelectedListIndex(RowTable[row].functionList) == kModeOnce) {
            mask |= static_cast<std::uint8_t>(1u << (row - 1));
        }
    }
    return mask;
}

void KeyDefinitionDialog::FocusRow(int slot) {
    currentSlot_ = slot;
    ResetCapture();
}

void KeyDefinitionDialog::PickCommandItem(int slot) {
    const int index = controls_.SelectedListIndex(RowTable[slot].valueBox);
    if (index < 0 || index >= static_cast<int>(CommandItemTable.size())) return;
    TakeTypedTexts();
    currentSlot_ = slot;
    KeyReportList& reports = slotReports_[slot];
    reports.Clear();
    ResetCapture();
    rowTexts_[slot] = std::string(CommandItemTable[index].name);
    const std::size_t reportItem = index == 0 ? DefaultItemOfRow(slot) : static_cast<std::size_t>(index);
    reports.LoadReports(CommandItemTable[reportItem].report, 1);
    slotDefinedFlags_[slot] = 1;

    std::array<std::uint8_t, 8> copied{};
    std::size_t copiedBytes = 0;
    reports.CopyReports(copied, copiedBytes);
    slotMap_.Set(SlotNames[slot], rowTexts_[slot],
                 ToSlotData(std::span(copied).first(copiedBytes)), 0);
    Refresh();
}

void KeyDefinitionDialog::ChangeFunctionMode(int row) {
    const std::string_view setting = RowTable[row].modeSetting;
    const int previous = settings_.ReadSetting(kSection, setting, 0);
    const int mode = controls_.SelectedListIndex(RowTable[row].functionList);
    TakeTypedTexts();
    if (previous != mode && (previous == kModeString || mode == kModeString)) {
        // Key names and typed strings don't mix: entering or leaving String empties the row.
        // The mode is stored at once, so the emptied slot is too: its entry leaves the map and
        // the map file (an entry with an empty text would bring the old text back, and a
        // String row would then send a key chord's name as a string).
        rowTexts_[row].clear();
        slotMap_.Remove(SlotNames[row]);
        slotMap_.Save();
        slotReports_[row].Clear();
        slotDefinedFlags_[row] = 0;
        Refresh();
    }
    settings_.WriteSetting(kSection, setting, mode);
}

int KeyDefinitionDialog::FunctionMode(int slot) const {
    if (slot <= 0 || slot >= kSlotCount) return 0;
    return controls_.SelectedListIndex(RowTable[slot].functionList);
}

void KeyDefinitionDialog::StoreFunctionMode(int row, int mode) {
    controls_.SelectListIndex(RowTable[row].functionList, mode);
    settings_.WriteSetting(kSection, RowTable[row].modeSetting, mode);
}

void KeyDefinitionDialog::ShowMessage(MessageId id) {
    const MessageText message = MessageFor(id, language_);
    controls_.ShowMessage(std::string(message.text), std::string(message.caption),
                          MessageIcon::None);
}

void KeyDefinitionDialog::OnButtonClicked(int id) {
    switch (id) {
        case ControlId::Save: SaveAllKeys(*this); break;
        case ControlId::Clear: ClearAllKeys(*this); break;
        case ControlId::GetDefinedKey: ReadBackAllKeys(*this); break;
        default: break;
    }
}

void KeyDefinitionDialog::OnFocusGained(int id) {
    if (exchanging_) return;
    if (const int slot = SlotOfValueBox(id); slot > 0) FocusRow(slot);
}

void KeyDefinitionDialog::OnSelectionChanged(int id) {
    if (exchanging_) return;
    if (const int slot = SlotOfValueBox(id); slot > 0) {
        PickCommandItem(slot);
    } else if (const int row = RowOfFunctionList(id); row > 0) {
        ChangeFunctionMode(row);
    } else if (id == kKeyCountList) {
        ApplyKeyCount();
    } else if (id == kLanguageList) {
        TakeTypedTexts();
        ApplyLanguage();
    }
}

void KeyDefinitionDialog::OnClearKey() { ClearCurrentSlot(); }

bool KeyDefinitionDialog::OnHelpRequest() { return true; }

void KeyDefinitionDialog::OnAboutCommand() { controls_.ShowAbout(); }

bool KeyDefinitionDialog::OnKeyMessage(const KeyMessage& message) {
    return chordCapture_.OnKeyMessage(message);
}

}  // namespace varnok
