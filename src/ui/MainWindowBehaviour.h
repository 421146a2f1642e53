#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/DeviceWatch.h"
#include "device/KeyboardLink.h"
#include "flows/FlowHost.h"
#include "keys/CaptureHost.h"
#include "keys/CaptureState.h"
#include "keys/KeyChordCapture.h"
#include "keys/KeySlotsModel.h"
#include "keys/MessageTexts.h"
#include "store/SettingsStore.h"
#include "ui/DialogControls.h"
#include "ui/DialogEvents.h"
#include "ui/FlowExecutor.h"
#include "ui/KeyboardPresence.h"
#include "ui/LayoutList.h"
#include "ui/RowsHistory.h"
#include "ui/WindowActivity.h"
#include "ui/WindowKeyRoute.h"

namespace varnok {

// The behaviour of the main key-definition window, toolkit-free: it drives the window's
// controls through DialogControls and reacts to what the platform reports through
// DialogEvents. The key table itself is the KeySlotsModel it owns; the window keeps what is
// the window's: its controls, language, key count, current row and Group Key boxes.
//
// Save, Clear and Get Defined Key run on the FlowExecutor. While one runs the window is busy:
// it shows the flow's progress, takes no edits and starts no second flow; the flow's messages
// appear when it ends.
//
// The status line says whether the keyboard is there. The window looks for it on the
// FlowExecutor too, one piece of work at a time: when it opens, when the platform or the
// device watch reports a change of devices, and from what each save or read-back found.
class MainWindowBehaviour : public DialogEvents, private CaptureHost {
public:
    // applicationName is the caption of the window's own message boxes (the executable's
    // base name).
    MainWindowBehaviour(DialogControls& controls, SettingsStore& settings, HidPlatform& hid,
                        KeySlotsModel model, FlowExecutor& executor, std::string applicationName);
    ~MainWindowBehaviour() override;

    // DialogEvents
    void OnInitDialog() override;
    void OnButtonClicked(int id) override;
    void OnFocusGained(int id) override;
    void OnValueBoxPressed(int id) override;
    void OnBackgroundPressed() override;
    void OnFocusLost(int id) override;
    void OnSelectionChanged(int id) override;
    void OnClearKey() override;
    bool OnHelpRequest() override;
    void OnAboutCommand() override;
    bool OnKeyEvent(const KeyEvent& message) override;
    void OnDevicesChanged() override;
    bool OnCloseRequest() override;
    void OnClosing() override;
    bool OnTextEdit(int id, const std::string& before, const std::string& after) override;

    // Model to controls.
    void Refresh();
    // Controls to model; false (after telling the user) when a value text is too long.
    bool Collect();
    void ApplyKeyCount();
    // Empties the current row's slot (a right click in its value box).
    void ClearCurrentSlot();

    // What the platform can say beyond "not connected" when no keyboard was found, in the
    // window's language: the status line shows it, and a flow's "not connected" message
    // carries it as its detail. Asked on the FlowExecutor's thread.
    using ConnectionAdvice = varnok::ConnectionAdvice;
    void SetConnectionAdvice(ConnectionAdvice advice);
    // Tells of device changes while the window is open; watched from the window's start to its
    // closing. Must outlive the window.
    void SetDeviceWatch(DeviceWatch& watch);
    // The language of the user's system (0 English, 1 Chinese): the window's language until
    // the user chooses one.
    void SetSystemLanguage(std::int32_t language) { systemLanguage_ = language; }
    // The keyboard layouts the layout list offers; without one it offers US only. Must
    // outlive the window.
    void SetLayoutSource(const KeyboardLayoutSource& source) { layoutSource_ = &source; }

