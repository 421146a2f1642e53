#include "ui/MainWindowBehaviour.h"

#include <algorithm>
#include <utility>

#include "flows/ClearAllKeys.h"
#include "flows/KeyboardCopy.h"
#include "flows/KeyboardFailureTexts.h"
#include "flows/ProfileFile.h"
#include "flows/ProfileFileTexts.h"
#include "flows/ReadBackAllKeys.h"
#include "flows/SaveAllKeys.h"
#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/RowText.h"
#include "keys/StoredChoices.h"
#include "keys/TypableString.h"
#include "store/FileProblemTexts.h"
#include "store/PathText.h"
#include "ui/AccessibleTextTable.h"
#include "ui/ContextMenuTable.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/RowControlTable.h"
#include "ui/ValueBoxAccessibleName.h"
#include "ui/WindowKeyRoute.h"
#include "ui/WindowLabelTable.h"
#include "ui/WindowPhraseTable.h"
#include "ui/WindowStatusTexts.h"

namespace varnok {
namespace {

constexpr int kLanguageList = ControlId::Language;
constexpr int kKeyCountList = ControlId::KeyCount;
constexpr int kLayoutList = ControlId::Layout;
constexpr int kPrompt = ControlId::Prompt;
constexpr int kHeading = ControlId::Heading;
constexpr int kCtrlBox = ControlId::Ctrl;
constexpr int kAltBox = ControlId::Alt;
constexpr int kShiftBox = ControlId::Shift;
constexpr int kSaveButton = ControlId::Save;

// The system reports PrintScreen by its release alone.
constexpr std::uint8_t kVirtualKeyPrintScreen = 0x2C;

bool IsPress(const KeyEvent& message) {
    return message.kind == KeyEventKind::KeyDown || message.kind == KeyEventKind::SysKeyDown;
}

}  // namespace

class MainWindowBehaviour::ExchangeGuard {
public:
    explicit ExchangeGuard(MainWindowBehaviour& window)
        : window_(window), previous_(std::exchange(window.exchanging_, true)) {}
    ~ExchangeGuard() { window_.exchanging_ = previous_; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

private:
    MainWindowBehaviour& window_;
    bool previous_;
};

void MainWindowBehaviour::WindowFlowHost::ShowMessage(MessageId id) {
    std::lock_guard lock(mutex_);
    messages_.push_back({id, std::nullopt, std::nullopt, std::nullopt});
}

void MainWindowBehaviour::WindowFlowHost::ShowKeyboardFailure(
    MessageId id, const std::optional<KeyboardFailure>& failure) {
    std::lock_guard lock(mutex_);
    messages_.push_back({id, std::nullopt, std::nullopt, failure});
}

void MainWindowBehaviour::WindowFlowHost::ShowFileProblem(MessageId id, const FileResult& result) {
    std::lock_guard lock(mutex_);
    messages_.push_back({id, result, std::nullopt, std::nullopt});
}

void MainWindowBehaviour::WindowFlowHost::ShowUnfinishedSave(MessageId id,
                                                             const UnfinishedSave& save) {
    std::lock_guard lock(mutex_);
    messages_.push_back({id, std::nullopt, save, std::nullopt});
}

void MainWindowBehaviour::WindowFlowHost::ReportProgress(const FlowProgress& progress) {
    MainWindowBehaviour& window = window_;
    window.executor_.Post([&window, progress] { window.ShowProgress(progress); });
}

void MainWindowBehaviour::WindowFlowHost::StoreFunctionMode(int row, std::int32_t mode) {
    std::lock_guard lock(mutex_);
    functionModes_.emplace_back(row, mode);
}

void MainWindowBehaviour::WindowFlowHost::Reset() {
    std::lock_guard lock(mutex_);
    stop_ = false;
    messages_.clear();
    functionModes_.clear();
}

std::vector<MainWindowBehaviour::WindowFlowHost::Message>
MainWindowBehaviour::WindowFlowHost::TakeMessages() {
    std::lock_guard lock(mutex_);
    return std::exchange(messages_, {});
}

std::vector<std::pair<int, std::int32_t>> MainWindowBehaviour::WindowFlowHost::TakeFunctionModes() {
    std::lock_guard lock(mutex_);
    return std::exchange(functionModes_, {});
}

MainWindowBehaviour::MainWindowBehaviour(DialogControls& controls, SettingsStore& settings,
                                         HidPlatform& hid, KeySlotsModel model,
                                         FlowExecutor& executor, std::string applicationName)
    : controls_(controls),
      settings_(settings),
      hid_(hid),
      applicationName_(std::move(applicationName)),
      model_(std::move(model)),
      keyboardLink_(hid),
      executor_(executor) {}

MainWindowBehaviour::~MainWindowBehaviour() {
    if (activity_.FlowRunning()) StopFlow();
    // A look for the keyboard may still be running on the worker thread, or have posted its
    // end: both use this object, so the look is waited for and what it posted is dropped.
    executor_.Abandon();
}

void MainWindowBehaviour::OnInitDialog() {
    Refresh();
    const FileResult loaded = model_.Load();

    controls_.AddListItem(kLanguageList, "English");
    controls_.AddListItem(kLanguageList, "Chinese");
    for (const char* count : {"1", "2", "3", "4", "5", "6"}) {
        controls_.AddListItem(kKeyCountList, count);
    }
    layouts_.Fill(layoutSource_, settings_.ReadText(kSettingsSection, kLayoutSetting));
    for (const LayoutOffer& entry : layouts_.Entries()) {
        controls_.AddListItem(kLayoutList, entry.description);
    }
    controls_.SelectListIndex(kLayoutList, layouts_.Selected());
    model_.SetLayout(layouts_.Layout());

    RestoreStoredChoices();
    MarkSaved();
    // Keys the keyboard never got whole are work still to save.
    keyboardDiffers_ = CompareWithKeyboard(model_) == KeyboardCopy::Differs;
    if (keyboardDiffers_) {
        savedRows_->clear();
        ShowUnsaved();
    }

    // The platform puts the focus on the first tab stop; slot 0 stays current until the user
    // enters a value box.
    controls_.SetFocus(kSaveButton);
    // The rows start empty; the file is never written (every Save says so again).
    if (!loaded && loaded.problem != FileProblem::Missing) {
        ShowFileProblem(MessageId::StoreNotLoaded, loaded);
    }

    if (deviceWatch_ != nullptr) {
        deviceWatch_->Start([this] { executor_.Post([this] { OnDevicesChanged(); }); });
    }
    LookForKeyboard();
}

void MainWindowBehaviour::RestoreStoredChoices() {
    language_ = StoredLanguage(settings_, systemLanguage_);
    controls_.SelectListIndex(kKeyCountList, StoredKeyCount(settings_) - 1);
    controls_.SelectListIndex(kLanguageList, language_);

    RestoreFunctionModes();
    model_.ShowTypedStrings();
    ApplyLanguage();
    ApplyKeyCount();
    Refresh();
}

FileQuestion MainWindowBehaviour::ProfileQuestion(FileQuestion::Purpose purpose) const {
    const ProfileText title = purpose == FileQuestion::Purpose::Save ? ProfileText::ExportTitle
                                                                     : ProfileText::ImportTitle;
    return {purpose, std::string(ProfileTextFor(title, language_)),
            std::string(ProfileTextFor(ProfileText::FileType, language_)),
            std::string(kProfileExtension),
            std::string(ProfileTextFor(ProfileText::AllFiles, language_))};
}

void MainWindowBehaviour::ExportKeys() {
    // What the String rows show is what goes into the profile.
    TakeTypedTexts();
    const std::filesystem::path file =
        controls_.AskFileName(ProfileQuestion(FileQuestion::Purpose::Save));
    if (file.empty()) return;
    std::string refusal = ProfileTargetRefusal(file, model_.Map().FilePath(), language_);
    if (refusal.empty()) {
        // The rows show what the keyboard types: a String row holds no text it does not.
        std::vector<std::string> notices;
        refusal =
            WriteProfileFile(ProfileOfStoredKeys(model_, settings_, notices), file, language_);
    }
    const std::string caption(ProfileTextFor(ProfileText::Caption, language_));
    if (!refusal.empty()) {
        controls_.ShowMessage(std::string(ProfileTextFor(ProfileText::NotExported, language_)),
                              caption, MessageIcon::Exclamation, refusal);
        return;
    }
    controls_.ShowMessage(std::string(ProfileTextFor(ProfileText::Exported, language_)), caption,
                          MessageIcon::None, PathText(file));
}

void MainWindowBehaviour::ImportKeys() {
    const std::filesystem::path file =
        controls_.AskFileName(ProfileQuestion(FileQuestion::Purpose::Open));
    if (file.empty()) return;
    std::string refusal;
    const std::optional<Profile> profile = ReadProfileFile(file, language_, refusal);
    if (!profile) {
        controls_.ShowMessage(std::string(ProfileTextFor(ProfileText::NotImported, language_)),
                              std::string(ProfileTextFor(ProfileText::Caption, language_)),
                              MessageIcon::Exclamation, refusal);
        return;
    }
    RecordChange(true);
    refusal = ImportProfile(*profile, model_, language_);
    // The window shows what a start with the stored keys and choices shows, whatever of them
    // the import could store.
    ResetCapture();
    RestoreStoredChoices();
    const bool imported = refusal.empty();
    controls_.ShowMessage(
        std::string(
            ProfileTextFor(imported ? ProfileText::Imported : ProfileText::NotImported, language_)),
        std::string(ProfileTextFor(ProfileText::Caption, language_)),
        imported ? MessageIcon::None : MessageIcon::Exclamation,
        imported ? std::string(ProfileTextFor(ProfileText::KeyboardAtNextSave, language_))
                 : refusal);
}

void MainWindowBehaviour::Refresh() {
    ExchangeGuard guard(*this);
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        const int box = RowControlTable[slot].valueBox;
        // A box that records says so until its first key names itself.
        const bool listening = box == activity_.RecordingBox() && model_.Text(slot).empty();
        controls_.SetText(
            box, listening ? std::string(WindowPhraseFor(WindowPhrase::Recording, language_))
                           : model_.Text(slot));
    }
    ShowRowEntries();
    ShowRowNames();

