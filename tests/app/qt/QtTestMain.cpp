#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Window tests run headless: the offscreen platform unless the caller chose one. The settings
// store writes into a private configuration directory, never into the user's own.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
