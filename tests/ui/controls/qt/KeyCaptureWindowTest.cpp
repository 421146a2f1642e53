#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MemorySettingsStore.h"
#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "keys/SlotNames.h"
#include "keys/qt/QtKeyEventTranslator.h"
#include "store/SlotMap.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/WindowPhraseTable.h"
#include "ui/controls/qt/KeyCaptureComboBox.h"
#include "ui/controls/qt/KeyCaptureEdit.h"
#include "ui/controls/qt/PhysicalKeyboard.h"
#include "ui/controls/qt/PopupWatch.h"
#include "ui/qt/CapturePreFilter.h"
#include "ui/qt/QtMainWindow.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kCtrlC = {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00};

// The main window as Varnok puts it together: the real window behaviour, the key-capture
// value boxes and the Qt key translation in the window's pre-filter, on the simulated
// keyboard, with msmap.dat in a temporary directory. All six rows are shown; row 2 takes
// typed strings.
class KeyCaptureWindow : public ::testing::Test {
protected:
    KeyCaptureWindow() {
        settings.WriteSetting("Settings", "keynum", 5);
        settings.WriteSetting("Settings", "KeyFun2Sel", 2);
        window = std::make_unique<QtMainWindow>(
            [this](DialogControls& controls, FlowExecutor& executor) {
                auto made = std::make_unique<MainWindowBehaviour>(
                    controls, settings, keyboard,
                    KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)),
                    executor, "varnok");
                dialog = made.get();
                return made;
            },
            MakeKeyCaptureValueBox);
        window->SetKeyPreFilter(CapturePreFilter(keys, *dialog));
    }

    void SetUp() override {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // The value boxes filter once their edit fields have been painted.
        ASSERT_TRUE(QTest::qWaitFor([this] {
            for (int id = ControlId::ValueBox1; id <= ControlId::ValueBox6; ++id) {
                if (!Edit(id)->IsAttached()) return false;
            }
            return true;
        }));
    }

    QComboBox* Box(int id) const { return qobject_cast<QComboBox*>(window->Control(id)); }
    KeyCaptureEdit* Edit(int id) const {
        return qobject_cast<KeyCaptureEdit*>(Box(id)->lineEdit());
    }

    // A mouse press and release at a point of a widget, delivered to its window as the
    // platform delivers them (so a right press also asks for a context menu).
    static void Click(QWidget* widget, QPoint point, Qt::MouseButton button) {
        QWindow* handle = widget->window()->windowHandle();
        const QPoint at = handle->mapFromGlobal(widget->mapToGlobal(point));
        QTest::mouseClick(handle, button, {}, at);
        QApplication::processEvents();
    }
    static void Click(QWidget* widget, Qt::MouseButton button) {
        Click(widget, widget->rect().center(), button);
    }
    // Clicks into a value box's edit field, which makes its slot the current one.
    void Enter(int id) {
        Click(Edit(id), Qt::LeftButton);
        ASSERT_EQ(QApplication::focusWidget(), Box(id));
    }
    void CaptureCtrlC(int id) {
        Enter(id);
        physical.Press("Ctrl");
        physical.Press("c");
        physical.Release("c");
        physical.Release("Ctrl");
    }

    Bytes Reports(int slot) const {
        Bytes bytes;
        for (const KeyReport& report : dialog->Model().Reports(slot).RecordedReports()) {
            bytes.insert(bytes.end(), report.begin(), report.end());
        }
        return bytes;
    }
    Bytes StoredReport(int slot) const {
        const SlotEntry* entry = dialog->Model().Map().Find(SlotNames[slot]);
        if (entry == nullptr) return {};
        return Bytes(entry->data.begin(), entry->data.begin() + 8);
    }
    std::string Shown(int id) const { return window->GetText(id); }

    TempDirectory directory;
    MemorySettingsStore settings;
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    QtKeyEventTranslator keys;
    PhysicalKeyboard physical;
    MainWindowBehaviour* dialog = nullptr;
    std::unique_ptr<QtMainWindow> window;
};

// Ctrl+C pressed in row 1 travels from the key events through the pre-filter and the capture
// into the row, the slot's report and its map entry; none of it reaches the edit field.
TEST_F(KeyCaptureWindow, ChordPressedInANormalRowDefinesTheSlot) {
    CaptureCtrlC(ControlId::ValueBox1);

    EXPECT_EQ(dialog->CurrentSlot(), 1);
    EXPECT_EQ(Shown(ControlId::ValueBox1), "Ctrl|C|,");
    EXPECT_EQ(Reports(1), kCtrlC);
    EXPECT_EQ(StoredReport(1), kCtrlC);
    EXPECT_GE(dialog->Model().DefinedCount(1), 1);
    EXPECT_TRUE(Reports(2).empty());
}