    // The hidden field selects the first list item that begins with the text; its list is
    // empty, so in practice it takes the text.
    const int hidden = RowControlTable[0].valueBox;
    const std::string& text = model_.Text(0);
    for (int i = 0; i < controls_.ListCount(hidden); ++i) {
        if (controls_.ListItem(hidden, i).starts_with(text)) {
            controls_.SelectListIndex(hidden, i);
            return;
        }
    }
    controls_.SetText(hidden, text);
}

bool MainWindowBehaviour::Collect() {
    ExchangeGuard guard(*this);
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        const int box = RowControlTable[slot].valueBox;
        model_.TakeText(slot, controls_.GetText(box));
        const RowTextUse use =
            model_.FunctionMode(slot) == kStringMode ? RowTextUse::TypedString : RowTextUse::Label;
        if (const RowTextCheck check = CheckRowText(model_.Text(slot), use); !check.Fits()) {
            controls_.ShowMessage(RowTextRefusalText(check, language_), applicationName_,
                                  MessageIcon::Exclamation, "");
            controls_.SetFocus(box);
            return false;
        }
    }
    model_.TakeText(0, controls_.GetText(RowControlTable[0].valueBox));
    return true;
}

void MainWindowBehaviour::ResetCapture() {
    capture_.lastKeyCode = 0;
    capture_.lastVirtualKey = 0;
    capture_.lastMessageKind = 0;
    capture_.keysInChord = 0;
    capture_.busy = 0;
}

