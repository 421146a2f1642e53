#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUuid>
#include <cstdint>
#include <limits>

#include "app/qt/QtSettingsStore.h"

namespace varnok {
namespace {

// Each test gets a store of its own name, in the private configuration directory that the
// test main points XDG_CONFIG_HOME to.
QString FreshName() {
    return QStringLiteral("varnok-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

QString ExpectedFile(const QString& name) {
    return QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
        .filePath(QStringLiteral("brelmoth/") + name + QStringLiteral(".conf"));
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(QtSettingsStore, ValuesRoundTripThroughTheUsersConfigurationFile) {
    QString name = FreshName();
    struct Case {
        const char* value;
        std::int32_t written;
    };
    const Case cases[] = {
        {"keyLan", 1},
        {"keynum", 5},
        {"KeyFun1Sel", 2},
        {"KeyFun6Sel", 0},
        {"keyLan", -1},  // a list without a selection stores -1; the later write wins
        {"keynum", std::numeric_limits<std::int32_t>::max()},
        {"KeyFun2Sel", std::numeric_limits<std::int32_t>::min()},
    };
    {
        QtSettingsStore store(name);
        for (const Case& c : cases) EXPECT_TRUE(store.WriteSetting("Settings", c.value, c.written));
        EXPECT_EQ(store.FileName(), ExpectedFile(name));
    }
    ASSERT_TRUE(QFileInfo::exists(ExpectedFile(name)));
    // A later run reads what an earlier one wrote.
    QtSettingsStore store(name);
    EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 7), -1);
    EXPECT_EQ(store.ReadSetting("Settings", "keynum", 7), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun1Sel", 7), 2);
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun2Sel", 7),
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun6Sel", 7), 0);
    // Absent: another value name, another section.
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun3Sel", 4), 4);
    EXPECT_EQ(store.ReadSetting("Other", "keyLan", 4), 4);
    // The values live in the Settings group.
    QSettings raw(ExpectedFile(name), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Settings/KeyFun1Sel").toInt(), 2);
}

TEST(QtSettingsStore, NoFileReadsAsDefaults) {
    QtSettingsStore store(FreshName());
    EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 0);
    EXPECT_EQ(store.ReadSetting("Settings", "keynum", 3), 3);
    EXPECT_FALSE(QFileInfo::exists(store.FileName()));
}

// A hand-edited or damaged file never crashes the program and never yields a value that is not
// a 32-bit integer: such values read as the caller's default.
TEST(QtSettingsStore, UnusableValuesReadAsTheDefault) {
    struct Case {
        const char* line;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"keynum=3", 3},
        {"keynum= 4 ", 4},
        {"keynum=-1", -1},
        {"keynum=", 99},
        {"keynum=two", 99},
        {"keynum=2.5", 99},
        {"keynum=0x10", 99},
        {"keynum=2147483648", 99},
        {"keynum=-2147483649", 99},
        {"keynum=99999999999999999999999", 99},
        {"keynum=1, 2", 99},
        {"keynum=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xff)", 99},
        {"keynum=\"5\"", 5},
    };
    for (const Case& c : cases) {
        QString name = FreshName();
        WriteRaw(ExpectedFile(name), QByteArray("[Settings]\n") + c.line + "\n");
        QtSettingsStore store(name);
        EXPECT_EQ(store.ReadSetting("Settings", "keynum", 99), c.expected) << c.line;
    }
}

TEST(QtSettingsStore, CorruptFileReadsAsDefaults) {
    const QByteArray contents[] = {
        QByteArray("\x00\xff\xfe[Settings\nkeynum\x00=3\n", 18),
        QByteArray(64 * 1024, '['),
        QByteArray("[Settings]\nkeynum=3\n[Settings]\n\xc3\x28=\xff\xfe\n"),
    };
    for (const QByteArray& bytes : contents) {
        QString name = FreshName();
        WriteRaw(ExpectedFile(name), bytes);
        {
            QtSettingsStore store(name);
            EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 0);
            // The user's next choice is kept all the same: the file is written afresh.
            EXPECT_TRUE(store.WriteSetting("Settings", "keyLan", 1));
        }
        QtSettingsStore store(name);
        EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 1);
    }
}

}  // namespace
}  // namespace varnok
