#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/controls/qt/KeyCaptureEdit.h"
#include "ui/qt/DialogTemplateBuilder.h"
#include "ui/qt/DialogUnitScale.h"
#include "ui/qt/QtMainWindow.h"
#include "ui/qt/RecordingEvents.h"

namespace varnok {
namespace {

using Log = std::vector<std::string>;

struct Window {
    RecordingEvents* events = nullptr;
    std::unique_ptr<QtMainWindow> window;

    Window() {
        window = std::make_unique<QtMainWindow>([this](DialogControls&, FlowExecutor&) {
            auto recording = std::make_unique<RecordingEvents>();
            events = recording.get();
            return recording;
        });
    }
    // On screen and active, its controls able to take the focus.
    void Show() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        events->log.clear();
    }
    QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(window->Control(id)); }
    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(window->Control(id)); }
};

std::string KindOf(const QWidget* widget) {
    if (auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->isEditable() ? "DropDownCombo" : "DropDownList";
    }
    if (qobject_cast<const QPushButton*>(widget)) return "PushButton";
    if (qobject_cast<const QCheckBox*>(widget)) return "CheckBox";
    if (qobject_cast<const QGroupBox*>(widget)) return "GroupBox";
    if (qobject_cast<const QLabel*>(widget)) return "StaticText";
    if (qobject_cast<const QProgressBar*>(widget)) return "ProgressBar";
    return "unknown";
}

std::string KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return "PushButton";
        case ControlKind::CheckBox:
            return "CheckBox";
        case ControlKind::GroupBox:
            return "GroupBox";
        case ControlKind::StaticText:
            return "StaticText";
        case ControlKind::Icon:
            return "Icon";
        case ControlKind::ProgressBar:
            return "ProgressBar";
        case ControlKind::DropDownCombo:
            return "DropDownCombo";
        case ControlKind::DropDownList:
            return "DropDownList";
    }
    return "unknown";
}

std::string TextOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text().toStdString();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text().toStdString();
    }
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title().toStdString();
    if (auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentText().toStdString();
    }
    if (qobject_cast<const QProgressBar*>(widget)) return "";
    return "?";
}