void MainWindowBehaviour::ShowRowEntries() {
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        const int box = RowControlTable[slot].valueBox;
        const bool typed = model_.FunctionMode(slot) == kStringMode;
        controls_.SetValueEntry(box, typed ? ValueEntry::TypedText : ValueEntry::CapturedKeys);
        controls_.SetMark(
            box, typed ? StringRowMarkText(model_.Text(slot), model_.Shortfall(slot), language_)
                       : std::string());
    }
    ShowUnsaved();
}

void MainWindowBehaviour::ShowRowNames() {
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        const int box = RowControlTable[slot].valueBox;
        const auto text = std::ranges::find(AccessibleTextTable, box, &AccessibleText::control);
        const bool chinese = language_ != 0;
        controls_.SetAccessibleText(
            box,
            ValueBoxAccessibleName(chinese ? text->chineseName : text->englishName,
                                   model_.Text(slot), model_.FunctionMode(slot) != kStringMode,
                                   box == activity_.RecordingBox(), language_),
            std::string(chinese ? text->chineseDescription : text->englishDescription));
    }
}

void MainWindowBehaviour::StartRecording(int slot) {
    if (model_.FunctionMode(slot) == kStringMode) return;
    const int box = RowControlTable[slot].valueBox;
    if (!activity_.StartRecording(box)) return;
    TakeTypedTexts();
    beforeRecording_ = model_;
    currentSlot_ = slot;
    ResetCapture();
    controls_.ShowNotice("");
    model_.ForgetSlot(slot);
    controls_.SetRecording(box, true);
    Refresh();
}

void MainWindowBehaviour::FinishRecording() {
    const int box = activity_.RecordingBox();
    activity_.BackToIdle();
    if (beforeRecording_) {
        history_.Record({std::move(*beforeRecording_), shownKeyCount_, false, std::nullopt,
                         layouts_.SelectedEntry().name});
        typingSlot_ = 0;
    }
    beforeRecording_.reset();
    ResetCapture();
    controls_.SetRecording(box, false);
    Refresh();
}

void MainWindowBehaviour::CancelRecording() {
    if (!activity_.IsRecording()) return;
    const int box = activity_.RecordingBox();
    activity_.BackToIdle();
    if (beforeRecording_) model_ = *std::exchange(beforeRecording_, std::nullopt);
    ResetCapture();
    controls_.SetRecording(box, false);
    Refresh();
}

FocusedBox MainWindowBehaviour::FocusedBoxOf(int focused) const {
    const int slot = SlotOfValueBox(focused);
    if (slot <= 0) return FocusedBox::Other;
    if (focused == activity_.RecordingBox()) return FocusedBox::Recording;
    return model_.FunctionMode(slot) == kStringMode ? FocusedBox::TextBox : FocusedBox::ChordBox;
}

std::vector<std::string> MainWindowBehaviour::ShownRows() const {
    std::vector<std::string> rows;
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        std::array<std::uint8_t, 64> reports{};
        std::size_t copied = 0;
        model_.Reports(slot).CopyReports(reports, copied);
        rows.push_back(model_.Text(slot) + '\0' + std::to_string(model_.FunctionMode(slot)) + '\0' +
                       std::string(reports.begin(), reports.begin() + copied));
    }
    rows.push_back(std::to_string(controls_.SelectedListIndex(kKeyCountList)));
    // The keyboard holds the String rows as the layout typed them.
    rows.push_back(layouts_.SelectedEntry().name);
    return rows;
}

bool MainWindowBehaviour::Unsaved() const {
    return savedRows_ && *savedRows_ != ShownRows();
}

void MainWindowBehaviour::MarkSaved() {
    savedRows_ = ShownRows();
    savedState_ = CurrentRows(true);
    ShowUnsaved();
}

RowsState MainWindowBehaviour::CurrentRows(bool withFile) const {
    RowsState rows{model_, shownKeyCount_, withFile, std::nullopt, layouts_.SelectedEntry().name};
    // A file that cannot be read is left alone (it is never written either).
    if (withFile && !model_.Map().ReadFileBytes(rows.file)) rows.withFile = false;
    return rows;
}

