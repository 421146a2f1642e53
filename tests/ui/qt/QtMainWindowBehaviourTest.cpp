#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

#include "app/MemorySettingsStore.h"
#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "store/SlotMap.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/qt/QtMainWindow.h"

namespace varnok {
namespace {

// Acts on the context menu once it is open. The menu opens inside the event that asks for it,
// and on a loaded machine other events may run first: a timer that looked only once could
// find no menu and leave it open, and the test would wait for ever.
void WhenTheMenuOpens(std::function<void(QMenu*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        poll->stop();
        poll->deleteLater();
        act(menu);
    });
    poll->start(5);
}

// The Qt window with the real window behaviour: what the user sees change when they use the
// key-count and language lists.
class QtMainWindowBehaviour : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QtMainWindow>(
            [this](DialogControls& controls, FlowExecutor& executor) {
                return std::make_unique<MainWindowBehaviour>(
                    controls, settings, keyboard,
                    KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)),
                    executor, "varnok");
            });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Moves a list's selection with the arrow keys, as a user does.
    void Step(int list, Qt::Key key) {
        QWidget* combo = window->Control(list);
        combo->setFocus();
        QTest::keyClick(combo, key);
    }

    std::vector<int> ShownRows() const {
        const int labels[] = {0,
                              0,
                              ControlId::Row2Label,
                              ControlId::Row3Label,
                              ControlId::Row4Label,
                              ControlId::Row5Label,
                              ControlId::Row6Label};
        std::vector<int> rows;
        for (int row = 1; row <= 6; ++row) {
            const bool box = window->Control(ControlId::ValueBox1 + row - 1)->isVisible();
            const bool list = window->Control(ControlId::FunctionList1 + row - 1)->isVisible();
            EXPECT_EQ(box, list) << "row " << row;
            if (labels[row] != 0) {
                EXPECT_EQ(box, window->Control(labels[row])->isVisible()) << "row " << row;
            }
            if (box) rows.push_back(row);
        }
        return rows;
    }

    QString Label(int id) const {
        return qobject_cast<QAbstractButton*>(window->Control(id))->text();
    }

    TempDirectory directory;
    MemorySettingsStore settings;
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    std::unique_ptr<QtMainWindow> window;
};