// Every control of the template is there, found by its object name, with its kind, text,
// visibility, focus policy and position, converted with the window font's own metrics. Run
// under fonts of different widths: the window follows the font.
TEST(QtMainWindow, IsBuiltFromEveryControlOfTheTemplateInAnyFont) {
    const QFont original = QApplication::font();
    // Windows' rounding of the average width gives these 7, 8 and 7 pixels at 96 dpi.
    const char* families[] = {"DejaVu Sans", "DejaVu Serif", "WenQuanYi Micro Hei"};
    std::vector<QSize> sizes;
    for (const char* family : families) {
        QApplication::setFont(QFont(QString::fromLatin1(family), 12));
        Window w;
        QtMainWindow& window = *w.window;
        const DialogTemplate& dialog = KeyDialogTemplate();
        DialogUnitScale scale(window.font());
        EXPECT_EQ(window.font().pointSize(), 9);
        EXPECT_EQ(window.windowTitle().toStdString(), "Varnok Keyboard 3.0 Designed by QV");
        // The prompt grows to its text where the font's lines need more than the template
        // gives it; whatever lies below it moves down as much.
        const DialogControlTemplate& prompt = dialog.controls[0];
        const int grown = window.Control(ControlId::Prompt)->height() - scale.Y(prompt.height);
        EXPECT_GE(grown, 0);
        EXPECT_EQ(window.size(), QSize(scale.X(263), scale.Y(348) + grown)) << family;
        EXPECT_FALSE(window.windowIcon().isNull());
        sizes.push_back(window.size());

        int index = 0;
        for (const DialogControlTemplate& control : dialog.controls) {
            QString name = DialogTemplateBuilder::ObjectName(control.id, index++);
            auto* widget = window.findChild<QWidget*>(name);
            ASSERT_NE(widget, nullptr) << name.toStdString();
            SCOPED_TRACE(name.toStdString() + " in " + family);
            if (control.id != ControlId::Unnamed) {
                EXPECT_EQ(window.Control(control.id), widget);
            }
            EXPECT_EQ(KindOf(widget), KindName(control.kind));
            EXPECT_EQ(TextOf(widget), control.text);
            EXPECT_EQ(widget->isHidden(), control.Has(ControlStyle::Hidden));
            EXPECT_EQ(window.IsVisible(control.id),
                      control.id != ControlId::Unnamed && !control.Has(ControlStyle::Hidden));
            EXPECT_EQ(widget->focusPolicy() != Qt::NoFocus, control.Has(ControlStyle::TabStop));
            QRect expected = scale.Rect(control.x, control.y, control.width, control.height);
            if (control.id == ControlId::Prompt) expected.setHeight(expected.height() + grown);
            if (control.y > prompt.y) expected.translate(0, grown);
            // The rows sit in a scroll area; in the window they are where the template says.
            EXPECT_EQ(widget->mapTo(&window, QPoint(0, 0)), expected.topLeft());
            // Lists and check boxes may grow beyond the template to show their texts whole.
            if (qobject_cast<QComboBox*>(widget) != nullptr) {
                EXPECT_GE(widget->width(), expected.width());
            } else if (qobject_cast<QCheckBox*>(widget) != nullptr) {
                EXPECT_GE(widget->width(), expected.width());
                EXPECT_GE(widget->height(), expected.height());
            } else {
                EXPECT_EQ(widget->size(), expected.size());
            }
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                EXPECT_EQ(button->isDefault(), control.Has(ControlStyle::DefaultButton));
            }
        }
        // The check boxes sit inside the Group Key frame yet stay clickable above it.
        for (int id : {ControlId::Ctrl, ControlId::Alt, ControlId::Shift}) {
            QWidget* box = window.Control(id);
            EXPECT_EQ(window.childAt(box->geometry().center()), box) << id;
        }
    }
    QApplication::setFont(original);
    EXPECT_LT(sizes[0].width(), sizes[1].width());
}

// What the window's behaviour does through DialogControls raises no notification; what the
// user does raises exactly one.
TEST(QtMainWindow, ReportsUserActionsButNotTheProgramsOwn) {
    Window w;
    w.Show();
    QtMainWindow& window = *w.window;
    for (int id : {ControlId::Language, ControlId::ValueBox3, ControlId::FunctionList2}) {
        window.AddListItem(id, "first");
        window.AddListItem(id, "second");
    }
    w.events->log.clear();

    struct Case {
        const char* what;
        std::function<void()> act;
        Log expected;
    };
    const Case cases[] = {
        {"program selects in a list", [&] { window.SelectListIndex(ControlId::Language, 1); }, {}},
        {"program selects in a value box",
         [&] { window.SelectListIndex(ControlId::ValueBox3, 0); },
         {}},
        {"program clears a selection",
         [&] { window.SelectListIndex(ControlId::FunctionList2, -1); },
         {}},
        {"program sets a value text",
         [&] { window.SetText(ControlId::ValueBox3, "Ctrl|C|,"); },
         {}},
        {"program checks a box", [&] { window.SetChecked(ControlId::Alt, true); }, {}},
        {"program refills a list",
         [&] {
             window.ClearList(ControlId::FunctionList2);
             window.AddListItem(ControlId::FunctionList2, "Normal");
             window.SelectListIndex(ControlId::FunctionList2, 0);
         },
         {}},
        {"user steps down a list",
         [&] { QTest::keyClick(w.Combo(ControlId::Language), Qt::Key_Up); },
         {"select 1031"}},
        {"user steps down a value box's list",
         [&] { QTest::keyClick(w.Combo(ControlId::ValueBox3), Qt::Key_Down); },
         {"select 1026"}},
        {"user picks from a dropped list",
         [&] {
             QComboBox* combo = w.Combo(ControlId::FunctionList2);
             combo->showPopup();
             QAbstractItemView* view = combo->view();
             QRect item = view->visualRect(view->model()->index(0, 0));
             QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
         },
         {"select 1055"}},
        {"user clicks Save",
         [&] { QTest::mouseClick(w.Button(ControlId::Save), Qt::LeftButton); },
         {"button 1000"}},
        {"user clicks Clear",
         [&] { QTest::mouseClick(w.Button(ControlId::Clear), Qt::LeftButton); },
         {"button 1004"}},
        {"Get Defined Key, were it shown",
         [&] { w.Button(ControlId::GetDefinedKey)->click(); },
         {"button 1019"}},
        {"user ticks a box",
         [&] { QTest::mouseClick(window.Control(ControlId::Ctrl), Qt::LeftButton); },
         {}},
    };
    for (const Case& c : cases) {
        w.events->log.clear();
        c.act();
        QCoreApplication::processEvents();
        EXPECT_EQ(w.events->log, c.expected) << c.what;
    }
    EXPECT_TRUE(window.IsChecked(ControlId::Ctrl));
    EXPECT_EQ(window.SelectedListIndex(ControlId::Language), 0);
    EXPECT_EQ(window.SelectedListIndex(ControlId::FunctionList2), 0);
}

