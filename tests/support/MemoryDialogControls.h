#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/DialogControls.h"

namespace varnok {

// The window's controls held in memory, so the window's behaviour runs without a display.
// A control exists once anything has been set on it; tests read the state back directly.
class MemoryDialogControls : public DialogControls {
public:
    struct Control {
        std::string text;
        std::vector<std::string> items;
        int selected = -1;
        bool visible = true;
        bool checked = false;
        ValueEntry entry = ValueEntry::CapturedKeys;
        std::string mark;
        bool enabled = true;
        std::string accessibleName;
        std::string accessibleDescription;
        bool recording = false;
        std::string toolTip;
    };
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
        std::string detail;
    };

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
    int FocusedControl() const override { return focused; }
    HeldModifiers Modifiers() const override { return held; }
    void CloseWindow() override { ++closed; }
    void SetAccessibleText(int id, const std::string& name,
                           const std::string& description) override {
        controls[id].accessibleName = name;
        controls[id].accessibleDescription = description;
    }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetRecording(int id, bool recording) override { controls[id].recording = recording; }
    void SetToolTip(int id, const std::string& text) override { controls[id].toolTip = text; }
    UnsavedAnswer AskUnsaved(const UnsavedQuestion& question) override;
    void SetValueEntry(int id, ValueEntry entry) override;
    void SetMark(int id, const std::string& reason) override;
    void ShowNotice(const std::string& text) override;
    void SetEnabled(int id, bool enabled) override { controls[id].enabled = enabled; }
    void SetBusy(bool busy) override;
    void ShowProgress(const std::string& text, int step, int steps) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                     const std::string& detail) override;
    void SetLanguage(std::int32_t language) override { platformLanguage = language; }
    void ShowAbout() override;
    void ShowContextMenu() override { ++contextMenus; }
    void ShowKeyTester(const KeySlotsModel& model, std::int32_t language) override;
    std::filesystem::path AskFileName(const FileQuestion& question) override;

    std::map<int, Control> controls;
    std::vector<Message> messages;
    int focused = 0;
    HeldModifiers held;
    int closed = 0;
    std::string caption;
    // The answers the user gives the unsaved-changes question, in order; none left is Cancel.
    std::vector<UnsavedAnswer> unsavedAnswers;
    std::vector<UnsavedQuestion> unsavedQuestions;
    int aboutShown = 0;
    int contextMenus = 0;
    int keyTesterShown = 0;
    // The language the platform's own texts were last set to; -2 before the first time.
    std::int32_t platformLanguage = -2;
    bool busy = false;
    // The refusal line as it stands.
    std::string notice;
    // Every progress line shown, in order ("" when it was hidden).
    std::vector<std::string> progress;

    // The files the user picks in the file dialogs, in order; none left is a cancelled dialog.
    std::vector<std::filesystem::path> fileAnswers;
    std::vector<FileQuestion> fileQuestions;

    const Control& At(int id) const;
};

}  // namespace varnok
