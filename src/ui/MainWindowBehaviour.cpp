#include "ui/MainWindowBehaviour.h"

#include <algorithm>
#include <utility>

#include "flows/ClearAllKeys.h"
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
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/RowControlTable.h"
#include "ui/WindowKeyRoute.h"
#include "ui/WindowLabelTable.h"
#include "ui/WindowStatusTexts.h"

namespace varnok {
namespace {

constexpr int kLanguageList = ControlId::Language;
constexpr int kKeyCountList = ControlId::KeyCount;
constexpr int kPrompt = ControlId::Prompt;
constexpr int kHeading = ControlId::Heading;
constexpr int kCtrlBox = ControlId::Ctrl;
constexpr int kAltBox = ControlId::Alt;
constexpr int kShiftBox = ControlId::Shift;
constexpr int kSaveButton = ControlId::Save;
constexpr std::uint8_t kVirtualKeyShift = 0x10;
constexpr std::uint8_t kVirtualKeyControl = 0x11;

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
    if (flowRunning_) StopFlow();
    // A look for the keyboard may still be running on the worker thread, or have posted its
    // end: both use this object, so the look is waited for and what it posted is dropped.
    executor_.Abandon();
}

void MainWindowBehaviour::OnInitDialog() {
    Refresh();
    const FileResult loaded = model_.Load();

    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        for (const CommandItem& item : CommandItemTable) {
            controls_.AddListItem(RowControlTable[slot].valueBox, std::string(item.name));
        }
    }

    controls_.AddListItem(kLanguageList, "English");
    controls_.AddListItem(kLanguageList, "Chinese");
    for (const char* count : {"1", "2", "3", "4", "5", "6"}) {
        controls_.AddListItem(kKeyCountList, count);
    }

    RestoreStoredChoices();

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
    language_ = StoredLanguage(settings_);
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
    dropKeyReleases_ = true;
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
    dropKeyReleases_ = true;
    if (file.empty()) return;
    std::string refusal;
    const std::optional<Profile> profile = ReadProfileFile(file, language_, refusal);
    if (!profile) {
        controls_.ShowMessage(std::string(ProfileTextFor(ProfileText::NotImported, language_)),
                              std::string(ProfileTextFor(ProfileText::Caption, language_)),
                              MessageIcon::Exclamation, refusal);
        return;
    }
    refusal = ImportProfile(*profile, model_, settings_, language_);
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
    controls_.SetChecked(kCtrlBox, groupKeys_.ctrl);
    controls_.SetChecked(kAltBox, groupKeys_.alt);
    controls_.SetChecked(kShiftBox, groupKeys_.shift);
    controls_.SetText(kPrompt, promptText_);
    controls_.SetText(kHeading, headingText_);
    for (int slot = kFirstRowSlot; slot < kSlotCount; ++slot) {
        controls_.SetText(RowControlTable[slot].valueBox, model_.Text(slot));
    }
    ShowRowEntries();

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
    groupKeys_ = {controls_.IsChecked(kCtrlBox), controls_.IsChecked(kAltBox),
                  controls_.IsChecked(kShiftBox)};
    promptText_ = controls_.GetText(kPrompt);
    headingText_ = controls_.GetText(kHeading);
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
        settings_.WriteSetting(kSettingsSection, kLanguageSetting, language_);
    }
    RestoreFunctionModes();
    promptText_ = std::string(WindowLabelFor(kPrompt, language_));
    headingText_ = std::string(WindowLabelFor(kHeading, language_));
    for (const WindowLabel& label : WindowLabelTable) {
        if (label.id != kPrompt && label.id != kHeading) {
            controls_.SetText(label.id, std::string(WindowLabelFor(label.id, language_)));
        }
    }
    for (const AccessibleText& text : AccessibleTextTable) {
        // The key count list is named by its label, which the window relabels.
        const std::string_view name = text.control == kKeyCountList
                                          ? WindowLabelFor(ControlId::KeyCountLabel, language_)
                                      : language_ != 0 ? text.chineseName
                                                       : text.englishName;
        controls_.SetAccessibleText(
            text.control, std::string(name),
            std::string(language_ != 0 ? text.chineseDescription : text.englishDescription));
    }
    Refresh();
    // The platform's advice comes in the language it was asked in.
    if (presence_.state == KeyboardPresence::State::Refused) LookForKeyboard();
    ShowPresence();
}

