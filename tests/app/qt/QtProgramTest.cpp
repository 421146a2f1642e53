#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "app/qt/QtProgram.h"
#include "app/qt/QtSettingsStore.h"
#include "support/TempDirectory.h"
#include "ui/qt/RecordingEvents.h"

namespace varnok {
namespace {

// Start-up runs the main window once, modally, with the settings store of this program; the
// skin is on while the window runs and off once it has closed; start-up then returns false.
TEST(QtProgram, RunsTheMainWindowOnceBetweenTheSkinsTwoCalls) {
    TempDirectory directory;
    const QString previous = QDir::currentPath();
    QDir here(QString::fromStdString(directory.Path().string()));
    ASSERT_TRUE(QDir::setCurrent(here.path()));
    QFile skinFile(here.filePath(QStringLiteral("rilo.u3")));
    ASSERT_TRUE(skinFile.open(QIODevice::WriteOnly));
    skinFile.write("QPushButton { font-weight: bold; }");
    skinFile.close();

    int windowsMade = 0;
    RecordingEvents* events = nullptr;
    std::string givenName;
    QString skinWhileRunning;
    QtProgram app([&](SettingsStore& settings, const std::string& name) {
        ++windowsMade;
        givenName = name;
        settings.WriteSetting("Settings", "keyLan", 1);
        auto window = std::make_unique<QtMainWindow>([&](DialogControls&, FlowExecutor&) {
            auto recording = std::make_unique<RecordingEvents>();
            events = recording.get();
            return recording;
        });
        // The user closes the window with its close box once it runs.
        QTimer::singleShot(0, window.get(), [&, w = window.get()] {
            skinWhileRunning = qApp->styleSheet();
            w->close();
        });
        return window;
    });
    EXPECT_FALSE(app.InitInstance());
    QDir::setCurrent(previous);

    EXPECT_EQ(windowsMade, 1);
    EXPECT_EQ(givenName, QtProgram::ApplicationName().toStdString());
    EXPECT_EQ(givenName, "varnok_qt_tests");
    EXPECT_EQ(skinWhileRunning, QStringLiteral("QPushButton { font-weight: bold; }"));
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    // What the window's behaviour wrote is in this program's settings file.
    EXPECT_EQ(QtSettingsStore(QtProgram::ApplicationName()).ReadSetting("Settings", "keyLan", 0),
              1);
}

}  // namespace
}  // namespace varnok
