#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "store/InPlaceFile.h"
#include "store/SlotMap.h"
#include "support/FileBytes.h"
#include "support/WindowHarness.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"

namespace varnok {
namespace {

struct Key {
    std::uint8_t virtualKey, scanByte;
};
constexpr Key kTab{0x09, 0x0F}, kEnter{0x0D, 0x1C}, kEscape{0x1B, 0x01}, kSpace{0x20, 0x39},
    kCtrl{0x11, 0x1D}, kC{0x43, 0x2E}, kA{0x41, 0x1E}, kF4{0x73, 0x3E};

class WindowRecordingTest : public WindowHarness {
protected:
    // Presses and releases the key; whether the window kept the press from the focused control.
    bool Stroke(Key key) {
        const bool taken =
            window->OnKeyEvent({KeyEventKind::KeyDown, key.virtualKey, key.scanByte});
        window->OnKeyEvent({KeyEventKind::KeyUp, key.virtualKey, key.scanByte});
        return taken;
    }
    // A fresh start: no settings, no msmap.dat.
    void Restart() {
        window.reset();
        controls = FocusReportingControls();
        settings = FallibleSettingsStore();
        std::filesystem::remove(directory.Path() / "msmap.dat");
        // A new owner: nothing is remembered of what the keyboard was given.
        std::error_code ignored;
        std::filesystem::remove_all(*UserStateFolder(), ignored);
        Start();
    }
    void CtrlC() { Chord({{kCtrl.virtualKey, kCtrl.scanByte}, {kC.virtualKey, kC.scanByte}}); }
};

// A row's box takes keys only while it records; it starts recording on a click, Enter or Space,
// and ends with the chord, a click into it again, or the focus leaving (which keep the old
// chord). Not recording, the keys work the window.
TEST_F(WindowRecordingTest, ARowTakesKeysOnlyWhileItRecords) {
    using Steps = std::function<void()>;
    struct Case {
        std::string name;
        Steps steps;
        std::string row1;
        std::string row2;
        bool recording;
        int closed;
    };
    const Case cases[] = {
        {"Tab through the window defines nothing",
         [this] {
             for (int i = 0; i < 14; ++i) Stroke(kTab);
         },
         "", "", false, 0},
        {"Enter on a row, then Tab, records Tab",
         [this] {
             controls.SetFocus(1024);
             Stroke(kEnter);
             Stroke(kTab);
         },
         "Tab|,", "", false, 0},
        {"Space on a row, then Escape, cancels and keeps the window open",
         [this] {
             controls.SetFocus(1025);
             Stroke(kSpace);
             Stroke(kEscape);
         },
         "", "", false, 0},
        {"a click, then Enter, records Enter",
         [this] {
             Focus(1024);
             Stroke(kEnter);
         },
         "Ret|,", "", false, 0},
        {"a new chord replaces the old one",
         [this] {
             Focus(1024);
             CtrlC();
             Focus(1024);
             Stroke(kA);
         },
         "A|,", "", false, 0},
        {"a click into the recording box cancels it",
         [this] {
             Focus(1024);
             CtrlC();
             Focus(1024);
             Press(kA.virtualKey, kA.scanByte);
             Focus(1024);
             Release(kA.virtualKey, kA.scanByte);
         },
         "Ctrl|C|,", "", false, 0},
        {"the focus leaving cancels it",
         [this] {
             Focus(1024);
             CtrlC();
             Focus(1024);
             Press(kCtrl.virtualKey, kCtrl.scanByte);
             controls.SetFocus(1000);
             Release(kCtrl.virtualKey, kCtrl.scanByte);
         },
         "Ctrl|C|,", "", false, 0},
        {"a click starts a recording that waits for its keys", [this] { Focus(1025); }, "",
         "Press the keys...", true, 0},
        {"not recording, typing goes nowhere",
         [this] {
             controls.SetFocus(1024);
             EXPECT_TRUE(Stroke(kA));
         },
         "", "", false, 0},
        {"not recording, F4 opens the box's list and Escape closes the window",
         [this] {
             controls.SetFocus(1024);
             EXPECT_FALSE(Stroke(kF4));
             Stroke(kEscape);
         },
         "", "", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        c.steps();
        EXPECT_EQ(controls.GetText(1024), c.row1);
        EXPECT_EQ(controls.GetText(1025), c.row2);
        EXPECT_EQ(window->Activity().IsRecording(), c.recording);
        EXPECT_EQ(controls.At(1025).recording, c.recording);
        EXPECT_EQ(controls.closed, c.closed);
        EXPECT_TRUE(controls.messages.empty());
    }
}

// A changed row, mode or key count marks the caption and is asked about before the window
// closes: Cancel keeps window and rows, Discard closes leaving msmap.dat as it was, Save saves
// and closes once the save succeeded.
TEST_F(WindowRecordingTest, UnsavedChangesAreAskedAboutBeforeClosing) {
    using Steps = std::function<void()>;
    struct Case {
        std::string name;
        Steps change;
        UnsavedAnswer answer;
        bool asked;
        int closed;
        bool keyboardWritten;
    };
    const Steps recordRow = [this] {
        Focus(1024);
        CtrlC();
    };
    const Case cases[] = {
        {"no change closes at once", [] {}, UnsavedAnswer::Cancel, false, 1, false},
        {"a chord, then Cancel", recordRow, UnsavedAnswer::Cancel, true, 0, false},
        {"a chord, then Discard", recordRow, UnsavedAnswer::Discard, true, 1, false},
        {"a chord, then Save", recordRow, UnsavedAnswer::Save, true, 1, true},
        {"a ready-made action", [this] { Choose(1024, 4); }, UnsavedAnswer::Cancel, true, 0, false},
        {"a mode", [this] { Choose(1054, 1); }, UnsavedAnswer::Cancel, true, 0, false},
        {"the key count", [this] { Choose(1020, 3); }, UnsavedAnswer::Cancel, true, 0, false},
        {"a key count changed back is no change",
         [this] {
             Choose(1020, 3);
             Choose(1020, 0);
         },
         UnsavedAnswer::Cancel, false, 1, false},
        {"a recording cancelled is no change",
         [this] {
             Focus(1024);
             Focus(1024);
         },
         UnsavedAnswer::Cancel, false, 1, false},
        {"a save that fails keeps the window",
         [&, this] {
             recordRow();
             keyboard.RefuseSet(keyboard.SetCount() + 1);
         },
         UnsavedAnswer::Save, true, 0, false},
    };
    const std::string caption(KeyDialogTemplate().caption);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        const Bytes mapBefore = ReadBytes(directory.Path() / "msmap.dat");
        const int savesBefore = keyboard.CompletedSaves();
        c.change();
        EXPECT_EQ(controls.caption, (c.asked ? "*" : "") + caption);
        controls.unsavedAnswers = {c.answer};
        Stroke(kEscape);
        EXPECT_EQ(controls.unsavedQuestions.size(), c.asked ? 1u : 0u);
        EXPECT_EQ(controls.closed, c.closed);
        EXPECT_EQ(keyboard.CompletedSaves() - savesBefore, c.keyboardWritten ? 1 : 0);
        if (c.closed == 0) {
            EXPECT_EQ(controls.caption, "*" + caption);
        } else if (!c.keyboardWritten) {
            EXPECT_EQ(ReadBytes(directory.Path() / "msmap.dat"), mapBefore);
        }
    }
    // The question speaks the window's language.
    Choose(1031, 1);
    Choose(1054, 1);
    Stroke(kEscape);
    ASSERT_FALSE(controls.unsavedQuestions.empty());
    const UnsavedQuestion& asked = controls.unsavedQuestions.back();
    EXPECT_EQ(asked.saveButton + asked.discardButton + asked.cancelButton, "保存放弃取消");
}

// Every change of the rows is undone by Ctrl+Z and redone by Ctrl+Y, msmap.dat included where
// the change wrote it (byte for byte); a new change after an undo leaves nothing to redo.
TEST_F(WindowRecordingTest, CtrlZUndoesEachChangeOfTheRowsAndCtrlYRedoesIt) {
    using Steps = std::function<void()>;
    struct Case {
        std::string name;
        Steps prepare;
        Steps change;
    };
    const Steps none = [] {};
    const Case cases[] = {
        {"a chord", none,
         [this] {
             Focus(1026);
             Stroke(kA);
         }},
        {"a ready-made action", none, [this] { Choose(1024, 4); }},
        {"a mode into String", none, [this] { Choose(1054, 2); }},
        {"the key count", none, [this] { Choose(1020, 4); }},
        {"a right click", [this] { controls.SetFocus(1025); }, [this] { window->OnClearKey(); }},
        {"Clear", none, [this] { Click(1004); }},
        {"a read-back",
         [this] {
             Focus(1026);
             Stroke(kA);
         },
         [this] { Click(1101); }},
        {"typing into a String row", [this] { Choose(1055, 2); }, [this] { Type(1025, "abc"); }},
    };
    const auto rows = [this] {
        std::string shown = std::to_string(controls.SelectedListIndex(1020));
        for (int slot = 1; slot <= 6; ++slot) {
            shown += " " + window->Model().Text(slot) + "/" +
                     std::to_string(window->Model().FunctionMode(slot)) + "/" +
                     std::to_string(Reports(slot).size());
        }
        return shown;
    };
    const auto ctrlAnd = [this](Key key, bool shift) {
        controls.held = {shift, true};
        Stroke(key);
        controls.held = {};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        const int saves = keyboard.CompletedSaves();
        Focus(1024);
        CtrlC();
        Focus(1025);
        Stroke(kA);
        Click(1000);
        ASSERT_EQ(keyboard.CompletedSaves(), saves + 1);
        controls.messages.clear();  // saved
        c.prepare();
        const std::string before = rows();
        const Bytes fileBefore = ReadBytes(directory.Path() / "msmap.dat");

        c.change();
        controls.messages.clear();  // what a flow said of itself
        const std::string after = rows();
        const Bytes fileAfter = ReadBytes(directory.Path() / "msmap.dat");
        ASSERT_NE(after, before);

        ctrlAnd({0x5A, 0x2C}, false);  // Ctrl+Z
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(ReadBytes(directory.Path() / "msmap.dat"), fileBefore);
        ctrlAnd({0x59, 0x15}, false);  // Ctrl+Y
        EXPECT_EQ(rows(), after);
        EXPECT_EQ(ReadBytes(directory.Path() / "msmap.dat"), fileAfter);
        ctrlAnd({0x5A, 0x2C}, false);
        ctrlAnd({0x5A, 0x2C}, true);  // Ctrl+Shift+Z
        EXPECT_EQ(rows(), after);

        // Undone, then changed anew: what was undone is gone, and a redo changes nothing.
        ctrlAnd({0x5A, 0x2C}, false);
        Choose(1020, 2);
        const std::string changedAnew = rows();
        ASSERT_NE(changedAnew, before);
        ASSERT_NE(changedAnew, after);
        const Bytes fileChangedAnew = ReadBytes(directory.Path() / "msmap.dat");
        ctrlAnd({0x59, 0x15}, false);
        EXPECT_EQ(rows(), changedAnew);
        EXPECT_EQ(ReadBytes(directory.Path() / "msmap.dat"), fileChangedAnew);
        EXPECT_TRUE(controls.messages.empty());
    }
}

}  // namespace
}  // namespace varnok

