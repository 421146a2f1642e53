#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/MemorySettingsStore.h"
#include "app/qt/QtProgram.h"
#include "support/TempDirectory.h"
#include "ui/qt/RecordingEvents.h"

namespace varnok {
namespace {

// Start-up runs the main window once, modally, with the settings store it is given; the
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
    MemorySettingsStore given;
    QtProgram app(given, [&](SettingsStore& settings, const std::string& name) {
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
    // What the window's behaviour wrote is in the store the program was given.
    EXPECT_EQ(given.ReadSetting("Settings", "keyLan", 0), 1);
}

// A window that cannot start says why in a message box in its language, the reason as given
// (a path that looks like markup included), and returns once the user has closed it.
TEST(QtProgram, ShowsWhyTheWindowCannotStartInItsLanguage) {
    const std::string reason = "/tmp/<b>m.dat</b>: the folder does not exist";
    const struct {
        std::int32_t language;
        const char* caption;
        const char* text;
    } cases[] = {
        {0, "Information!", "Varnok cannot start:"},
        {1, "提示!", "Varnok 无法启动："},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QString caption;
        QString text;
        QString detail;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            caption = box->windowTitle();
            text = box->text();
            const auto* label =
                box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
            if (label != nullptr && label->textFormat() == Qt::PlainText) detail = label->text();
            box->button(QMessageBox::Ok)->click();
        });
        QtProgram::ShowStartRefusal(reason, c.language);
        EXPECT_EQ(caption.toStdString(), c.caption);
        EXPECT_EQ(text.toStdString(), c.text);
        EXPECT_EQ(detail.toStdString(), reason);
    }
}

}  // namespace
}  // namespace varnok