void MainWindowBehaviour::ApplyKeyCount() {
    const int k = controls_.SelectedListIndex(kKeyCountList);
    if (k < 0 || k > kSlotCount - 2) return;
    settings_.WriteSetting(kSettingsSection, kKeyCountSetting, k);
    for (int row = kFirstRowSlot; row < kSlotCount; ++row) {
        const bool shown = row <= k + 1;
        controls_.SetVisible(RowControlTable[row].valueBox, shown);
        controls_.SetVisible(RowControlTable[row].functionList, shown);
        if (RowControlTable[row].label != 0)
            controls_.SetVisible(RowControlTable[row].label, shown);
    }
}

void MainWindowBehaviour::ClearCurrentSlot() {
    if (flowRunning_) return;
    TakeTypedTexts();
    ResetCapture();
    model_.ForgetSlot(currentSlot_);
    Refresh();
}

void MainWindowBehaviour::FocusRow(int slot) {
    currentSlot_ = slot;
    ResetCapture();
    controls_.ShowNotice("");
}

void MainWindowBehaviour::PickCommandItem(int slot) {
    const int index = controls_.SelectedListIndex(RowControlTable[slot].valueBox);
    if (index < 0 || index >= static_cast<int>(CommandItemTable.size())) return;
    TakeTypedTexts();
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
    model_.SetFunctionMode(row, mode);
    if (previous != mode && (previous == kStringMode || mode == kStringMode)) {
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
    settings_.WriteSetting(kSettingsSection, kFunctionModeSettings[row], mode);
    ShowRowEntries();
}

void MainWindowBehaviour::StoreFunctionMode(int row, std::int32_t mode) {
    controls_.SelectListIndex(RowControlTable[row].functionList, mode);
    model_.SetFunctionMode(row, controls_.SelectedListIndex(RowControlTable[row].functionList));
    settings_.WriteSetting(kSettingsSection, kFunctionModeSettings[row], mode);
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
    if (flowRunning_ || looking_) {
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
    controls_.SetText(ControlId::Status, PresenceText(presence_, language_));
}

GroupKeys MainWindowBehaviour::CheckedGroupKeys() {
    // The boxes are read with every other field, as the window always collects them together.
    Collect();
    return groupKeys_;
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

void MainWindowBehaviour::RunFlow(std::function<void()> flow, bool afterRefresh,
                                  bool reachesKeyboard) {
    flowRunning_ = true;
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

void MainWindowBehaviour::StartFlow(std::function<void()> flow, bool afterRefresh,
                                    bool reachesKeyboard) {
    executor_.Run(
        [this, flow = std::move(flow), reachesKeyboard, language = language_] {
            flow();
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
    flowRunning_ = false;
    controls_.ShowProgress("", 0, 0);
    SetWindowBusy(false);
    for (const auto& [row, mode] : flowHost_.TakeFunctionModes()) StoreFunctionMode(row, mode);
    if (afterRefresh) {
        ApplyKeyCount();
        Refresh();
    } else if (!model_.SlotsChangedElsewhere().empty()) {
        // The save took keys another program saved meanwhile: the rows show them.
        Refresh();
    } else {
        // A save gives the keyboard what the rows show: what they lacked is settled.
        ShowRowEntries();
    }
    ShowFlowMessages();
}

void MainWindowBehaviour::StopFlow() {
    flowHost_.RequestStop();
    executor_.Abandon();
    flowRunning_ = false;
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
    if (!flowRunning_) return;
    controls_.ShowProgress(ProgressText(progress, language_), progress.step, progress.steps);
}

void MainWindowBehaviour::OnButtonClicked(int id) {
    if (flowRunning_) return;
    switch (id) {
        case ControlId::Save:
            // A text the keyboard cannot hold stops the save before anything is written.
            if (!Collect()) return;
            RunFlow([this] { SaveAllKeys(model_, keyboardLink_, flowHost_); }, false, true);
            break;
        case ControlId::Clear:
            RunFlow([this] { ClearAllKeys(model_, flowHost_); }, true, false);
            break;
        case ControlId::GetDefinedKey:
            RunFlow([this] { ReadBackAllKeys(model_, keyboardLink_, flowHost_); }, true, true);
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
    if (exchanging_ || flowRunning_) return;
    if (const int slot = SlotOfValueBox(id); slot > 0) FocusRow(slot);
}

void MainWindowBehaviour::OnSelectionChanged(int id) {
    if (exchanging_ || flowRunning_) return;
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
    // While a flow runs the model is the flow's: keys go nowhere.
    if (flowRunning_) return true;
    if (dropKeyReleases_) {
        if (message.kind == KeyEventKind::KeyUp || message.kind == KeyEventKind::SysKeyUp) {
            return true;
        }
        dropKeyReleases_ = false;
    }
    const int focused = controls_.FocusedControl();
    const int slot = SlotOfValueBox(focused);
    FocusedBox focus = FocusedBox::None;
    if (slot > 0 && model_.FunctionMode(slot) != kStringMode) {
        const bool begun = capture_.keysInChord > 0;
        focus = model_.DefinedCount(slot) > 0 && !begun ? FocusedBox::HoldsChord
                                                        : FocusedBox::TakesChord;
    }
    const bool press =
        message.kind == KeyEventKind::KeyDown || message.kind == KeyEventKind::SysKeyDown;
    // The release of a key pressed elsewhere (the Tab that moved the focus here) is no key of
    // a chord: it would record an empty one.
    if (!press && releaseNotCaptured_.test(message.virtualKey)) {
        releaseNotCaptured_.reset(message.virtualKey);
        if (focus != FocusedBox::None) return true;
    }
    const HeldModifiers held = controls_.Modifiers();
    const KeyRoute route = RouteKey(message, focus, held);
    if (press && route != KeyRoute::Capture) releaseNotCaptured_.set(message.virtualKey);
    switch (route) {
        case KeyRoute::Capture:
            return chordCapture_.OnKeyEvent(message);
        case KeyRoute::ToControl:
            return false;
        case KeyRoute::Swallow:
            return true;
        case KeyRoute::NextControl:
        case KeyRoute::PreviousControl:
            if (focus == FocusedBox::TakesChord) {
                // The chord the held keys began goes, and so do their releases.
                ResetCapture();
                model_.AbandonChord(slot);
                Refresh();
                if (held.shift) releaseNotCaptured_.set(kVirtualKeyShift);
                if (held.ctrl) releaseNotCaptured_.set(kVirtualKeyControl);
            }
            controls_.SetFocus(NextTabStop(KeyDialogTemplate(), controls_, focused,
                                           route == KeyRoute::PreviousControl));
            return true;
        case KeyRoute::CloseWindow:
            controls_.CloseWindow();
            return true;
    }
    return true;
}

bool MainWindowBehaviour::OnTextEdit(int id, const std::string& before, const std::string& after) {
    const int slot = SlotOfValueBox(id);
    if (slot <= 0 || flowRunning_) return false;
    if (model_.FunctionMode(slot) != kStringMode) return true;
    if (!TakesStringEdit(before, after)) {
        controls_.ShowNotice(StringRefusalText(CheckTypableString(after), language_));
        return false;
    }
    controls_.ShowNotice("");
    // The row now shows what the user made of it; a mark for what it showed before goes.
    model_.TakeText(slot, after);
    controls_.SetMark(id, StringRowMarkText(after, model_.Shortfall(slot), language_));
    return true;
}

void MainWindowBehaviour::OnDevicesChanged() {
    LookForKeyboard();
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
    if (!flowRunning_) return;
    // The record being written is finished, then the flow stops and closes the link. The
    // window is still there: a save that stopped part way says, before it goes, which keys the
    // keyboard now holds new.
    StopFlow();
    ShowFlowMessages();
}

}  // namespace varnok