namespace varnok {
namespace {

// After a Save that did not reach the keyboard whole, Discard puts back the rows, msmap.dat and
// the settings of the last successful save, and the next start says whether the keyboard holds
// what the rows show: never "saved" when the keyboard never got the keys.
TEST_F(WindowRecordingTest, DiscardAfterAFailedSavePutsBackWhatTheKeyboardLastGot) {
    struct Case {
        std::string name;
        std::function<void(SimulatedKeyboard&)> fault;
        bool keyboardMixed;  // the keyboard took some records of the failed save
    };
    const Case cases[] = {
        {"no keyboard", [](SimulatedKeyboard& k) { k.Unplug(); }, false},
        {"the first record refused", [](SimulatedKeyboard& k) { k.RefuseSet(k.SetCount() + 1); },
         false},
        {"key 3 refused", [](SimulatedKeyboard& k) { k.RefuseSet(k.SetCount() + 5); }, true},
    };
    const std::string caption(KeyDialogTemplate().caption);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        keyboard.Plug();
        Focus(1024);
        CtrlC();
        Choose(1054, 1);
        Click(1000);
        ASSERT_EQ(controls.caption, caption);
        const Bytes savedMap = ReadBytes(directory.Path() / "msmap.dat");

        // Row 1 becomes Ctrl+A acting normally; the save fails.
        Focus(1024);
        Chord({{kCtrl.virtualKey, kCtrl.scanByte}, {kA.virtualKey, kA.scanByte}});
        Choose(1054, 0);
        c.fault(keyboard);
        Click(1000);
        controls.unsavedAnswers = {UnsavedAnswer::Discard};
        Stroke(kEscape);
        ASSERT_EQ(controls.closed, 1);
        EXPECT_EQ(ReadBytes(directory.Path() / "msmap.dat"), savedMap);
        EXPECT_EQ(settings.ReadSetting("Settings", "KeyFun1Sel", -1), 1);

        // The next start shows the rows as saved; unsaved only where the keyboard holds a mix.
        window.reset();
        controls = FocusReportingControls();
        keyboard.Plug();
        Start();
        EXPECT_EQ(controls.GetText(1024), "Ctrl|C|,");
        EXPECT_EQ(controls.SelectedListIndex(1054), 1);
        EXPECT_EQ(controls.caption, (c.keyboardMixed ? "*" : "") + caption);
        EXPECT_EQ(controls.GetText(ControlId::Status).find("does not hold these keys") !=
                      std::string::npos,
                  c.keyboardMixed)
            << controls.GetText(ControlId::Status);
    }
}

// Undo of Clear, a read-back or an import puts back only the keys the change took: a key another
// program saved since stays as it saved it, in the file, the rows and the next Save.
TEST_F(WindowRecordingTest, UndoKeepsAKeyAnotherProgramSavedSince) {
    Restart();
    Focus(1024);
    CtrlC();
    Choose(1020, 5);
    Choose(1028, 4);
    Click(1000);
    Click(ControlId::Clear);
    ASSERT_EQ(controls.GetText(1024), "");

    // Another program saves key 5 meanwhile.
    SlotMap other = SlotMap::InFile(directory.Path() / "msmap.dat");
    ASSERT_TRUE(other.Load());
    other.Set("key5", "Ctrl|V|,", ToSlotData(Bytes{0x01, 0x01, 0x00, 0x19, 0, 0, 0, 0}), 0);
    ASSERT_TRUE(other.Save());

    window->OnButtonClicked(ControlId::UndoEntry);
    EXPECT_EQ(controls.GetText(1024), "Ctrl|C|,");
    EXPECT_EQ(controls.GetText(1028), "Ctrl|V|,");
    SlotMap stored = SlotMap::InFile(directory.Path() / "msmap.dat");
    ASSERT_TRUE(stored.Load());
    ASSERT_NE(stored.Find("key1"), nullptr);
    ASSERT_NE(stored.Find("key5"), nullptr);
    EXPECT_EQ(stored.Find("key5")->text, "Ctrl|V|,");
    Click(1000);
    const auto record = keyboard.Table().Record(5);
    EXPECT_EQ(Bytes(record.begin(), record.end()),
              (Bytes{0x05, 0x08, 0x01, 0x01, 0x00, 0x19, 0, 0, 0, 0, 0xFF}));
}

}  // namespace
}  // namespace varnok