// What typing leaves in a value box: in a String row the keys reach the edit field, which
// edits as any text box; in a Normal row the capture takes them all, Backspace included.
TEST_F(KeyCaptureWindow, TypingIntoAValueBox) {
    struct Case {
        const char* what;
        int box;
        std::vector<const char*> keys;
        std::string shown;
    };
    const Case cases[] = {
        {"full stop typed", ControlId::ValueBox2, {"a", ".", "b"}, "a.b"},
        {"Backspace removes the last character",
         ControlId::ValueBox2,
         {"a", "b", "Backspace"},
         "a"},
        {"Delete still deletes", ControlId::ValueBox2, {"a", "b", "Home", "Delete"}, "b"},
        {"Backspace is a key to capture", ControlId::ValueBox1, {"Backspace"}, "Back|,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Box(c.box)->setEditText({});
        Enter(c.box);
        for (const char* key : c.keys) physical.Tap(key);
        EXPECT_EQ(Shown(c.box), c.shown);
    }
}

// A String row shows what the keyboard will type: capitals, space and "_" reach the keyboard
// as the keys that type them (Shift is the marker AB).
TEST_F(KeyCaptureWindow, StringRowTypesWhatItShows) {
    Enter(ControlId::ValueBox2);
    physical.TypeUs("Hello World_1");
    EXPECT_EQ(Shown(ControlId::ValueBox2), "Hello World_1");

    PopupWatch popups;  // closes "Save Key Successful!"
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window->Control(ControlId::Save)),
                      Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&popups] { return popups.Count() == 1; }));
    EXPECT_EQ(keyboard.CompletedSaves(), 1);

    const auto record = keyboard.Table().Record(2);
    const Bytes expected = {0x02, 0x1A, 0x08,  // slot 2, 26 bytes
                            0xAB, 0x0B, 0x00, 0x08, 0x00, 0x0F, 0x00, 0x0F, 0x00, 0x12,  // Hello
                            0x00, 0x2C,                                                  // space
                            0xAB, 0x1A, 0x00, 0x12, 0x00, 0x15, 0x00, 0x0F, 0x00, 0x07,  // World
                            0xAB, 0x2D, 0x00, 0x1E, 0xFF};                               // _1
    EXPECT_EQ(Bytes(record.begin(), record.end()), expected);
}

// What the keyboard cannot type does not get into a String row, however it comes, and the
// window says why.
TEST_F(KeyCaptureWindow, StringRowRefusesWhatTheKeyboardCannotTypeAndSaysWhy) {
    struct Case {
        const char* what;
        std::string before;
        std::function<void()> input;
        std::string notice;
    };
    const Case cases[] = {
        {"a 15th character", "abcdefghijklmn", [this] { physical.TypeUs("o"); },
         "A string key holds at most 14 characters."},
        {"Chinese from an input method", "Hello",
         [this] {
             QInputMethodEvent commit;
             commit.setCommitString(QString::fromUtf8("中"));
             QApplication::sendEvent(Box(ControlId::ValueBox2), &commit);
         },
         "The keyboard has no key for \"中\"."},
        {"pasted", "Hello",
         [this] {
             QGuiApplication::clipboard()->setText(QString::fromUtf8("x中"));
             physical.Press("Ctrl");
             physical.Tap("v");
             physical.Release("Ctrl");
         },
         "The keyboard has no key for \"中\"."},
    };
    auto* notice = qobject_cast<QLabel*>(window->Control(ControlId::Notice));
    ASSERT_NE(notice, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Box(ControlId::ValueBox2)->setEditText({});
        Enter(ControlId::ValueBox2);
        physical.TypeUs(c.before);
        EXPECT_FALSE(notice->isVisible());

        c.input();

        EXPECT_EQ(Shown(ControlId::ValueBox2), c.before);
        EXPECT_TRUE(notice->isVisible());
        EXPECT_EQ(notice->text().toStdString(), c.notice);
    }
    // A character that is taken clears the refusal.
    physical.Tap("Backspace");
    EXPECT_FALSE(notice->isVisible());
}