    const KeySlotsModel& Model() const { return model_; }
    int CurrentSlot() const override { return currentSlot_; }
    std::int32_t Language() const { return language_; }
    bool FlowRunning() const { return activity_.FlowRunning(); }
    const WindowActivity& Activity() const { return activity_; }
    // Whether the rows, their modes or the key count differ from what was last saved, loaded
    // or read back from the keyboard.
    bool Unsaved() const;
    const KeyboardPresence& Presence() const { return presence_; }

private:
    // The flows' view of the window. Its calls may come from the flow's thread: progress is
    // posted to the window's thread, messages and function modes wait for the flow's end.
    class WindowFlowHost : public FlowHost {
    public:
        explicit WindowFlowHost(MainWindowBehaviour& window) : window_(window) {}
        void ShowMessage(MessageId id) override;
        void ShowKeyboardFailure(MessageId id,
                                 const std::optional<KeyboardFailure>& failure) override;
        void ShowFileProblem(MessageId id, const FileResult& result) override;
        void ShowUnfinishedSave(MessageId id, const UnfinishedSave& save) override;
        void ReportProgress(const FlowProgress& progress) override;
        void StoreFunctionMode(int row, std::int32_t mode) override;
        bool StopRequested() const override { return stop_; }

        void Reset();
        void RequestStop() { stop_ = true; }
        // A message the flow left for the window's thread, with the file, the save or the
        // keyboard's failure it is about.
        struct Message {
            MessageId id;
            std::optional<FileResult> file;
            std::optional<UnfinishedSave> save;
            std::optional<KeyboardFailure> failure;
        };
        std::vector<Message> TakeMessages();
        std::vector<std::pair<int, std::int32_t>> TakeFunctionModes();

    private:
        MainWindowBehaviour& window_;
        std::atomic<bool> stop_ = false;
        std::mutex mutex_;
        std::vector<Message> messages_;
        std::vector<std::pair<int, std::int32_t>> functionModes_;
    };

    // CaptureHost
    GroupKeys CheckedGroupKeys() override;
    void ShowRowTexts() override { Refresh(); }
    void ShowMessage(MessageId id) override;
    // id's message with what is known of the keyboard's failure: for "not connected" the
    // platform's advice, else the system's reason, in the window's language.
    void ShowKeyboardFailure(MessageId id, const std::optional<KeyboardFailure>& failure);
    // id's message with the file left alone and the reason, in the window's language.
    void ShowFileProblem(MessageId id, const FileResult& result);

    // The user's choices as the settings hold them (language, key count, rows' modes), shown
    // with the model's rows: at the start, and after an import stored new ones.
    void RestoreStoredChoices();
    // The context menu's export and import: the file comes from the platform's dialog.
    void ExportKeys();
    void ImportKeys();
    FileQuestion ProfileQuestion(FileQuestion::Purpose purpose) const;

    void ResetCapture();
    // A chord row's value box records: the row's definition waits aside until a chord is
    // complete (which replaces it) or the recording is cancelled (which brings it back).
    void StartRecording(int slot);
    void FinishRecording();
    void CancelRecording();
    // Routes a key press, given what has the focus.
    FocusedBox FocusedBoxOf(int focused) const;
    // What the rows show, their modes and the key count, as compared for unsaved changes.
    std::vector<std::string> ShownRows() const;
    // The rows as they are now are what the keyboard and msmap.dat hold.
    void MarkSaved();
    // The caption shows whether there are unsaved changes.
    void ShowUnsaved();
    void SaveKeys(bool closeWhenSaved);
    // Undo and redo of the changes to the rows. A change records the rows as they were first,
    // with msmap.dat's bytes when it writes the file.
    RowsState CurrentRows(bool withFile) const;
    void RecordChange(bool withFile = false);
    void Restore(RowsState state);
    void Undo();
    void Redo();
    // How each row's box takes keys (typed text in String rows) and what marks it carries.
    void ShowRowEntries();
    // What a screen reader says for each row's box: its key, and what it holds or that it
    // records.
    void ShowRowNames();
    void RestoreFunctionModes();
    void ApplyLanguage();
    // The String rows are typed with the layout list's choice, which the settings keep: one
    // change, undone with the rows.
    void ChangeLayout();
    // Makes the list's selection the layout in use and keeps it; false (the selection going
    // back, the reason shown) when the system cannot make it.
    bool KeepLayout();
    void FocusRow(int slot);
    void PickCommandItem(int slot);
    void ChangeFunctionMode(int row);
    // Selects a mode in a row's list and keeps it in the model and the settings.
    FileResult StoreFunctionMode(int row, std::int32_t mode);
    // Keeps one of the owner's choices in the settings store; says so when it cannot, once
    // until a choice is kept again.
    void StoreChoice(std::string_view name, std::int32_t value);
    // What the user typed into String rows is in their value boxes only until the next
    // Collect; the row operations refresh every row from the model, so they take it first.
    void TakeTypedTexts();
    // Runs a flow on the executor (it answers whether it did all it had to); afterRefresh: re-apply
    // the key count and refresh the rows when it ends; reachesKeyboard: what it found of the
    // keyboard goes to the status line.
    void RunFlow(std::function<bool()> flow, bool afterRefresh, bool reachesKeyboard);
    void StartFlow(std::function<bool()> flow, bool afterRefresh, bool reachesKeyboard);
    // While a flow runs only Exit takes input, and the window shows a busy cursor.
    void SetWindowBusy(bool busy);
    void EndFlow(bool afterRefresh);
    // Asks a running flow to stop at the next record and waits for it; what it would have done
    // on the window's thread at its end is dropped, its messages are kept.
    void StopFlow();
    void ShowFlowMessages();
    void ShowProgress(const FlowProgress& progress);
    // Looks for the keyboard on the executor, unless other work runs there: then once it ends.
    void LookForKeyboard();
    void EndLookForKeyboard();
    void ShowPresence();