// Enter in an edit field picks nothing from the list: a typed string that happens to name an
// item ("Default") stays a typed string, as in a Windows combo box.
TEST(QtMainWindow, EnterInAnEditFieldPicksNothing) {
    for (int id : {ControlId::ValueBox1, ControlId::ValueBox6}) {
        Window w;
        w.Show();
        w.window->AddListItem(id, "Default");
        w.window->AddListItem(id, "Close Window");
        w.window->SetFocus(id);
        w.events->log.clear();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Default"));
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(w.window->GetText(id), "Default") << id;
            w.window->SetText(id, "");
        }
        EXPECT_EQ(w.events->log, Log{}) << id;
        EXPECT_EQ(w.window->SelectedListIndex(id), -1) << id;
        EXPECT_TRUE(w.window->isVisible());
    }
}

// The value boxes report gaining the focus, however it comes; moving inside one box is not
// a new focus.
TEST(QtMainWindow, ReportsFocusEnteringAndLeavingAValueBoxAndPressesInIt) {
    Window w;
    w.Show();
    QtMainWindow& window = *w.window;
    window.SetFocus(ControlId::ValueBox2);
    window.SetFocus(ControlId::ValueBox2);
    QTest::mouseClick(w.Combo(ControlId::ValueBox5)->lineEdit(), Qt::LeftButton);
    window.SetFocus(ControlId::Save);
    window.SetFocus(ControlId::FunctionList1);
    window.SetFocus(ControlId::ValueBox6);
    w.Combo(ControlId::ValueBox6)->lineEdit()->setFocus();
    EXPECT_EQ(w.events->log, (Log{"focus 1025", "left 1025", "focus 1028", "press 1028",
                                  "left 1028", "focus 1029"}));
}

// Initialisation comes once, with the controls in place; the focus then starts on the first
// tab stop, the language list, so no row has been entered yet.
TEST(QtMainWindow, InitialisesOnceWhenFirstShown) {
    Window w;
    EXPECT_TRUE(w.events->log.empty());
    w.window->show();
    w.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
    EXPECT_EQ(QApplication::focusWidget(), w.window->Control(ControlId::Language));
    w.window->hide();
    w.window->show();
    EXPECT_EQ(w.events->log, Log{"init"});
}