// A String row that shows a text the keyboard does not type whole carries a warning sign
// with the reason.
TEST_F(KeyCaptureWindow, StringRowShowingMoreThanTheKeyboardTypesIsMarked) {
    Enter(ControlId::ValueBox2);
    Box(ControlId::ValueBox2)->showPopup();
    QAbstractItemView* list = Box(ControlId::ValueBox2)->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    Click(list->viewport(), list->visualRect(list->model()->index(1, 0)).center(), Qt::LeftButton);
    ASSERT_EQ(Shown(ControlId::ValueBox2), "Mouse Left   Click");

    auto* mark = Edit(ControlId::ValueBox2)->findChild<QAction*>(QStringLiteral("mark"));
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->toolTip().toStdString(), "A string key holds at most 14 characters.");
    EXPECT_EQ(Box(ControlId::ValueBox2)->toolTip(), mark->toolTip());

    for (int i = 0; i < 4; ++i) physical.Tap("Backspace");
    EXPECT_EQ(Shown(ControlId::ValueBox2), "Mouse Left   C");
    EXPECT_EQ(Edit(ControlId::ValueBox2)->findChild<QAction*>(QStringLiteral("mark")), nullptr);
    // The box's own tooltip, how it records, comes back.
    const std::string_view hint = WindowPhraseFor(WindowPhrase::ValueBoxHint, 0);
    EXPECT_EQ(Box(ControlId::ValueBox2)->toolTip(),
              QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size())));
}

// Only a right press in the edit field asks for the clear, and the window clears the slot
// clicked into, not the one that was current before the click. No context menu appears.
TEST_F(KeyCaptureWindow, RightClickClearsOnlyFromTheEditField) {
    CaptureCtrlC(ControlId::ValueBox1);
    CaptureCtrlC(ControlId::ValueBox3);
    PopupWatch popups;

    // The arrow: the part of the box that its edit field leaves free on the right.
    KeyCaptureComboBox* box1 = qobject_cast<KeyCaptureComboBox*>(Box(ControlId::ValueBox1));
    const QPoint arrow(box1->width() - 4, box1->height() / 2);
    ASSERT_EQ(box1->childAt(arrow), nullptr);
    Click(box1, arrow, Qt::RightButton);
    popups.Sweep();
    box1->hidePopup();
    EXPECT_EQ(Shown(ControlId::ValueBox1), "Ctrl|C|,");

    // The dropped list: a right click on an item neither clears nor picks it.
    box1->showPopup();
    QAbstractItemView* list = box1->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    Click(list->viewport(), list->visualRect(list->model()->index(2, 0)).center(), Qt::RightButton);
    popups.Sweep();
    box1->hidePopup();
    QApplication::processEvents();
    EXPECT_EQ(Shown(ControlId::ValueBox1), "Ctrl|C|,");
    EXPECT_EQ(Reports(1), kCtrlC);

    // The edit field of row 1 while row 3 is current.
    Enter(ControlId::ValueBox3);
    Click(Edit(ControlId::ValueBox1), Qt::RightButton);
    popups.Sweep();
    QApplication::processEvents();

    EXPECT_EQ(dialog->CurrentSlot(), 1);
    EXPECT_EQ(Shown(ControlId::ValueBox1), "");
    EXPECT_TRUE(Reports(1).empty());
    EXPECT_EQ(dialog->Model().Map().Find(SlotNames[1]), nullptr);
    EXPECT_EQ(dialog->Model().DefinedCount(1), 0);
    EXPECT_EQ(Shown(ControlId::ValueBox3), "Ctrl|C|,");
    EXPECT_EQ(Reports(3), kCtrlC);
    EXPECT_EQ(StoredReport(3), kCtrlC);
    EXPECT_EQ(popups.Count(), 0);
}

