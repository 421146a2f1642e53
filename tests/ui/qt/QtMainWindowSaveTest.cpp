#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <set>

#include "app/MemorySettingsStore.h"
#include "device/SimulatedKeyboard.h"
#include "device/SystemClock.h"
#include "store/SlotMap.h"
#include "support/TempDirectory.h"
#include "ui/ControlIds.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/qt/QtMainWindow.h"

namespace varnok {
namespace {

// A save on the simulated keyboard with the real clock, its pauses taken for real, while the
// window's event loop is watched.
TEST(QtMainWindowSave, TheWindowStaysAliveAndShowsEachRecordWhileTheKeyboardIsWritten) {
    TempDirectory directory;
    {
        // Row 1 a 14-character string (five reports, four pauses), rows 2..6 Ctrl+C (two
        // reports, one pause each): every record but slot 0's and the end record takes time.
        SlotMap stored(directory.Path());
        stored.Set("key1", "abcdefghijklmn", SlotData{}, 0);
        for (const char* name : {"key2", "key3", "key4", "key5", "key6"}) {
            stored.Set(name, "Ctrl|C|,", SlotData{0x01, 0x01, 0x00, 0x06}, 0);
        }
        ASSERT_TRUE(stored.Save());
    }
    MemorySettingsStore settings;
    settings.WriteSetting("Settings", "keynum", 1);
    settings.WriteSetting("Settings", "KeyFun1Sel", 2);
    SystemClock clock;
    SimulatedKeyboard keyboard(clock);
    MainWindowBehaviour* behaviour = nullptr;
    QtMainWindow window([&](DialogControls& controls, FlowExecutor& executor) {
        auto made = std::make_unique<MainWindowBehaviour>(
            controls, settings, keyboard,
            KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
            "varnok");
        behaviour = made.get();
        return made;
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* progressText = qobject_cast<QLabel*>(window.Control(ControlId::ProgressText));
    auto* progressBar = qobject_cast<QProgressBar*>(window.Control(ControlId::Progress));
    ASSERT_NE(progressText, nullptr);
    ASSERT_NE(progressBar, nullptr);
    auto* save = qobject_cast<QPushButton*>(window.Control(ControlId::Save));

    // A timer every 20 ms: each tick notes how late it came and what the window shows.
    QElapsedTimer elapsed;
    double worstDelay = 0;
    double lastTick = -1;
    std::set<QString> shownProgress;
    bool sawBusy = false;
    bool progressGreyed = false;
    QString message;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double now = static_cast<double>(elapsed.nsecsElapsed()) / 1e6;
        if (lastTick >= 0) worstDelay = std::max(worstDelay, now - lastTick - 20);
        lastTick = now;
        if (progressText->isVisible()) {
            shownProgress.insert(progressText->text());
            // Readable while the rest of the window is disabled: not drawn grey.
            progressGreyed =
                progressGreyed || !progressText->isEnabled() || !progressBar->isEnabled();
        }
        sawBusy = sawBusy || !save->isEnabled();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    elapsed.start();
    ticker.start(20);

    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_TRUE(behaviour->FlowRunning());
    // A second Save while one runs starts nothing.
    behaviour->OnButtonClicked(ControlId::Save);
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !message.isEmpty(); }, 10000));
    ticker.stop();

    EXPECT_LE(worstDelay, 50.0);
    EXPECT_TRUE(sawBusy);
    EXPECT_FALSE(progressGreyed);
    for (int key = 1; key <= 6; ++key) {
        EXPECT_TRUE(shownProgress.count(QStringLiteral("Writing key %1 of 6").arg(key))) << key;
    }
    EXPECT_EQ(message, QStringLiteral("Save Key Successful!"));
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
    EXPECT_FALSE(progressText->isVisible());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
}

// Closing the window mid-save waits for the record being written, then ends with the link
// closed and nothing more sent, and says before it goes which keys the keyboard holds new.
TEST(QtMainWindowSave, ClosingMidSaveFinishesTheRecordAndStops) {
    TempDirectory directory;
    {
        SlotMap stored(directory.Path());
        for (const char* name : {"key1", "key2", "key3"})
            stored.Set(name, "abcdefghijklmn", SlotData{}, 0);
        ASSERT_TRUE(stored.Save());
    }
    MemorySettingsStore settings;
    for (const char* setting : {"KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel"}) {
        settings.WriteSetting("Settings", setting, 2);
    }
    SystemClock clock;
    SimulatedKeyboard keyboard(clock);
    auto window =
        std::make_unique<QtMainWindow>([&](DialogControls& controls, FlowExecutor& executor) {
            return std::make_unique<MainWindowBehaviour>(
                controls, settings, keyboard,
                KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
                "varnok");
        });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(window->Control(ControlId::Save), Qt::LeftButton);
    QTest::qWait(300);  // inside slot 1's string record
    QString message;
    QString detail;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            detail = box->informativeText();
            box->accept();
        }
    });
    answer.start(20);

    window->close();
    answer.stop();

    EXPECT_EQ(message, QStringLiteral("Save Key Stopped!"));
    EXPECT_EQ(detail, QStringLiteral("Key 1 holds its new definition, keys 2 to 6 still hold "
                                     "their previous ones: the keyboard holds this mix until the "
                                     "next Save."));

    EXPECT_FALSE(window->isVisible());
    const std::size_t sets = keyboard.SetCount();
    EXPECT_EQ(keyboard.Table().Record(1).size(), 32u);  // the string record went in whole
    EXPECT_TRUE(keyboard.Table().Record(2).empty());
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
    window.reset();
    QTest::qWait(50);
    EXPECT_EQ(keyboard.SetCount(), sets);
    EXPECT_EQ(keyboard.CompletedSaves(), 0);
}

}  // namespace
}  // namespace varnok