// Only Exit and the close box end the window; Enter and Escape are keys like any other, F1
// is answered and nothing else, Tab does not move the focus.
TEST(QtMainWindow, EndsOnlyByExitOrTheCloseBox) {
    struct Case {
        const char* what;
        std::function<void(Window&)> act;
        bool ends;
        Log expected;
    };
    const Case cases[] = {
        {"Exit",
         [](Window& w) { QTest::mouseClick(w.Button(ControlId::Exit), Qt::LeftButton); },
         true,
         {"close request", "closing"}},
        {"close box", [](Window& w) { w.window->close(); }, true, {"close request", "closing"}},
        {"Escape",
         [](Window& w) { QTest::keyClick(w.Button(ControlId::Save), Qt::Key_Escape); },
         false,
         {}},
        {"Enter",
         [](Window& w) { QTest::keyClick(w.Button(ControlId::Clear), Qt::Key_Return); },
         false,
         {}},
        {"keypad Enter",
         [](Window& w) { QTest::keyClick(w.Combo(ControlId::ValueBox1), Qt::Key_Enter); },
         false,
         {}},
        {"F1 on a button",
         [](Window& w) { QTest::keyClick(w.Button(ControlId::Save), Qt::Key_F1); },
         false,
         {"help"}},
        {"F1 in a value box",
         [](Window& w) { QTest::keyClick(w.Combo(ControlId::ValueBox1), Qt::Key_F1); },
         false,
         {"help"}},
    };
    for (const Case& c : cases) {
        Window w;
        w.Show();
        w.window->Control(ControlId::Save)->setFocus();
        c.act(w);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.window->isVisible(), !c.ends) << c.what;
        if (c.ends) {
            EXPECT_EQ(w.window->result(), QDialog::Rejected) << c.what;
        }
        EXPECT_EQ(w.events->log, c.expected) << c.what;
    }

    Window w;
    w.Show();
    w.window->SetFocus(ControlId::Save);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), w.window->Control(ControlId::Save));
}