void MainWindowBehaviour::RecordChange(bool withFile) {
    history_.Record(CurrentRows(withFile));
    typingSlot_ = 0;
}

void MainWindowBehaviour::Restore(RowsState state) {
    if (state.withFile) {
        // The map file, the rows' functions and the key count go back as one change.
        std::vector<SettingChange> settings = state.model.FunctionModeSettings();
        settings.push_back({std::string(kKeyCountSetting), state.keyCount});
        std::optional<std::vector<std::uint8_t>> now;
        const bool untouched = model_.Map().ReadFileBytes(now) &&
                               (now ? *now == model_.Map().Contents() : model_.Map().Size() == 0);
        FileResult put;
        // Nobody saved the file since this window: it goes back byte for byte. Otherwise a key
        // another program saved since stays as it saved it.
        put = untouched ? state.model.PutBackStore(state.file, settings)
                        : state.model.RevertStore(model_.Map(), settings);
        if (!put) {
            // Nothing changed: the rows stay as the file and the settings hold them.
            ShowFileProblem(MessageId::StoreNotSaved, put);
            return;
        }
    }
    model_ = std::move(state.model);
    controls_.SelectListIndex(kKeyCountList, state.keyCount);
    if (const int layout = layouts_.IndexOf(state.layout); layout != layouts_.Selected()) {
        controls_.SelectListIndex(kLayoutList, layout);
        KeepLayout();
    }
    ApplyKeyCount();
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        StoreFunctionMode(row, model_.FunctionMode(row));
    }
    ResetCapture();
    typingSlot_ = 0;
    Refresh();
}

void MainWindowBehaviour::Undo() {
    const RowsState* target = history_.NextUndo();
    if (target == nullptr) return;
    TakeTypedTexts();
    Restore(*history_.Undo(CurrentRows(target->withFile)));
}

void MainWindowBehaviour::Redo() {
    const RowsState* target = history_.NextRedo();
    if (target == nullptr) return;
    TakeTypedTexts();
    Restore(*history_.Redo(CurrentRows(target->withFile)));
}

void MainWindowBehaviour::ShowUnsaved() {
    const std::string caption(KeyDialogTemplate().caption);
    controls_.SetCaption(Unsaved() ? "*" + caption : caption);
    controls_.SetEnabled(ControlId::UndoEntry, history_.NextUndo() != nullptr);
    controls_.SetEnabled(ControlId::RedoEntry, history_.NextRedo() != nullptr);
}

void MainWindowBehaviour::RestoreFunctionModes() {
    const auto& names = FunctionModeNames(language_);
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        const int list = RowControlTable[row].functionList;
        controls_.ClearList(list);
        for (std::string_view name : names) controls_.AddListItem(list, std::string(name));
    }
    varnok::RestoreFunctionModes(model_, settings_);
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        controls_.SelectListIndex(RowControlTable[row].functionList, model_.FunctionMode(row));
    }
}

void MainWindowBehaviour::TakeTypedTexts() {
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        if (model_.FunctionMode(slot) == kStringMode) {
            model_.TakeText(slot, controls_.GetText(RowControlTable[slot].valueBox));
        }
    }
}

void MainWindowBehaviour::ApplyLanguage() {
    // Nothing selected keeps the language; a choice is stored as the list's index.
    if (const int selected = controls_.SelectedListIndex(kLanguageList); selected >= 0) {
        language_ = selected;
        StoreChoice(kLanguageSetting, language_);
    }
    controls_.SetLanguage(language_);
    RestoreFunctionModes();
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        const int box = RowControlTable[slot].valueBox;
        controls_.ClearList(box);
        for (const CommandItem& item : CommandItemTable) {
            controls_.AddListItem(box, std::string(language_ != 0 ? item.chineseName : item.name));
        }
    }
    for (const WindowLabel& label : WindowLabelTable) {
        controls_.SetText(label.id, std::string(WindowLabelFor(label.id, language_)));
    }
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        controls_.SetToolTip(RowControlTable[slot].valueBox,
                             std::string(WindowPhraseFor(WindowPhrase::ValueBoxHint, language_)));
    }
    for (const AccessibleText& text : AccessibleTextTable) {
        // The key count and layout lists are named by their labels, which the window relabels.
        const std::string_view name =
            text.control == kKeyCountList ? WindowLabelFor(ControlId::KeyCountLabel, language_)
            : text.control == kLayoutList ? WindowLabelFor(ControlId::LayoutLabel, language_)
            : language_ != 0              ? text.chineseName
                                          : text.englishName;
        controls_.SetAccessibleText(
            text.control, std::string(name),
            std::string(language_ != 0 ? text.chineseDescription : text.englishDescription));
    }
    for (const ContextMenuEntry& entry : ContextMenuTable) {
        if (entry.id != 0) {
            controls_.SetText(entry.id,
                              std::string(language_ != 0 ? entry.chinese : entry.english));
        }
    }
    Refresh();
    // The platform's advice comes in the language it was asked in.
    if (presence_.state == KeyboardPresence::State::Refused) LookForKeyboard();
    ShowPresence();
}

