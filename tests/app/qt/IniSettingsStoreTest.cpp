#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUuid>

#include "app/IniSettingsStore.h"

namespace varnok {
namespace {

// The settings store and QSettings, through which the window kept the file before, on the same
// file: each case starts from the same file contents, and both must read the same values and
// leave the same bytes.
struct Store {
    QString name = QStringLiteral("varnok-ini-") + QUuid::createUuid().toString(QUuid::Id128);
    QString path = QDir(qEnvironmentVariable("XDG_CONFIG_HOME"))
                       .filePath(QStringLiteral("brelmoth/") + name + QStringLiteral(".conf"));

    void Put(const std::string& contents) const {
        QDir().mkpath(QFileInfo(path).path());
        QFile::remove(path);
        if (contents == "<missing>") return;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents.data(), static_cast<qint64>(contents.size()));
    }
    std::string Contents() const {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return "<missing>";
        return file.readAll().toStdString();
    }
    // What the window read through QSettings: the caller's default unless a decimal integer.
    std::int32_t QtRead(const char* value, std::int32_t defaultValue) const {
        const QVariant stored = QSettings(path, QSettings::IniFormat)
                                    .value(QStringLiteral("Settings/") + QLatin1String(value));
        bool ok = false;
        const int number = stored.toString().trimmed().toInt(&ok);
        return stored.isValid() && ok ? number : defaultValue;
    }
    void QtWrite(const char* value, std::int32_t number) const {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/") + QLatin1String(value), number);
    }
};

const char* const kFiles[] = {
    "<missing>",
    "",
    "[Settings]\nkeynum=1\nKeyFun1Sel=2\n",
    "[Zeta]\nb=1\na=2\n\n[Settings]\nkeynum=1\nkeyLan=3\n",
    "junk\n; c\n[Settings]\n# c\nkeynum = \"3\" ; note\nkeyLan=0x10\nKeyFun1Sel=+4\n",
    "[Settings]\nfoo=\"a b\", c\nbar=\"x;y\"\nbaz=a\\\\b\\tq\nkeynum=1,2\nkeyLan= \" 5\"\n",
    "top=1\n[General]\nx=2\n[%General]\ny=3\n[Settings]\nkeyLan=-1\n",
    "[Settings]\r\nkeynum=7\r\nkeyLan=99999999999\r\nKeyFun1Sel=\r\n",
    "[Sp%20ace]\nk%20e\\y=1\n[Settings]\n%FC=1\nu=\xC3\xA9\xE4\xB8\xAD x\nkeynum=2\n",
    "[Settings]\nkeynum=1\n[A]\nz=1\n[Settings]\nkeynum=2\nkeyLan=5\n",
    "[Settings]\nctl=a\\tb\\x1\\x63\\x7f\nq=\" lead\"\nat=@@home\nkeynum=\"-3\"\n",
    "[settings]\nkeynum=4\n",
    "[Settings]\n\xF6"
    "Fun=1\nk\xE4\xB8=2\nv\xC3\xA9=3\ne\xF0\x9F\x98\x80=4\nkeynum=5\n",
    // Saved by an editor that marks UTF-8 files.
    "\xEF\xBB\xBF[Settings]\nkeyLan=1\nkeynum=2\nKeyFun1Sel=1\n[Other]\nx=1\n",
};

TEST(IniSettingsStoreAsQSettings, ReadsWhatQSettingsReads) {
    for (const char* contents : kFiles) {
        SCOPED_TRACE(contents);
        Store file;
        file.Put(contents);
        IniSettingsStore ini(file.path.toStdString());
        for (const char* value : {"keynum", "keyLan", "KeyFun1Sel"}) {
            EXPECT_EQ(ini.ReadSetting("Settings", value, 7), file.QtRead(value, 7)) << value;
        }
    }
}

TEST(IniSettingsStoreAsQSettings, WritesTheBytesQSettingsWrites) {
    for (const char* contents : kFiles) {
        for (const auto& [value, number] :
             {std::pair{"keynum", 3}, std::pair{"KeyFun3Sel", -1}, std::pair{"keyLan", 0}}) {
            SCOPED_TRACE(std::string(contents) + " <- " + value);
            Store file;
            file.Put(contents);
            // A value the file holds already is not written again.
            const bool stored = file.QtRead(value, number + 1) == number;
            file.QtWrite(value, number);
            const std::string byQt = stored ? std::string(contents) : file.Contents();

            file.Put(contents);
            IniSettingsStore ini(file.path.toStdString());
            ASSERT_TRUE(ini.WriteSetting("Settings", value, number));
            EXPECT_EQ(file.Contents(), byQt);
        }
    }
}

TEST(IniSettingsStoreAsQSettings, CreatesTheDirectoryAndRefusesAFileItCannotRead) {
    Store file;
    const QString directory = QFileInfo(file.path).path() + QStringLiteral("/new/deeper");
    IniSettingsStore fresh((directory + QStringLiteral("/varnok.conf")).toStdString());
    EXPECT_TRUE(fresh.WriteSetting("Settings", "keynum", 2));
    EXPECT_EQ(fresh.ReadSetting("Settings", "keynum", 7), 2);

    // A directory where the file should be: nothing to read, nothing written.
    IniSettingsStore blocked(directory.toStdString());
    EXPECT_FALSE(blocked.WriteSetting("Settings", "keynum", 2));
    EXPECT_EQ(blocked.ReadSetting("Settings", "keynum", 7), 7);
}

}  // namespace
}  // namespace varnok