TEST_F(QtMainWindowBehaviour, KeyCountListHidesAndShowsRows) {
    EXPECT_EQ(ShownRows(), std::vector<int>{1});
    Step(ControlId::KeyCount, Qt::Key_Down);
    Step(ControlId::KeyCount, Qt::Key_Down);
    EXPECT_EQ(ShownRows(), (std::vector<int>{1, 2, 3}));
    Step(ControlId::KeyCount, Qt::Key_End);
    EXPECT_EQ(ShownRows(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    Step(ControlId::KeyCount, Qt::Key_Up);
    EXPECT_EQ(ShownRows(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(settings.ReadSetting("Settings", "keynum", -1), 4);
    EXPECT_FALSE(window->Control(ControlId::GetDefinedKey)->isVisible());
    EXPECT_FALSE(window->Control(ControlId::HiddenValue)->isVisible());
}

// On a first start the window shows one row of six: the label over the key count list says
// what it counts, in the window's language and whole, and naming it changes no stored count.
TEST_F(QtMainWindowBehaviour, TheKeyCountListSaysItCountsTheKeysShown) {
    auto* label = qobject_cast<QLabel*>(window->Control(ControlId::KeyCountLabel));
    ASSERT_NE(label, nullptr);
    for (const auto& [key, text] :
         {std::pair{Qt::Key_Down, "显示按键数"}, {Qt::Key_Up, "Keys shown"}}) {
        Step(ControlId::Language, key);
        SCOPED_TRACE(text);
        EXPECT_EQ(label->text(), QString::fromUtf8(text));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        EXPECT_EQ(settings.ReadSetting("Settings", "keynum", -1), 0);
    }
    EXPECT_EQ(ShownRows(), std::vector<int>{1});
}

TEST_F(QtMainWindowBehaviour, LanguageSwitchRelabelsTheButtons) {
    EXPECT_EQ(Label(ControlId::Save), "Save");
    Step(ControlId::Language, Qt::Key_Down);

    EXPECT_EQ(Label(ControlId::Save), QString::fromUtf8("保存"));
    EXPECT_EQ(Label(ControlId::Clear), QString::fromUtf8("清空"));
    EXPECT_EQ(Label(ControlId::Exit), QString::fromUtf8("退出"));
    EXPECT_EQ(Label(ControlId::GetDefinedKey), QString::fromUtf8("上传自定义键"));
    EXPECT_EQ(qobject_cast<QComboBox*>(window->Control(ControlId::FunctionList1))->itemText(2),
              QString::fromUtf8("一次多键"));
    EXPECT_EQ(settings.ReadSetting("Settings", "keyLan", -1), 1);

    Step(ControlId::Language, Qt::Key_Up);
    EXPECT_EQ(Label(ControlId::Save), "Save");
}

// A screen reader names every control the keyboard reaches, and says what it does, in the
// window's language; a list by what it chooses, not by the item it shows.
TEST_F(QtMainWindowBehaviour, ScreenReadersNameAndDescribeEveryTabStopInTheWindowsLanguage) {
    const auto said = [this](int id, QAccessible::Text what) {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(window->Control(id));
        return control == nullptr ? QString() : control->text(what);
    };
    for (const char* language : {"English", "Chinese"}) {
        SCOPED_TRACE(language);
        for (const DialogControlTemplate& control : KeyDialogTemplate().controls) {
            if (!control.Has(ControlStyle::TabStop) || control.Has(ControlStyle::Hidden)) continue;
            EXPECT_FALSE(said(control.id, QAccessible::Name).isEmpty()) << control.id;
            EXPECT_FALSE(said(control.id, QAccessible::Description).isEmpty()) << control.id;
        }
        Step(ControlId::Language, Qt::Key_Down);
    }
    EXPECT_EQ(said(ControlId::ValueBox1, QAccessible::Name), QString::fromUtf8("按键 1，空"));
    EXPECT_EQ(said(ControlId::Save, QAccessible::Name), QString::fromUtf8("保存"));
    EXPECT_EQ(said(ControlId::FunctionList6, QAccessible::Name),
              QString::fromUtf8("按键 6 的功能"));
    EXPECT_EQ(said(ControlId::FunctionList6, QAccessible::Value), QString::fromUtf8("单键"));
    EXPECT_EQ(said(ControlId::KeyCount, QAccessible::Name), QString::fromUtf8("显示按键数"));
    Step(ControlId::Language, Qt::Key_Up);
    EXPECT_EQ(said(ControlId::ValueBox1, QAccessible::Name), "Key 1, empty");
    EXPECT_EQ(said(ControlId::KeyCount, QAccessible::Name), "Keys shown");
    EXPECT_EQ(said(ControlId::Language, QAccessible::Name), "Language");
    EXPECT_TRUE(said(ControlId::ValueBox1, QAccessible::Description).contains("Enter or Space"));
}

// The keyboard holds three keys; the entry of the context menu reads them into the rows in
// the background, with the window's message at the end, and the focus comes back.
TEST_F(QtMainWindowBehaviour, TheContextMenusReadBackFillsTheRowsFromTheKeyboard) {
    KeyboardLink link(keyboard);
    ASSERT_TRUE(link.Open());
    const std::vector<std::vector<std::uint8_t>> records = {
        {0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0xFF},  // Ctrl+C
        {0x02, 0x08, 0x01, 0x44, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0xFF},  // Alt+F4, once
        {0x03, 0x04, 0x08, 0x00, 0x04, 0x00, 0x05, 0xFF},                    // "ab"
        {0xAA, 0xFF},
    };
    for (const auto& record : records) ASSERT_TRUE(link.WriteBlock(record));
    link.Close();
    Step(ControlId::KeyCount, Qt::Key_Down);
    Step(ControlId::KeyCount, Qt::Key_Down);

    std::vector<QString> messages;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages.push_back(box->text());
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(10);
    // Disabled while the keys are read, Clear has the focus again afterwards.
    window->SetFocus(ControlId::Clear);
    WhenTheMenuOpens([](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("Read keys from keyboard")) action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3),
                            window->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(window.get(), &event);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 5000));

    const auto text = [&](int id) {
        return qobject_cast<QComboBox*>(window->Control(id))->currentText();
    };
    const auto mode = [&](int id) {
        return qobject_cast<QComboBox*>(window->Control(id))->currentIndex();
    };
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Get Key Successful!")});
    EXPECT_EQ(window->focusWidget(), window->Control(ControlId::Clear));
    EXPECT_EQ(text(ControlId::ValueBox1), "Ctrl|C|,");
    EXPECT_EQ(text(ControlId::ValueBox2), "Close Window");
    EXPECT_EQ(mode(ControlId::FunctionList2), 1);
    EXPECT_EQ(text(ControlId::ValueBox3), "ab");
    EXPECT_EQ(mode(ControlId::FunctionList3), 2);
    EXPECT_EQ(settings.ReadSetting("Settings", "KeyFun2Sel", -1), 1);
    EXPECT_EQ(settings.ReadSetting("Settings", "KeyFun3Sel", -1), 2);
}

// The context menu's export and import, in the window's language, go through Qt's file
// dialog: profiles first, all files as the other choice, ".json" added to a name without it.
TEST_F(QtMainWindowBehaviour, TheContextMenuExportsAndImportsThroughTheFileDialog) {
    struct Dialog {
        QString title;
        QStringList filters;
    };
    std::vector<Dialog> dialogs;
    std::vector<QString> messages;
    QString answer;
    QTimer answerer;
    // The dialog asked now: the modal one, or on a loaded machine one that is shown but not yet
    // the active modal widget.
    const auto asked = [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr) return modal;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && (qobject_cast<QFileDialog*>(widget) != nullptr ||
                                        qobject_cast<QMessageBox*>(widget) != nullptr)) {
                return widget;
            }
        }
        return modal;
    };
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* files = qobject_cast<QFileDialog*>(asked())) {
            dialogs.push_back({files->windowTitle(), files->nameFilters()});
            files->selectFile(answer);
            QMetaObject::invokeMethod(files, "accept");
        } else if (auto* box = qobject_cast<QMessageBox*>(asked())) {
            messages.push_back(box->text());
            box->button(QMessageBox::Ok)->click();
        }
    });
    answerer.start(10);
    const auto choose = [&](const char* entry) {
        std::vector<QString> offered;
        WhenTheMenuOpens([&](QMenu* menu) {
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                offered.push_back(action->text());
                if (action->text() == QString::fromUtf8(entry)) chosen = action;
            }
            menu->close();
            if (chosen != nullptr) chosen->trigger();
        });
        const std::size_t shown = messages.size();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3),
                                window->mapToGlobal(QPoint(3, 3)));
        QCoreApplication::sendEvent(window.get(), &event);
        EXPECT_TRUE(QTest::qWaitFor([&] { return messages.size() > shown; }, 5000)) << entry;
        return offered;
    };

    Step(ControlId::KeyCount, Qt::Key_Down);
    answer = QString::fromStdString((directory.Path() / "keys").string());
    EXPECT_EQ(choose("Export keys to file..."),
              (std::vector<QString>{"Read keys from keyboard", "Test keys...", "Undo\tCtrl+Z",
                                    "Redo\tCtrl+Y", "Export keys to file...",
                                    "Import keys from file...", "About Varnok..."}));
    const std::filesystem::path file = directory.Path() / "keys.json";
    EXPECT_NE(ReadBytes(file), Bytes{});

    Step(ControlId::Language, Qt::Key_Down);
    Step(ControlId::KeyCount, Qt::Key_Up);
    answer = QString::fromStdString(file.string());
    EXPECT_EQ(choose("从文件导入按键..."),
              (std::vector<QString>{
                  QString::fromUtf8("从键盘读取按键"), QString::fromUtf8("测试按键..."),
                  QString::fromUtf8("撤销\tCtrl+Z"), QString::fromUtf8("重做\tCtrl+Y"),
                  QString::fromUtf8("导出按键到文件..."), QString::fromUtf8("从文件导入按键..."),
                  QString::fromUtf8("关于 Varnok...")}));

    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].title, "Export keys to file");
    EXPECT_EQ(dialogs[0].filters, (QStringList{"Varnok profiles (*.json)", "All files (*)"}));
    EXPECT_EQ(dialogs[1].title, QString::fromUtf8("从文件导入按键"));
    EXPECT_EQ(dialogs[1].filters, (QStringList{QString::fromUtf8("Varnok 配置文件 (*.json)"),
                                               QString::fromUtf8("所有文件 (*)")}));
    // The window speaks the profile's language once it is imported: English, with two rows.
    EXPECT_EQ(messages,
              (std::vector<QString>{"Keys exported to file!", "Keys imported from file!"}));
    EXPECT_EQ(Label(ControlId::Save), "Save");
    EXPECT_EQ(ShownRows(), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace varnok