void MainWindowBehaviour::ApplyKeyCount() {
    const int k = controls_.SelectedListIndex(kKeyCountList);
    if (k < 0 || k > kSlotCount - 2) return;
    StoreChoice(kKeyCountSetting, k);
    shownKeyCount_ = k;
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        const bool shown = row <= k + 1;
        controls_.SetVisible(RowControlTable[row].valueBox, shown);
        controls_.SetVisible(RowControlTable[row].functionList, shown);
        if (RowControlTable[row].label != 0)
            controls_.SetVisible(RowControlTable[row].label, shown);
    }
    ShowUnsaved();
}

void MainWindowBehaviour::ClearCurrentSlot() {
    CancelRecording();
    if (!activity_.TakesEdits()) return;
    TakeTypedTexts();
    RecordChange();
    ResetCapture();
    model_.ForgetSlot(currentSlot_);
    Refresh();
}

void MainWindowBehaviour::FocusRow(int slot) {
    currentSlot_ = slot;
    typingSlot_ = 0;
    ResetCapture();
    controls_.ShowNotice("");
}

void MainWindowBehaviour::PickCommandItem(int slot) {
    const int index = controls_.SelectedListIndex(RowControlTable[slot].valueBox);
    if (index < 0 || index >= static_cast<int>(CommandItemTable.size())) return;
    TakeTypedTexts();
    RecordChange();
    currentSlot_ = slot;
    ResetCapture();
    model_.DefineCommandItem(slot, static_cast<std::size_t>(index));
    Refresh();
}

void MainWindowBehaviour::ChangeFunctionMode(int row) {
    const int previous = model_.FunctionMode(row);
    const int mode = controls_.SelectedListIndex(RowControlTable[row].functionList);
    if (mode < 0) return;
    TakeTypedTexts();
    const bool emptiesRow = previous != mode && (previous == kStringMode || mode == kStringMode);
    if (previous != mode) RecordChange(emptiesRow);
    model_.SetFunctionMode(row, mode);
    if (emptiesRow) {
        // Key names and typed strings don't mix: entering or leaving String empties the row.
        // The mode is stored at once, so the emptied slot is too: its record leaves msmap.dat
        // as the file is on disk (an entry with an empty text would bring the old text back,
        // and a String row would then send a key chord's name as a string). Other rows'
        // unsaved edits stay unsaved.
        model_.ForgetSlot(row);
        const FileResult stored = model_.ForgetStoredSlot(row);
        Refresh();
        if (!stored) ShowFileProblem(MessageId::StoreNotSaved, stored);
    }
    StoreChoice(kFunctionModeSettings[row], mode);
    ShowRowEntries();
}

FileResult MainWindowBehaviour::StoreFunctionMode(int row, std::int32_t mode) {
    controls_.SelectListIndex(RowControlTable[row].functionList, mode);
    model_.SetFunctionMode(row, controls_.SelectedListIndex(RowControlTable[row].functionList));
    return settings_.WriteSetting(kSettingsSection, kFunctionModeSettings[row], mode);
}

void MainWindowBehaviour::StoreChoice(std::string_view name, std::int32_t value) {
    const FileResult stored = settings_.WriteSetting(kSettingsSection, name, value);
    // Said once for a run of failures (a start stores two choices; a language change, more).
    if (!stored && !settingsProblemShown_) ShowFileProblem(MessageId::SettingsNotSaved, stored);
    settingsProblemShown_ = !stored;
}

void MainWindowBehaviour::ShowMessage(MessageId id) {
    ShowKeyboardFailure(id, std::nullopt);
}

void MainWindowBehaviour::ShowKeyboardFailure(MessageId id,
                                              const std::optional<KeyboardFailure>& failure) {
    const MessageText message = MessageFor(id, language_);
    const bool notConnected =
        id == MessageId::SaveNotConnected || id == MessageId::ReadNotConnected;
    // The advice on a keyboard this user may not open names the fix, which the system's
    // reason (permission denied) does not.
    std::string detail = notConnected ? presence_.advice : "";
    if (detail.empty() && failure) detail = DescribeKeyboardFailure(*failure, language_);
    controls_.ShowMessage(std::string(message.text), std::string(message.caption),
                          MessageIcon::None, detail);
}

void MainWindowBehaviour::ShowFileProblem(MessageId id, const FileResult& result) {
    const MessageText message = MessageFor(id, language_);
    controls_.ShowMessage(std::string(message.text), std::string(message.caption),
                          MessageIcon::Exclamation, DescribeFileResult(result, language_));
}

void MainWindowBehaviour::SetConnectionAdvice(ConnectionAdvice advice) {
    connectionAdvice_ = std::move(advice);
}

void MainWindowBehaviour::SetDeviceWatch(DeviceWatch& watch) {
    deviceWatch_ = &watch;
}

void MainWindowBehaviour::LookForKeyboard() {
    if (activity_.FlowRunning() || looking_) {
        lookAgain_ = true;
        return;
    }
    looking_ = true;
    lookAgain_ = false;
    executor_.Run(
        [this, language = language_] {
            found_ = varnok::LookForKeyboard(hid_, connectionAdvice_, language);
        },
        [this] { EndLookForKeyboard(); });
}

