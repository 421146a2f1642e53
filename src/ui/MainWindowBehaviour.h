#pragma once

#include <atomic>
#include <bitset>
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
    void OnSelectionChanged(int id) override;
    void OnClearKey() override;
    bool OnHelpRequest() override;
    void OnAboutCommand() override;
    bool OnKeyEvent(const KeyEvent& message) override;
    void OnDevicesChanged() override;
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

    const KeySlotsModel& Model() const { return model_; }
    int CurrentSlot() const override { return currentSlot_; }
    std::int32_t Language() const { return language_; }
    bool FlowRunning() const { return flowRunning_; }
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
    // How each row's box takes keys (typed text in String rows) and what marks it carries.
    void ShowRowEntries();
    void RestoreFunctionModes();
    void ApplyLanguage();
    void FocusRow(int slot);
    void PickCommandItem(int slot);
    void ChangeFunctionMode(int row);
    // Selects a mode in a row's list and keeps it in the model and the settings.
    void StoreFunctionMode(int row, std::int32_t mode);
    // What the user typed into String rows is in their value boxes only until the next
    // Collect; the row operations refresh every row from the model, so they take it first.
    void TakeTypedTexts();
    // Runs a flow on the executor; afterRefresh: re-apply the key count and refresh the rows
    // when it ends; reachesKeyboard: what it found of the keyboard goes to the status line.
    void RunFlow(std::function<void()> flow, bool afterRefresh, bool reachesKeyboard);
    void StartFlow(std::function<void()> flow, bool afterRefresh, bool reachesKeyboard);
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

    std::int32_t language_ = 0;
    GroupKeys groupKeys_;
    std::string promptText_;
    std::string headingText_;
    KeySlotsModel model_;
    KeyboardLink keyboardLink_;
    CaptureState capture_;
    KeyChordCapture chordCapture_{model_, capture_, *this};
    int currentSlot_ = 0;
    // Keys pressed where they were not captured, by virtual-key code, until released.
    std::bitset<256> releaseNotCaptured_;

    ConnectionAdvice connectionAdvice_;
    DeviceWatch* deviceWatch_ = nullptr;
    KeyboardPresence presence_;
    // What the work on the executor found; the window's thread takes it when the work is done.
    KeyboardPresence found_;
    bool looking_ = false;
    // Asked to look while other work ran.
    bool lookAgain_ = false;
    // A flow started while the window looked for the keyboard, run when the look is done.
    std::function<void()> waitingFlow_;

    // A file dialog closes on a key press (Enter) whose release then comes to the window, as
    // may the release of the key that closed the message after it: releases without their press
    // are no keys of a chord, so they are dropped until the next press.
    bool dropKeyReleases_ = false;

    FlowExecutor& executor_;
    WindowFlowHost flowHost_{*this};
    bool flowRunning_ = false;
};

}  // namespace varnok