// The keyboard works the window: Tab and Shift+Tab move through the tab stops in the screen's
// order, except in a value box that records (a click, Enter or Space on it): there Tab and
// Enter are keys of the chord, and Escape cancels the recording. Enter never saves; Escape closes
// the window as Exit does, asking first about unsaved rows.
TEST_F(KeyCaptureWindow, TabShiftTabEnterAndEscapeWorkTheWindowOutsideARecording) {
    struct Step {
        int start;                      // the control focused first
        bool clicked;                   // a value box clicked into, else reached as by Tab
        std::vector<const char*> keys;  // pressed in order, released in reverse order
        int focused;                    // where the focus is after
        int box;                        // and what this box shows
        std::string shown;
    };
    using namespace ControlId;
    const Step steps[] = {
        {ValueBox2, true, {"Tab"}, FunctionList2, ValueBox2, "ab"},  // a String row types text
        {ValueBox2, true, {"Enter"}, ValueBox2, ValueBox2, "ab"},
        {ValueBox1, true, {"Tab"}, ValueBox1, ValueBox1, "Tab|,"},       // clicked, it records Tab
        {ValueBox1, false, {"Tab"}, FunctionList1, ValueBox1, "Tab|,"},  // not recording, moves
        {ValueBox1, false, {"Shift", "Tab"}, KeyCount, ValueBox1, "Tab|,"},
        {ValueBox3, false, {"Enter"}, ValueBox3, ValueBox3, "Press the keys..."},
        {ValueBox3, false, {"Enter"}, ValueBox3, ValueBox3, "Ret|,"},  // recording since Enter
        {ValueBox5, true, {"Escape"}, ValueBox5, ValueBox5, ""},       // Escape alone cancels
        {ValueBox4, false, {"a"}, ValueBox4, ValueBox4, ""},  // not recording, takes no typing
        {Save, false, {"Enter"}, Save, ValueBox6, ""},
        {Exit, false, {"Tab"}, Language, ValueBox6, ""},  // round the end
    };
    PopupWatch popups;
    Edit(ValueBox2)->setText({});
    Enter(ValueBox2);
    physical.Type("ab");
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.start) + " " + step.keys.back());
        if (step.clicked) {
            Enter(step.start);
        } else {
            window->SetFocus(step.start);
        }
        for (const char* key : step.keys) physical.Press(key);
        for (auto key = step.keys.rbegin(); key != step.keys.rend(); ++key) physical.Release(*key);
        QApplication::processEvents();

        EXPECT_EQ(window->FocusedControl(), step.focused);
        EXPECT_EQ(Shown(step.box), step.shown);
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_EQ(keyboard.SetCount(), 0u);
    EXPECT_EQ(popups.Count(), 0);
    EXPECT_TRUE(window->windowTitle().startsWith(QLatin1Char('*')));

    // Escape asks about the unsaved rows; Discard closes at the press.
    QString asked;
    QTimer::singleShot(0, [&asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        asked = box->text();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == QLatin1String("Discard")) button->click();
        }
    });
    window->SetFocus(Save);
    physical.Press("Escape");
    QApplication::processEvents();
    EXPECT_EQ(asked, QLatin1String("Save the changed keys to the keyboard?"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

// The keyboard and the mouse reach everything: Escape and a click on a label end a recording
// and keep the chord, Shift+F10 and the Menu key open the context menu (Undo greyed with nothing
// to undo) from any control that does not record, a paste never reaches a chord row, and a
// screen reader hears what each row holds and that it records.
TEST_F(KeyCaptureWindow, TheKeyboardAndTheMouseReachEverything) {
    KeyboardLink link(keyboard);
    ASSERT_TRUE(link.Open());
    const Bytes ctrlC = {0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0xFF};
    const Bytes end = {0xAA, 0xFF};
    ASSERT_TRUE(link.WriteBlock(ctrlC));
    ASSERT_TRUE(link.WriteBlock(end));
    link.Close();
    // Message boxes are answered; the menu's entries are read, and one is chosen if asked.
    QString chosen;
    std::vector<std::pair<QString, bool>> entries;
    int menus = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            ++menus;
            entries.clear();
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator())
                    entries.emplace_back(action->text(), action->isEnabled());
            }
            menu->close();
            for (QAction* action : menu->actions()) {
                if (!chosen.isEmpty() && action->text() == chosen) action->trigger();
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Ok)->click();
        }
    });
    answer.start(5);
    const auto name = [this](int id) {
        return QAccessible::queryAccessibleInterface(window->Control(id))->text(QAccessible::Name);
    };
    const auto keys = [this](std::vector<const char*> pressed) {
        for (const char* key : pressed) physical.Press(key);
        for (auto key = pressed.rbegin(); key != pressed.rend(); ++key) physical.Release(*key);
        QApplication::processEvents();
    };

    CaptureCtrlC(ControlId::ValueBox1);
    EXPECT_EQ(name(ControlId::ValueBox1), "Key 1, Ctrl+C");

    struct Step {
        std::string name;
        std::function<void()> act;
        std::string row1, row2;
        int menus;
        bool starred;  // only the read-back settles the unsaved Ctrl+C
    };
    const Step steps[] = {
        {"Escape while row 1 records",
         [&] {
             Enter(ControlId::ValueBox1);
             EXPECT_EQ(name(ControlId::ValueBox1), "Key 1, recording: press the keys");
             keys({"Escape"});
         },
         "Ctrl|C|,", "", 0, true},
        {"a click on a label while row 1 records",
         [&] {
             Enter(ControlId::ValueBox1);
             Click(window->Control(ControlId::KeyCountLabel), Qt::LeftButton);
         },
         "Ctrl|C|,", "", 0, true},
        {"a middle-click paste into row 1",
         [&] {
             window->SetFocus(ControlId::ValueBox1);
             QApplication::clipboard()->setText(QStringLiteral("hello"), QClipboard::Selection);
             QApplication::clipboard()->setText(QStringLiteral("hello"));
             Click(Edit(ControlId::ValueBox1), Qt::MiddleButton);
         },
         "Ctrl|C|,", "", 0, true},
        {"an input method's text into row 1",
         [&] {
             QInputMethodEvent commit;
             commit.setCommitString(QStringLiteral("hello"));
             QApplication::sendEvent(Edit(ControlId::ValueBox1), &commit);
         },
         "Ctrl|C|,", "", 0, true},
        {"the Menu key on Save",
         [&] {
             // The test platform gives the window no activation back when a popup closes, at
             // once or, on a loaded machine, a turn of the event loop later.
             const auto focused = [&] {
                 return QTest::qWaitFor([&] {
                     if (QApplication::focusWidget() != nullptr) return true;
                     window->activateWindow();
                     window->SetFocus(ControlId::Save);
                     return false;
                 });
             };
             window->SetFocus(ControlId::Save);
             ASSERT_TRUE(focused());
             physical.Press("Menu");
             ASSERT_TRUE(focused());
             physical.Release("Menu");
         },
         "Ctrl|C|,", "", 1, true},
        {"a right click empties row 1, then Shift+F10, then Read keys from keyboard",
         [&] {
             Click(Edit(ControlId::ValueBox1), Qt::RightButton);
             QApplication::processEvents();
             EXPECT_EQ(Shown(ControlId::ValueBox1), "");
             chosen = QStringLiteral("Read keys from keyboard");
             physical.Press("Shift");
             physical.Press("F10");
             // The read-back disables the controls while it runs: the keys are let go after it.
             ASSERT_TRUE(QTest::qWaitFor([&] { return Shown(ControlId::ValueBox1) != ""; }));
             window->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
             physical.Release("F10");
             physical.Release("Shift");
         },
         "Ctrl|C|,", "", 2, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // The test platform gives the window no activation back when a popup closes.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        step.act();
        QApplication::processEvents();
        EXPECT_EQ(Shown(ControlId::ValueBox1), step.row1);
        EXPECT_EQ(Shown(ControlId::ValueBox2), step.row2);
        EXPECT_EQ(menus, step.menus);
        EXPECT_FALSE(dialog->Activity().IsRecording());
        EXPECT_EQ(window->windowTitle().startsWith(QLatin1Char('*')), step.starred);
    }
    const std::vector<std::pair<QString, bool>> expected = {{"Read keys from keyboard", true},
                                                            {"Test keys...", true},
                                                            {"Undo\tCtrl+Z", true},
                                                            {"Redo\tCtrl+Y", false},
                                                            {"Export keys to file...", true},
                                                            {"Import keys from file...", true},
                                                            {"About Varnok...", true}};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(name(ControlId::ValueBox1), "Key 1, Ctrl+C");

    // A String row takes a paste through the check typing passes, as a change to undo.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("hi!"));
    window->SetFocus(ControlId::ValueBox2);
    QApplication::sendEvent(Edit(ControlId::ValueBox2), &commit);
    EXPECT_EQ(Shown(ControlId::ValueBox2), "hi!");
    EXPECT_EQ(name(ControlId::ValueBox2), "Key 2, hi!");
    EXPECT_TRUE(window->windowTitle().startsWith(QLatin1Char('*')));

    // The status line and the refusal line are a status bar and an alert.
    const auto role = [this](int id) {
        return QAccessible::queryAccessibleInterface(window->Control(id))->role();
    };
    EXPECT_EQ(role(ControlId::Status), QAccessible::StatusBar);
    EXPECT_EQ(role(ControlId::Notice), QAccessible::AlertMessage);
}

}  // namespace
}  // namespace varnok