void MainWindowBehaviour::EndLookForKeyboard() {
    looking_ = false;
    presence_ = found_;
    ShowPresence();
    if (std::function<void()> flow = std::exchange(waitingFlow_, nullptr)) {
        flow();
    } else if (lookAgain_) {
        LookForKeyboard();
    }
}

void MainWindowBehaviour::ShowPresence() {
    std::string text = PresenceText(presence_, language_);
    if (keyboardDiffers_)
        text += (language_ == 0 ? "; " : "；") + std::string(KeyboardDiffersText(language_));
    controls_.SetText(ControlId::Status, text);
}

GroupKeys MainWindowBehaviour::CheckedGroupKeys() {
    return {controls_.IsChecked(kCtrlBox), controls_.IsChecked(kAltBox),
            controls_.IsChecked(kShiftBox)};
}

void MainWindowBehaviour::SetWindowBusy(bool busy) {
    // The window goes on painting and can be closed (Exit); nothing else takes input. The lines
    // that only show what goes on stay enabled: a disabled text is drawn grey, hard to read.
    for (const DialogControlTemplate& control : KeyDialogTemplate().controls) {
        const int id = control.id;
        const bool staysEnabled = id == ControlId::Exit || id == ControlId::ProgressText ||
                                  id == ControlId::Progress || id == ControlId::Status ||
                                  id == ControlId::Unnamed;
        if (!staysEnabled) controls_.SetEnabled(id, !busy);
    }
    controls_.SetBusy(busy);
}

void MainWindowBehaviour::RunFlow(std::function<bool()> flow, bool afterRefresh,
                                  bool reachesKeyboard) {
    CancelRecording();
    focusBeforeFlow_ = controls_.FocusedControl();
    if (!activity_.StartFlow()) return;
    flowSucceeded_ = false;
    flowHost_.Reset();
    controls_.ShowNotice("");
    SetWindowBusy(true);
    auto start = [this, flow = std::move(flow), afterRefresh, reachesKeyboard]() mutable {
        StartFlow(std::move(flow), afterRefresh, reachesKeyboard);
    };
    // The look for the keyboard takes moments; the flow starts as it ends.
    if (looking_) {
        waitingFlow_ = std::move(start);
    } else {
        start();
    }
}

void MainWindowBehaviour::StartFlow(std::function<bool()> flow, bool afterRefresh,
                                    bool reachesKeyboard) {
    executor_.Run(
        [this, flow = std::move(flow), reachesKeyboard, language = language_] {
            flowSucceeded_ = flow();
            if (!reachesKeyboard) return;
            // What the flow found of the keyboard is what the status line says; only a flow
            // that found none looks again, for the platform's reason.
            found_ = PresenceOfLink(keyboardLink_);
            if (found_.state == KeyboardPresence::State::Unknown) {
                found_ = varnok::LookForKeyboard(hid_, connectionAdvice_, language);
            }
        },
        [this, afterRefresh, reachesKeyboard] {
            if (reachesKeyboard) {
                presence_ = found_;
                ShowPresence();
            }
            EndFlow(afterRefresh);
        });
}

void MainWindowBehaviour::EndFlow(bool afterRefresh) {
    activity_.BackToIdle();
    controls_.ShowProgress("", 0, 0);
    SetWindowBusy(false);
    // One message for the rows whose modes the settings could not keep.
    FileResult modesStored;
    for (const auto& [row, mode] : flowHost_.TakeFunctionModes()) {
        if (FileResult stored = StoreFunctionMode(row, mode); !stored && modesStored) {
            modesStored = std::move(stored);
        }
    }
    if (afterRefresh) {
        // A read-back gives the rows the functions the keyboard holds.
        for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
            controls_.SelectListIndex(RowControlTable[row].functionList, model_.FunctionMode(row));
        }
        ApplyKeyCount();
        Refresh();
    } else if (!model_.SlotsChangedElsewhere().empty()) {
        // The save took keys another program saved meanwhile: the rows show them.
        Refresh();
    } else {
        // A save gives the keyboard what the rows show: what they lacked is settled.
        ShowRowEntries();
    }
    if (std::exchange(flowSettlesRows_, false) && flowSucceeded_) {
        keyboardDiffers_ = false;
        ShowPresence();
        MarkSaved();
    }
    // Disabled, the focused control lost the focus: it has it back, so keys reach the window.
    // A read-back may have hidden the row that had it: Save takes it then.
    const bool back = focusBeforeFlow_ != 0 && controls_.IsVisible(focusBeforeFlow_);
    controls_.SetFocus(back ? focusBeforeFlow_ : kSaveButton);
    ShowFlowMessages();
    if (!modesStored) ShowFileProblem(MessageId::SettingsNotSaved, modesStored);
    if (std::exchange(closeWhenSaved_, false) && flowSucceeded_) controls_.CloseWindow();
}

void MainWindowBehaviour::StopFlow() {
    flowHost_.RequestStop();
    executor_.Abandon();
    activity_.BackToIdle();
}

void MainWindowBehaviour::ShowFlowMessages() {
    for (const WindowFlowHost::Message& message : flowHost_.TakeMessages()) {
        if (message.file) {
            ShowFileProblem(message.id, *message.file);
        } else if (message.save) {
            const MessageText text = MessageFor(message.id, language_);
            controls_.ShowMessage(std::string(text.text), std::string(text.caption),
                                  MessageIcon::Exclamation,
                                  DescribeUnfinishedSave(*message.save, language_));
        } else {
            ShowKeyboardFailure(message.id, message.failure);
        }
    }
    if (lookAgain_) LookForKeyboard();
}