// The clear-key request is posted: it is handled after the event that caused it.
TEST(QtMainWindow, HandlesAPostedClearKeyRequestLater) {
    Window w;
    QCoreApplication::postEvent(w.window.get(), new QEvent(KeyCaptureEdit::ClearKeyEventType()));
    EXPECT_TRUE(w.events->log.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(w.events->log, Log{"clear"});
}

// The key pre-filter sees each press and release of the focused control once, before the
// control does, and may swallow it.
TEST(QtMainWindow, PassesKeysThroughThePreFilterFirst) {
    Window w;
    w.Show();
    std::vector<std::string> seen;
    w.window->SetKeyPreFilter([&](QKeyEvent& event) {
        seen.push_back((event.type() == QEvent::KeyPress ? "down " : "up ") +
                       event.text().toStdString());
        return event.key() == Qt::Key_A;
    });
    QComboBox* box = w.Combo(ControlId::ValueBox4);
    w.window->SetFocus(ControlId::ValueBox4);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abA"));
    EXPECT_EQ(box->currentText(), QStringLiteral("b"));
    EXPECT_EQ(seen, (Log{"down a", "up a", "down b", "up b", "down A", "up A"}));

    seen.clear();
    w.window->SetFocus(ControlId::Save);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_EQ(seen.size(), 2u);
}

// Lists behave as a Windows combo box's: adding items selects nothing and leaves the edit
// field alone; an index the list lacks clears the selection; unknown ids are harmless.
TEST(QtMainWindow, ListsSelectOnlyWhatTheProgramSelects) {
    Window w;
    QtMainWindow& window = *w.window;
    window.SetText(ControlId::ValueBox1, "Alt|F4|,");
    window.AddListItem(ControlId::ValueBox1, "Default");
    window.AddListItem(ControlId::ValueBox1, "Mouse Left   Click");
    window.AddListItem(ControlId::KeyCount, "1");
    EXPECT_EQ(window.SelectedListIndex(ControlId::ValueBox1), -1);
    EXPECT_EQ(window.GetText(ControlId::ValueBox1), "Alt|F4|,");
    EXPECT_EQ(window.SelectedListIndex(ControlId::KeyCount), -1);
    EXPECT_EQ(window.ListCount(ControlId::ValueBox1), 2);
    EXPECT_EQ(window.ListItem(ControlId::ValueBox1, 1), "Mouse Left   Click");

    struct Case {
        int id;
        int index;
        int selected;
        std::string text;
    };
    const Case cases[] = {
        {ControlId::ValueBox1, 1, 1, "Mouse Left   Click"},
        {ControlId::ValueBox1, 2, -1, ""},
        {ControlId::ValueBox1, 0, 0, "Default"},
        {ControlId::ValueBox1, -1, -1, ""},
        {ControlId::KeyCount, 9, -1, ""},
        {ControlId::KeyCount, 0, 0, "1"},
        {ControlId::KeyCount, -5, -1, ""},
    };
    for (const Case& c : cases) {
        window.SelectListIndex(c.id, c.index);
        EXPECT_EQ(window.SelectedListIndex(c.id), c.selected) << c.id << " " << c.index;
        EXPECT_EQ(window.GetText(c.id), c.text) << c.id << " " << c.index;
    }
    // A drop-down list has no text apart from its selected item.
    window.SelectListIndex(ControlId::KeyCount, 0);
    window.SetText(ControlId::KeyCount, "5");
    EXPECT_EQ(window.GetText(ControlId::KeyCount), "1");

    window.SetText(ControlId::Clear, "清空");
    EXPECT_EQ(window.GetText(ControlId::Clear), "清空");
    window.SetText(ControlId::Prompt, "<b>no markup</b>");
    EXPECT_EQ(qobject_cast<QLabel*>(window.Control(ControlId::Prompt))->textFormat(),
              Qt::PlainText);
    window.ClearList(ControlId::ValueBox1);
    EXPECT_EQ(window.ListCount(ControlId::ValueBox1), 0);
    EXPECT_EQ(window.ListItem(ControlId::ValueBox1, 0), "");

    for (int id : {0, ControlId::Unnamed, 4711}) {
        window.SetText(id, "x");
        window.AddListItem(id, "x");
        window.SelectListIndex(id, 0);
        window.SetVisible(id, true);
        window.SetChecked(id, true);
        window.SetFocus(id);
        EXPECT_EQ(window.GetText(id), "");
        EXPECT_EQ(window.ListCount(id), 0);
        EXPECT_EQ(window.SelectedListIndex(id), -1);
        EXPECT_FALSE(window.IsVisible(id));
        EXPECT_FALSE(window.IsChecked(id));
    }
    window.SetVisible(ControlId::ValueBox6, false);
    EXPECT_FALSE(window.IsVisible(ControlId::ValueBox6));
    window.SetVisible(ControlId::ValueBox6, true);
    EXPECT_TRUE(window.IsVisible(ControlId::ValueBox6));
}

// Right click on the window's background offers the template's context menu (read-back, undo,
// redo, export, import, About); on an operable control it offers nothing of
// the window's.
TEST(QtMainWindow, OffersReadBackAndAboutFromTheBackgroundOnly) {
    Window w;
    w.Show();
    QtMainWindow& window = *w.window;
    window.SetText(ControlId::ReadBackEntry, "从键盘读取按键");
    EXPECT_EQ(window.GetText(ControlId::ReadBackEntry), "从键盘读取按键");
    window.SetText(ControlId::ExportEntry, "导出按键到文件...");
    window.SetText(ControlId::ImportEntry, "从文件导入按键...");
    window.SetText(ControlId::UndoEntry, "撤销\tCtrl+Z");
    window.SetText(ControlId::RedoEntry, "重做\tCtrl+Y");
    window.SetText(ControlId::AboutEntry, "关于 Varnok...");
    window.SetText(ControlId::TestKeysEntry, "测试按键...");
    EXPECT_EQ(window.GetText(ControlId::ImportEntry), "从文件导入按键...");
    struct Case {
        const char* what;
        QWidget* target;
        QPoint pos;
        bool offered;
        const char* chosen;
        Log reported;
    };
    QWidget* save = window.Control(ControlId::Save);
    QWidget* valueBox = window.Control(ControlId::ValueBox2);
    QWidget* label = window.Control(ControlId::Heading);
    const Case cases[] = {
        {"background", &window, QPoint(3, 3), true, "关于 Varnok...", {"button 1106"}},
        {"a label", label, QPoint(2, 2), true, "从键盘读取按键", {"button 1101"}},
        {"the background once more", &window, QPoint(3, 3), true, "撤销\tCtrl+Z", {"button 1104"}},
        {"the background again", &window, QPoint(3, 3), true, "导出按键到文件...", {"button 1102"}},
        {"a label again", label, QPoint(2, 2), true, "从文件导入按键...", {"button 1103"}},
        {"the key tester", &window, QPoint(3, 3), true, "测试按键...", {"button 1107"}},
        {"a value box's arrow", valueBox, QPoint(valueBox->width() - 4, 4), false, "", {}},
        {"a button", save, QPoint(4, 4), false, "", {}},
    };
    for (const Case& c : cases) {
        w.events->log.clear();
        std::vector<std::string> offered;
        QTimer::singleShot(0, [&] {
            // A value box's edit field may have a menu of its own; that one is left alone.
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                QAction* chosen = nullptr;
                for (QAction* action : menu->actions()) {
                    if (action->isSeparator()) continue;
                    offered.push_back(action->text().toStdString());
                    if (offered.back() == c.chosen) chosen = action;
                }
                if (chosen != nullptr && c.offered) chosen->trigger();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, c.pos, c.target->mapToGlobal(c.pos));
        QCoreApplication::sendEvent(c.target, &event);
        QCoreApplication::processEvents();
        const bool windowMenu =
            offered == std::vector<std::string>{"从键盘读取按键",    "测试按键...",
                                                "撤销\tCtrl+Z",      "重做\tCtrl+Y",
                                                "导出按键到文件...", "从文件导入按键...",
                                                "关于 Varnok..."};
        EXPECT_EQ(windowMenu, c.offered) << c.what;
        EXPECT_EQ(w.events->log, c.reported) << c.what;
    }
}

// Message boxes carry OK only, the given caption and text, and an icon only when asked.
TEST(QtMainWindow, ShowsMessagesWithOkOnly) {
    Window w;
    w.Show();
    struct Case {
        MessageIcon icon;
        QMessageBox::Icon shown;
        std::string detail;
    };
    const Case cases[] = {
        {MessageIcon::None, QMessageBox::NoIcon, ""},
        {MessageIcon::Exclamation, QMessageBox::Warning, ""},
        {MessageIcon::None, QMessageBox::NoIcon, "键盘位于 /dev/hidraw3 <b>&amp;</b>"},
    };
    for (const Case& c : cases) {
        QString caption, text, detail;
        QMessageBox::Icon icon = QMessageBox::Critical;
        QMessageBox::StandardButtons buttons;
        Qt::TextFormat detailFormat = Qt::AutoText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            text = box->text();
            detail = box->informativeText();
            if (auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel")) {
                detailFormat = label->textFormat();
            }
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        w.window->ShowMessage("保存成功 <Save Key Successful!>", "Information!", c.icon, c.detail);
        EXPECT_EQ(caption, QStringLiteral("Information!"));
        EXPECT_EQ(text, QStringLiteral("保存成功 <Save Key Successful!>"));
        EXPECT_EQ(detail, QString::fromStdString(c.detail));
        // A detail is shown as it is, never read as markup.
        if (!c.detail.empty()) {
            EXPECT_EQ(detailFormat, Qt::PlainText);
        }
        EXPECT_EQ(icon, c.shown);
        EXPECT_EQ(buttons, QMessageBox::Ok);
    }
    QString about;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        about = box->windowTitle();
        box->close();
    });
    w.window->ShowAbout();
    EXPECT_EQ(about, QStringLiteral("About Varnok"));
}

// In a Chinese window Qt's own texts are Chinese too (Debian's qt6-translations-l10n): the
// message boxes' buttons, and the About box; back in English, English again.
TEST(QtMainWindow, SpeaksQtsOwnTextsInTheWindowsLanguage) {
    Window w;
    w.Show();
    const struct {
        std::int32_t language;
        const char* ok;
        const char* about;
    } cases[] = {{1, "确定", "关于 Varnok"}, {0, "OK", "About Varnok"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        w.window->SetLanguage(c.language);
        QString ok, about;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            ok = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        });
        w.window->ShowMessage("保存键成功!", "提示!", MessageIcon::None, "");
        EXPECT_EQ(ok, QString::fromUtf8(c.ok));
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            about = box->windowTitle();
            box->close();
        });
        w.window->ShowAbout();
        EXPECT_EQ(about, QString::fromUtf8(c.about));
    }
}

}  // namespace
}  // namespace varnok
