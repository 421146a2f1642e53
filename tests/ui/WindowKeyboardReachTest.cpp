#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "store/InPlaceFile.h"
#include "support/WindowHarness.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"

namespace varnok {
namespace {

struct Key {
    KeyEventKind kind;
    std::uint8_t virtualKey, scanByte;
};
constexpr Key kEscape{KeyEventKind::KeyDown, 0x1B, 0x01}, kCtrl{KeyEventKind::KeyDown, 0x11, 0x1D},
    kShift{KeyEventKind::KeyDown, 0x10, 0x2A}, kF10{KeyEventKind::SysKeyDown, 0x79, 0x44},
    kMenu{KeyEventKind::KeyDown, 0x5D, 0x5D}, kC{KeyEventKind::KeyDown, 0x43, 0x2E},
    kZ{KeyEventKind::KeyDown, 0x5A, 0x2C}, kY{KeyEventKind::KeyDown, 0x59, 0x15};

// Row 1 holds Ctrl+C, saved; row 2 is a String row holding "hi", saved.
class WindowKeyboardReachTest : public WindowHarness {
protected:
    // A fresh start: the keyboard, msmap.dat and the settings hold rows 1 and 2, saved.
    void StartSaved() {
        window.reset();
        controls = FocusReportingControls();
        settings = FallibleSettingsStore();
        settings.WriteSetting("Settings", "keynum", 1);
        settings.WriteSetting("Settings", "KeyFun2Sel", 2);
        std::filesystem::remove(directory.Path() / "msmap.dat");
        std::error_code ignored;
        std::filesystem::remove_all(*UserStateFolder(), ignored);
        Start();
        Focus(1024);
        Chord({{kCtrl.virtualKey, kCtrl.scanByte}, {kC.virtualKey, kC.scanByte}});
        Type(1025, "hi");
        Click(ControlId::Save);
        controls.messages.clear();
        controls.SetFocus(ControlId::Save);
    }
    void Down(Key key) { window->OnKeyEvent({key.kind, key.virtualKey, key.scanByte}); }
    void Up(Key key) {
        const bool system = key.kind == KeyEventKind::SysKeyDown;
        window->OnKeyEvent(
            {system ? KeyEventKind::SysKeyUp : KeyEventKind::KeyUp, key.virtualKey, key.scanByte});
    }
    // Presses the keys in order with the modifiers among them held, then lets them go.
    void Keys(std::vector<Key> keys) {
        for (const Key& key : keys) {
            Down(key);
            if (key.virtualKey == kCtrl.virtualKey) controls.held.ctrl = true;
            if (key.virtualKey == kShift.virtualKey) controls.held.shift = true;
        }
        controls.held = {};
        for (auto it = keys.rbegin(); it != keys.rend(); ++it) Up(*it);
    }
    bool Starred() const { return controls.caption.starts_with('*'); }
};

// Escape alone and a click outside the box end a recording and keep the row's chord; Escape is
// still definable. Shift+F10 and the Menu key open the context menu wherever the focus is, but
// in the box that records, whose chord they are.
TEST_F(WindowKeyboardReachTest, KeysAndClicksEndARecordingOrOpenTheMenu) {
    struct Case {
        std::string name;
        std::function<void()> steps;
        std::string row1;
        bool starred;
        int menus;
    };
    const Case cases[] = {
        {"Escape while row 1 records", [this] { Focus(1024), Keys({kEscape}); }, "Ctrl|C|,", false,
         0},
        {"Escape with Ctrl held is recorded",
         [this] {
             Focus(1024), Keys({kCtrl, kEscape});
         },
         "Ctrl|Esc|,", true, 0},
        {"a click on the background", [this] { Focus(1024), window->OnBackgroundPressed(); },
         "Ctrl|C|,", false, 0},
        {"Esc from the row's list", [this] { Choose(1024, 7); }, "Esc", true, 0},
        {"Shift+F10 on Save",
         [this] {
             Keys({kShift, kF10});
         },
         "Ctrl|C|,", false, 1},
        {"the Menu key on a row that does not record",
         [this] { controls.SetFocus(1024), Keys({kMenu}); }, "Ctrl|C|,", false, 1},
        {"Shift+F10 while row 1 records is its chord",
         [this] {
             Focus(1024), Keys({kShift, kF10});
         },
         "Shift|F10|,", true, 0},
        {"a right click empties row 1, then Shift+F10 opens the menu",
         [this] {
             controls.SetFocus(1024);
             window->OnClearKey();
             Keys({kShift, kF10});
         },
         "", true, 1},
        {"then Read keys from keyboard refills it",
         [this] {
             controls.SetFocus(1024);
             window->OnClearKey();
             Keys({kShift, kF10});
             Click(ControlId::ReadBackEntry);
             EXPECT_EQ(Messages(), std::vector<std::string>{"Information!: Get Key Successful!"});
             controls.messages.clear();
         },
         "Ctrl|C|,", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartSaved();
        c.steps();
        EXPECT_EQ(controls.GetText(1024), c.row1);
        EXPECT_EQ(Starred(), c.starred);
        EXPECT_EQ(controls.contextMenus, c.menus);
        EXPECT_FALSE(window->Activity().IsRecording());
        EXPECT_FALSE(controls.At(1024).recording);
        EXPECT_EQ(controls.closed, 0);
        EXPECT_TRUE(controls.messages.empty());
    }
    // The ready-made Esc is the Escape key's report alone, named in the window's language.
    Choose(1024, 7);
    EXPECT_EQ(Reports(1), (std::vector<std::uint8_t>{0x01, 0x00, 0x00, 0x29, 0, 0, 0, 0}));
    Choose(1031, 1);
    EXPECT_EQ(controls.ListItem(1024, 7), "Esc 键");
    EXPECT_EQ(controls.GetText(1024), "Esc");
}

// A paste (or drop, or input method) never edits a chord row; in a String row it passes the
// check typing passes and is a change like any other: unsaved, undone by Ctrl+Z.
TEST_F(WindowKeyboardReachTest, APasteReachesOnlyAStringRow) {
    struct Case {
        int box;
        std::string pasted;
        bool taken;
        std::string notice;
    };
    const Case cases[] = {
        {1024, "Ctrl|C|,hello", false, ""},
        {1024, "", false, ""},
        {1025, "hihello", true, ""},
        {1025, "hi中", false, "The keyboard has no key for \"中\"."},
        {1025, "hiabcdefghijklm", false, "A string key holds at most 14 characters."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        StartSaved();
        const std::string before = controls.GetText(c.box);
        const bool taken = window->OnTextEdit(c.box, before, c.pasted);
        EXPECT_EQ(taken, c.taken);
        if (taken) controls.SetText(c.box, c.pasted);
        EXPECT_EQ(window->Model().Text(c.box - 1023), taken ? c.pasted : before);
        EXPECT_EQ(Starred(), c.taken);
        EXPECT_EQ(controls.notice, c.notice);
        if (!taken) continue;
        controls.held.ctrl = true;
        Keys({kZ});
        EXPECT_EQ(controls.GetText(c.box), before);
        EXPECT_FALSE(Starred());
    }
}

// The menu's Undo and Redo are greyed while there is nothing to undo or redo.
TEST_F(WindowKeyboardReachTest, UndoAndRedoAreGreyedWithNothingToDo) {
    struct Step {
        std::string name;
        std::function<void()> act;
        bool undo, redo;
    };
    const auto ctrl = [this](Key key) {
        controls.held.ctrl = true;
        Keys({key});
    };
    const Step steps[] = {
        {"the start", [] {}, false, false},
        {"a change", [this] { Choose(1024, 4); }, true, false},
        {"a recording cancelled", [this] { Focus(1026), Keys({kEscape}); }, true, false},
        {"undone", [&] { ctrl(kZ); }, false, true},
        {"redone", [&] { ctrl(kY); }, true, false},
        {"undone, then a new change", [&] { ctrl(kZ), Choose(1024, 2); }, true, false},
    };
    Start();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(controls.At(ControlId::UndoEntry).enabled, step.undo);
        EXPECT_EQ(controls.At(ControlId::RedoEntry).enabled, step.redo);
    }
}

// A screen reader hears a row's key and what it holds, and that it records, in the window's
// language; the name changes as the row does.
TEST_F(WindowKeyboardReachTest, ARowsBoxSaysItsKeyAndWhatItHolds) {
    struct Case {
        std::string name;
        std::function<void()> steps;
        std::string row1, row2;
    };
    const Case cases[] = {
        {"as saved", [] {}, "Key 1, Ctrl+C", "Key 2, hi"},
        {"recording", [this] { Focus(1024); }, "Key 1, recording: press the keys", "Key 2, hi"},
        {"a chord with a comma key",
         [this] {
             Focus(1024), Keys({kCtrl, {KeyEventKind::KeyDown, 0xBC, 0x33}});
         },
         "Key 1, Ctrl+,", "Key 2, hi"},
        {"a right click and typing",
         [this] { controls.SetFocus(1024), window->OnClearKey(), Type(1025, "!"); }, "Key 1, empty",
         "Key 2, hi!"},
        {"in Chinese", [this] { Choose(1031, 1); }, "按键 1，Ctrl+C", "按键 2，hi"},
        {"recording in Chinese", [this] { Choose(1031, 1), Focus(1024); },
         "按键 1，录制中：请按下按键", "按键 2，hi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartSaved();
        c.steps();
        EXPECT_EQ(controls.At(1024).accessibleName, c.row1);
        EXPECT_EQ(controls.At(1025).accessibleName, c.row2);
        EXPECT_FALSE(controls.At(1024).accessibleDescription.empty());
    }
}

}  // namespace
}  // namespace varnok
