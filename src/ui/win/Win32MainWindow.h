#pragma once

#include <windows.h>

#include <bitset>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "device/KeyboardInput.h"
#include "ui/DialogControls.h"
#include "ui/DialogEvents.h"
#include "ui/ThreadFlowExecutor.h"
#include "ui/win/ScreenFit.h"

struct IAccPropServices;

namespace varnok {

// The main key-definition window on Win32: a dialog made by the dialog manager from the key
// dialog template, run by a message loop of its own that hands every key message of the
// window to the behaviour first, as Windows delivers it. It is the DialogControls of the
// window's behaviour and reports what the user does to that behaviour's DialogEvents; it
// decides nothing itself.
class Win32MainWindow : public DialogControls {
public:
    // Makes the window's behaviour once the controls exist; the window owns it. The executor
    // runs the behaviour's flows on a worker thread and brings their results back to the
    // window's thread through a posted message.
    using EventsFactory = std::function<std::unique_ptr<DialogEvents>(DialogControls& controls,
                                                                      FlowExecutor& executor)>;

    // The icon resource of the program icon, in the window and the About box.
    static constexpr WORD kIconResource = 128;
    // The About entry of the system menu.
    static constexpr UINT kAboutCommand = 0x0010;

    explicit Win32MainWindow(EventsFactory makeEvents);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Shows the window and runs it until the user closes it (Exit, the close box, Close in
    // the system menu).
    void Run();

    HWND Handle() const { return dialog_; }

    // Opens the keyboard's own input for the key tester; nullptr and the reason (in the
    // language given) when there is none to read.
    using KeyboardInputSource =
        std::function<std::unique_ptr<KeyboardInput>(std::int32_t language, std::string& error)>;
    void SetKeyboardInputSource(KeyboardInputSource source);

    // DialogControls
    void SetText(int id, const std::string& text) override;
    std::string GetText(int id) const override;
    void ClearList(int id) override;
    void AddListItem(int id, const std::string& text) override;
    int ListCount(int id) const override;
    std::string ListItem(int id, int index) const override;
    void SelectListIndex(int id, int index) override;
    int SelectedListIndex(int id) const override;
    void SetVisible(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void SetFocus(int id) override;
    int FocusedControl() const override;
    HeldModifiers Modifiers() const override;
    void CloseWindow() override { Close(); }
    void SetCaption(const std::string& text) override;
    void SetRecording(int id, bool recording) override;
    void SetToolTip(int id, const std::string& text) override;
    UnsavedAnswer AskUnsaved(const UnsavedQuestion& question) override;
    void SetAccessibleText(int id, const std::string& name,
                           const std::string& description) override;
    void SetValueEntry(int id, ValueEntry entry) override;
    void SetMark(int id, const std::string& reason) override;
    void ShowNotice(const std::string& text) override;
    void SetEnabled(int id, bool enabled) override;
    void SetBusy(bool busy) override;
    void ShowProgress(const std::string& text, int step, int steps) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                     const std::string& detail) override;
    // The thread's language of the system's own texts (the message boxes' buttons, the file
    // dialogs), where Windows has that language.
    void SetLanguage(std::int32_t language) override;
    void ShowAbout() override;
    // Below the focused control, or at the window's corner when no control has the focus.
    void ShowContextMenu() override;
    void ShowKeyTester(const KeySlotsModel& model, std::int32_t language) override;
    std::filesystem::path AskFileName(const FileQuestion& question) override;

private:
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnContextMenu(HWND clicked, LPARAM where);
    void OpenContextMenu(POINT where);
    void Close();
    // Exit and the close box: the behaviour may ask about unsaved rows first.
    void RequestClose();
    // The tip over a value box's field: its mark's reason, or else its tooltip.
    void ShowTip(int id);
    // A key message for one of the window's controls, offered to the behaviour first; true
    // when the behaviour took it.
    bool PreFilterKey(const MSG& message);
    // Runs what the flow's thread queued for the window's thread.
    void RunPostedTasks();
    HWND Control(int id) const;
    static bool IsComboBox(HWND control);

    EventsFactory makeEvents_;
    HWND dialog_ = nullptr;
    ScreenFit screenFit_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND progressText_ = nullptr;
    HWND progressBar_ = nullptr;
    HWND noticeText_ = nullptr;
    // Holds the reasons of marked value boxes, shown over their edit fields.
    HWND markTips_ = nullptr;
    std::map<int, std::wstring> markReasons_;
    std::map<int, std::wstring> toolTips_;
    // Brings WM_DEVICECHANGE for HID interfaces arriving and leaving.
    HDEVNOTIFY deviceNotification_ = nullptr;
    // Gives the controls the names and descriptions screen readers say (an IAccPropServices);
    // nullptr where the system has no accessibility services.
    IAccPropServices* accessibility_ = nullptr;
    bool comStarted_ = false;
    bool busy_ = false;
    std::int32_t language_ = 0;
    bool ended_ = false;
    // The keys pressed while a list was open, by virtual-key code, until their release.
    std::bitset<256> keysOfOpenList_;
    // The context menu's entries (read-back, export, import) in the window's language, by
    // their ids.
    std::map<int, std::wstring> menuEntryTexts_;
    // The entries disabled (Undo and Redo with nothing to do), by their ids.
    std::map<int, bool> menuEntryDisabled_;

    KeyboardInputSource keyboardInput_;

    std::mutex tasksMutex_;
    std::deque<std::function<void()>> tasks_;
    // Declared before the behaviour, so that it outlives it: the behaviour waits for its flow
    // when it is destroyed.
    ThreadFlowExecutor executor_;
    std::unique_ptr<DialogEvents> events_;
};

}  // namespace varnok
