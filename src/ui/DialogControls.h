#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace varnok {

class KeySlotsModel;

// Which icon a message box carries. The flows' boxes carry none; the length check of a value
// box shows an exclamation mark.
enum class MessageIcon { None, Exclamation };

// How a value box's edit field takes keys. In a chord row the window's key capture names the
// keys, and the field drops the Backspace and "." that still reach it (the repeats of a held
// key). In a String row the field edits its text as any text box does, and asks the window
// (DialogEvents::OnTextEdit) before it takes an edit.
enum class ValueEntry { CapturedKeys, TypedText };

// What a file dialog of the platform asks the user for: a file to write (the platform asks
// before an existing one is replaced) or an existing file to read. Its list of files shows
// those with the extension first (typeName, "*.json"), all files as the other choice; a name
// typed without an extension gets this one when a file is written.
struct FileQuestion {
    enum class Purpose { Save, Open };
    Purpose purpose;
    std::string title;
    std::string typeName;
    std::string extension;
    std::string allFilesName;
};

// Modifier keys held down while a key event came, as the system knows them (a Windows key
// message alone does not tell).
// The answers of the question the window asks before unsaved rows would be lost, and the
// texts of its buttons in the window's language.
enum class UnsavedAnswer { Save, Discard, Cancel };
struct UnsavedQuestion {
    std::string text;
    std::string detail;
    std::string caption;
    std::string saveButton;
    std::string discardButton;
    std::string cancelButton;
};

struct HeldModifiers {
    bool shift = false;
    bool ctrl = false;
};

// The controls of a dialog window, addressed by their control ids, as the window's behaviour
// sees them. Texts are UTF-8.
//
// Like the messages a Windows program sends to its own controls, none of these calls raises a
// notification back into the window's behaviour (a selection made here is not a "selection
// changed" by the user), except SetFocus: moving the focus is reported as a focus change, as
// the platform reports it.
//
// Ids that the window does not have are ignored by setters; getters answer as for an empty,
// hidden, unchecked control without a selection.
class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual void SetText(int id, const std::string& text) = 0;
    virtual std::string GetText(int id) const = 0;

    // List part of a combo box.
    virtual void ClearList(int id) = 0;
    virtual void AddListItem(int id, const std::string& text) = 0;
    virtual int ListCount(int id) const = 0;
    virtual std::string ListItem(int id, int index) const = 0;
    // An index the list does not have (-1 included) leaves the list without a selection.
    virtual void SelectListIndex(int id, int index) = 0;
    // -1 when nothing is selected.
    virtual int SelectedListIndex(int id) const = 0;

    virtual void SetVisible(int id, bool visible) = 0;
    virtual bool IsVisible(int id) const = 0;

    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    virtual void SetFocus(int id) = 0;
    // The control with the keyboard focus, a value box for any of its parts; 0 when no control
    // of the window has it.
    virtual int FocusedControl() const = 0;
    // What is held with the key event being handled.
    virtual HeldModifiers Modifiers() const = 0;
    // Ends the window as its Exit button does.
    virtual void CloseWindow() = 0;

    // The window's title bar.
    virtual void SetCaption(const std::string& text) = 0;

    // Value boxes only; every box starts with CapturedKeys.
    virtual void SetValueEntry(int id, ValueEntry entry) = 0;
    // A lasting mark on a control that says what is wrong with what it shows; the reason is
    // at hand where the control is (its tooltip). An empty reason takes the mark away.
    virtual void SetMark(int id, const std::string& reason) = 0;
    // A value box that records shows it plainly (a highlight); the behaviour sets its text.
    virtual void SetRecording(int id, bool recording) = 0;
    // The control's tooltip; a mark's reason shows in its place while the mark is on.
    virtual void SetToolTip(int id, const std::string& text) = 0;
    // What a screen reader says for the control; an empty name leaves the name its text gives.
    virtual void SetAccessibleText(int id, const std::string& name,
                                   const std::string& description) = 0;
    // A short line in the window that says why an input was refused; empty hides it.
    virtual void ShowNotice(const std::string& text) = 0;

    // A disabled control takes no input and looks so.
    virtual void SetEnabled(int id, bool enabled) = 0;
    // While the keyboard is written or read: the window shows a busy cursor.
    virtual void SetBusy(bool busy) = 0;
    // The progress line of a running flow: a text and a bar at step of steps; steps 0 hides
    // both.
    virtual void ShowProgress(const std::string& text, int step, int steps) = 0;

    // A modal message box with an OK button; returns when the user has closed it. detail, when
    // not empty, is a further paragraph under the text: why, and what the user can do.
    virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                             const std::string& detail) = 0;
    // A modal question with three buttons, Save the default; Cancel also when the user closes
    // it (Escape, its close box).
    virtual UnsavedAnswer AskUnsaved(const UnsavedQuestion& question) = 0;
    // The window's language (0 English, otherwise Chinese): what the platform itself says in
    // the window (its file dialogs, its message boxes' buttons) and the About box follow it.
    virtual void SetLanguage(std::int32_t language) = 0;
    // The modal About box, in the window's language.
    virtual void ShowAbout() = 0;
    // The window's context menu (ContextMenuTable), opened from the keyboard at the focused
    // control; a chosen entry comes back as DialogEvents::OnButtonClicked. An entry disabled
    // with SetEnabled is shown greyed and cannot be chosen.
    virtual void ShowContextMenu() = 0;
    // The key tester, modal until the user closes it: each press of the keyboard's keys, what
    // arrived and which of model's rows defines it, in the language given.
    virtual void ShowKeyTester(const KeySlotsModel& model, std::int32_t language) = 0;
    // The platform's modal file dialog; the file the user chose, or an empty path when the user
    // cancelled.
    virtual std::filesystem::path AskFileName(const FileQuestion& question) = 0;
};

}  // namespace varnok