void MainWindowBehaviour::ShowProgress(const FlowProgress& progress) {
    if (!activity_.FlowRunning()) return;
    controls_.ShowProgress(ProgressText(progress, language_), progress.step, progress.steps);
}

void MainWindowBehaviour::SaveKeys(bool closeWhenSaved) {
    // A text the keyboard cannot hold stops the save before anything is written.
    if (!Collect()) return;
    closeWhenSaved_ = closeWhenSaved;
    flowSettlesRows_ = true;
    RunFlow([this] { return SaveAllKeys(model_, keyboardLink_, flowHost_); }, false, true);
}

void MainWindowBehaviour::OnButtonClicked(int id) {
    CancelRecording();
    if (!activity_.TakesEdits()) return;
    switch (id) {
        case ControlId::Save:
            SaveKeys(false);
            break;
        case ControlId::Clear:
            TakeTypedTexts();
            RecordChange(true);
            RunFlow([this] { return ClearAllKeys(model_, flowHost_); }, true, false);
            break;
        case ControlId::GetDefinedKey:
        case ControlId::ReadBackEntry:
            TakeTypedTexts();
            RecordChange(true);
            flowSettlesRows_ = true;
            RunFlow(
                [this] {
                    return ReadBackAllKeys(model_, keyboardLink_, flowHost_) &&
                           KeepReadBack(model_, flowHost_);
                },
                true, true);
            break;
        case ControlId::UndoEntry:
            Undo();
            break;
        case ControlId::RedoEntry:
            Redo();
            break;
        case ControlId::AboutEntry:
            controls_.ShowAbout();
            break;
        case ControlId::TestKeysEntry:
            // Presses are matched against what the rows show now, saved or not.
            TakeTypedTexts();
            controls_.ShowKeyTester(model_, language_);
            break;
        case ControlId::ExportEntry:
            ExportKeys();
            break;
        case ControlId::ImportEntry:
            ImportKeys();
            break;
        default:
            break;
    }
}

void MainWindowBehaviour::OnFocusGained(int id) {
    if (exchanging_ || !activity_.TakesEdits()) return;
    if (const int slot = SlotOfValueBox(id); slot > 0) FocusRow(slot);
}

void MainWindowBehaviour::OnValueBoxPressed(int id) {
    if (exchanging_) return;
    // A click into the box that records cancels its recording.
    if (activity_.IsRecording()) {
        const bool same = id == activity_.RecordingBox();
        CancelRecording();
        if (same) return;
    }
    if (const int slot = SlotOfValueBox(id); slot > 0) StartRecording(slot);
}

void MainWindowBehaviour::OnBackgroundPressed() {
    CancelRecording();
}

void MainWindowBehaviour::OnFocusLost(int id) {
    if (id == activity_.RecordingBox()) CancelRecording();
}

void MainWindowBehaviour::OnSelectionChanged(int id) {
    CancelRecording();
    if (exchanging_ || !activity_.TakesEdits()) return;
    if (const int slot = SlotOfValueBox(id); slot > 0) {
        PickCommandItem(slot);
    } else if (const int row = RowOfFunctionList(id); row > 0) {
        ChangeFunctionMode(row);
    } else if (id == kKeyCountList) {
        if (controls_.SelectedListIndex(kKeyCountList) != shownKeyCount_) RecordChange();
        ApplyKeyCount();
    } else if (id == kLanguageList) {
        TakeTypedTexts();
        ApplyLanguage();
    } else if (id == kLayoutList) {
        TakeTypedTexts();
        ChangeLayout();
    }
}

void MainWindowBehaviour::ChangeLayout() {
    const int chosen = controls_.SelectedListIndex(kLayoutList);
    if (chosen == layouts_.Selected()) return;
    const RowsState before = CurrentRows(false);
    if (!KeepLayout()) return;
    history_.Record(before);
    typingSlot_ = 0;
    // A row's text the new layout cannot type whole shows what it types, and is marked.
    model_.ShowTypedStrings();
    Refresh();
    ShowUnsaved();
}

bool MainWindowBehaviour::KeepLayout() {
    std::string error;
    if (!layouts_.Choose(controls_.SelectedListIndex(kLayoutList), error)) {
        controls_.SelectListIndex(kLayoutList, layouts_.Selected());
        controls_.ShowNotice(error);
        return false;
    }
    model_.SetLayout(layouts_.Layout());
    const FileResult stored =
        settings_.WriteText(kSettingsSection, kLayoutSetting, layouts_.SelectedEntry().name);
    if (!stored) ShowFileProblem(MessageId::SettingsNotSaved, stored);
    return true;
}

void MainWindowBehaviour::OnClearKey() {
    ClearCurrentSlot();
}

bool MainWindowBehaviour::OnHelpRequest() {
    return true;
}

void MainWindowBehaviour::OnAboutCommand() {
    controls_.ShowAbout();
}