    // Notifications that arrive while the window moves data to or from its controls are its
    // own doing, not the user's.
    class ExchangeGuard;

    DialogControls& controls_;
    SettingsStore& settings_;
    HidPlatform& hid_;
    std::string applicationName_;
    bool exchanging_ = false;
    // The last choice the settings store could not keep has been said.
    bool settingsProblemShown_ = false;

    std::int32_t language_ = 0;
    KeySlotsModel model_;
    KeyboardLink keyboardLink_;
    CaptureState capture_;
    KeyChordCapture chordCapture_{model_, capture_, *this};
    int currentSlot_ = 0;
    WindowActivity activity_;
    // The model as it was before the recording, brought back when it is cancelled.
    std::optional<KeySlotsModel> beforeRecording_;
    // Where each key's press went, by virtual-key code, until its release, which goes there
    // too. A release without its press (the Enter that closed a file dialog or a message) is
    // nobody's key and is dropped.
    std::array<std::optional<KeyRoute>, 256> pressRoutes_{};
    // What the rows were when last saved, loaded or read back.
    std::optional<std::vector<std::string>> savedRows_;
    // The rows, the map file and the settings as they were at the last load, successful save or
    // read-back: what Discard puts back.
    std::optional<RowsState> savedState_;
    // The keyboard does not hold the keys the rows started with: the status line says so and
    // the rows count as unsaved until a save or read-back succeeds.
    bool keyboardDiffers_ = false;
    // The question's Save answer closes the window once the save succeeded.
    bool closeWhenSaved_ = false;
    // A save or read-back that succeeds leaves the rows as the keyboard holds them.
    bool flowSettlesRows_ = false;
    RowsHistory history_;
    // The String row being typed into: its edits are one change until another change comes.
    int typingSlot_ = 0;
    // The key count the rows show (the list's index).
    int shownKeyCount_ = 0;
    // Set by the flow on the executor, read at its end.
    bool flowSucceeded_ = false;

    ConnectionAdvice connectionAdvice_;
    std::int32_t systemLanguage_ = 0;
    const KeyboardLayoutSource* layoutSource_ = nullptr;
    LayoutList layouts_;
    DeviceWatch* deviceWatch_ = nullptr;
    KeyboardPresence presence_;
    // What the work on the executor found; the window's thread takes it when the work is done.
    KeyboardPresence found_;
    bool looking_ = false;
    // Asked to look while other work ran.
    bool lookAgain_ = false;
    // A flow started while the window looked for the keyboard, run when the look is done.
    std::function<void()> waitingFlow_;

    FlowExecutor& executor_;
    WindowFlowHost flowHost_{*this};
    // The control that had the focus when the flow started: it has it again afterwards, so
    // that the window takes keys wherever the focus was.
    int focusBeforeFlow_ = 0;
};

}  // namespace varnok