bool MainWindowBehaviour::OnKeyEvent(const KeyEvent& message) {
    const bool press = IsPress(message);
    std::optional<KeyRoute>& pressRoute = pressRoutes_[message.virtualKey];
    // While a flow runs the model is the flow's, and while the window asks only the question
    // takes keys: keys go nowhere, and their releases neither.
    if (activity_.FlowRunning() || activity_.Current() == WindowActivity::State::Asking) {
        pressRoute.reset();
        return true;
    }
    const int focused = controls_.FocusedControl();
    if (!press) {
        std::optional<KeyRoute> route = std::exchange(pressRoute, std::nullopt);
        if (!route && message.virtualKey == kVirtualKeyPrintScreen) {
            route = RouteKeyPress(message, FocusedBoxOf(focused), controls_.Modifiers());
        }
        if (route == KeyRoute::ToControl) return false;
        // A key of a chord that is complete, or whose recording was cancelled, is let go.
        if (route == KeyRoute::Capture && activity_.IsRecording()) {
            chordCapture_.OnKeyEvent(message);
            if (model_.DefinedCount(currentSlot_) > 0) FinishRecording();
        }
        return true;
    }
    const KeyRoute route = RouteKeyPress(message, FocusedBoxOf(focused), controls_.Modifiers());
    pressRoute = route;
    switch (route) {
        case KeyRoute::Capture:
            chordCapture_.OnKeyEvent(message);
            return true;
        case KeyRoute::ToControl:
            return false;
        case KeyRoute::Swallow:
            return true;
        case KeyRoute::StartRecording:
            StartRecording(SlotOfValueBox(focused));
            return true;
        case KeyRoute::NextControl:
        case KeyRoute::PreviousControl:
            controls_.SetFocus(NextTabStop(KeyDialogTemplate(), controls_, focused,
                                           route == KeyRoute::PreviousControl));
            return true;
        case KeyRoute::CloseWindow:
            if (OnCloseRequest()) controls_.CloseWindow();
            return true;
        case KeyRoute::Undo:
            Undo();
            return true;
        case KeyRoute::Redo:
            Redo();
            return true;
        case KeyRoute::CancelRecording:
            CancelRecording();
            return true;
        case KeyRoute::ContextMenu:
            controls_.ShowContextMenu();
            return true;
    }
    return true;
}

bool MainWindowBehaviour::OnTextEdit(int id, const std::string& before, const std::string& after) {
    const int slot = SlotOfValueBox(id);
    if (slot <= 0 || !activity_.TakesEdits()) return false;
    // A chord row's text is the name of what it records: no paste, drop or input method edits it.
    if (model_.FunctionMode(slot) != kStringMode) return false;
    if (!TakesStringEdit(before, after, model_.Layout())) {
        controls_.ShowNotice(
            StringRefusalText(CheckTypableString(after, model_.Layout()), language_));
        return false;
    }
    controls_.ShowNotice("");
    // Each String row's typing is one change, until another change comes.
    if (typingSlot_ != slot) {
        RecordChange();
        typingSlot_ = slot;
    }
    // The row now shows what the user made of it; a mark for what it showed before goes.
    model_.TakeText(slot, after);
    controls_.SetMark(id, StringRowMarkText(after, model_.Shortfall(slot), language_));
    ShowRowNames();
    ShowUnsaved();
    return true;
}

void MainWindowBehaviour::OnDevicesChanged() {
    LookForKeyboard();
}

bool MainWindowBehaviour::OnCloseRequest() {
    // Closing while a flow runs stops it (see OnClosing); while the window asks, the question
    // is answered first.
    if (activity_.FlowRunning()) return true;
    if (activity_.Current() == WindowActivity::State::Asking) return false;
    CancelRecording();
    TakeTypedTexts();
    if (!Unsaved()) return true;
    const auto phrase = [this](WindowPhrase id) {
        return std::string(WindowPhraseFor(id, language_));
    };
    activity_.StartAsking();
    const UnsavedAnswer answer = controls_.AskUnsaved(
        {phrase(WindowPhrase::UnsavedQuestion), phrase(WindowPhrase::UnsavedDetail),
         applicationName_, phrase(WindowPhrase::SaveAnswer), phrase(WindowPhrase::DiscardAnswer),
         phrase(WindowPhrase::CancelAnswer)});
    activity_.BackToIdle();
    switch (answer) {
        case UnsavedAnswer::Discard:
            // The rows, the map file and the settings as they were at the last load, successful
            // save or read-back, whatever became of a save since.
            if (savedState_) Restore(*savedState_);
            return true;
        case UnsavedAnswer::Save:
            // The window ends once the save succeeded; a failed one says why and stays.
            SaveKeys(true);
            return false;
        case UnsavedAnswer::Cancel:
            return false;
    }
    return false;
}

void MainWindowBehaviour::OnClosing() {
    // No change is posted to the window from now on.
    if (deviceWatch_ != nullptr) deviceWatch_->Stop();
    if (looking_) {
        executor_.Abandon();
        looking_ = false;
        // A flow waiting for the look never starts.
        waitingFlow_ = nullptr;
    }
    if (!activity_.FlowRunning()) return;
    // The record being written is finished, then the flow stops and closes the link. The
    // window is still there: a save that stopped part way says, before it goes, which keys the
    // keyboard now holds new.
    StopFlow();
    ShowFlowMessages();
}

}  // namespace varnok
