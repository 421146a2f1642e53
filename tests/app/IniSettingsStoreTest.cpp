#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "app/IniSettingsStore.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(IniSettingsStore, ValuesRoundTripThroughTheUsersConfigurationFile) {
    TempDirectory home;
    const fs::path file = home.Path() / "brelmoth/varnok.conf";
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
        IniSettingsStore store(file);
        for (const Case& c : cases) EXPECT_TRUE(store.WriteSetting("Settings", c.value, c.written));
    }
    // A later run reads what an earlier one wrote.
    IniSettingsStore store(file);
    EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 7), -1);
    EXPECT_EQ(store.ReadSetting("Settings", "keynum", 7), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun1Sel", 7), 2);
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun2Sel", 7),
              std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun6Sel", 7), 0);
    // Absent: another value name, another section.
    EXPECT_EQ(store.ReadSetting("Settings", "KeyFun3Sel", 4), 4);
    EXPECT_EQ(store.ReadSetting("Other", "keyLan", 4), 4);
    EXPECT_EQ(ReadText(file).substr(0, 11), "[Settings]\n");
}

TEST(IniSettingsStore, NoFileReadsAsDefaults) {
    TempDirectory home;
    IniSettingsStore store(home.Path() / "varnok.conf");
    EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 0);
    EXPECT_EQ(store.ReadSetting("Settings", "keynum", 3), 3);
    EXPECT_FALSE(fs::exists(home.Path() / "varnok.conf"));
}

// A hand-edited or damaged file never crashes the program and never yields a value that is not
// a 32-bit integer: such values read as the caller's default.
TEST(IniSettingsStore, UnusableValuesReadAsTheDefault) {
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
        TempDirectory home;
        WriteText(home.Path() / "varnok.conf", std::string("[Settings]\n") + c.line + "\n");
        IniSettingsStore store(home.Path() / "varnok.conf");
        EXPECT_EQ(store.ReadSetting("Settings", "keynum", 99), c.expected) << c.line;
    }
}

TEST(IniSettingsStore, CorruptFileReadsAsDefaults) {
    const std::string contents[] = {
        std::string("\x00\xff\xfe[Settings\nkeynum\x00=3\n", 18),
        std::string(64 * 1024, '['),
        std::string("[Settings]\nkeynum=3\n[Settings]\n\xc3\x28=\xff\xfe\n"),
    };
    for (const std::string& bytes : contents) {
        TempDirectory home;
        const fs::path file = home.Path() / "varnok.conf";
        WriteText(file, bytes);
        {
            IniSettingsStore store(file);
            EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 0);
            // The user's next choice is kept all the same: the file is written afresh.
            EXPECT_TRUE(store.WriteSetting("Settings", "keyLan", 1));
        }
        IniSettingsStore store(file);
        EXPECT_EQ(store.ReadSetting("Settings", "keyLan", 0), 1);
    }
}

// Two programs on one file, each writing its own values: every value either wrote stays, and
// what the other section and names held stays too. A value already stored is not written.
TEST(IniSettingsStore, AWriteKeepsWhatAnotherProgramWroteMeanwhile) {
    struct Case {
        const char* label;
        const char* before;
        const char* after;  // the file once the first program wrote keynum=2 and KeyFun3Sel=1
    };
    const Case cases[] = {
        {"the other program adds a value", "[Settings]\nkeyLan=1\n",
         "[Settings]\nKeyFun3Sel=1\nKeyFun4Sel=1\nkeyLan=1\nkeynum=2\n"},
        {"the other program changes a value this one wrote",
         "[Other]\nx=\"a;b\"\n\n[Settings]\nkeynum=0\n",
         "[Other]\nx=\"a;b\"\n\n[Settings]\nKeyFun3Sel=1\nKeyFun4Sel=1\nkeynum=2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory home;
        const fs::path file = home.Path() / "varnok.conf";
        WriteText(file, c.before);
        IniSettingsStore first(file);
        IniSettingsStore second(file);
        EXPECT_EQ(first.ReadSetting("Settings", "keyLan", 7),
                  second.ReadSetting("Settings", "keyLan", 7));
        ASSERT_TRUE(first.WriteSetting("Settings", "keynum", 2));
        ASSERT_TRUE(second.WriteSetting("Settings", "KeyFun4Sel", 1));
        ASSERT_TRUE(second.WriteSetting("Settings", "keynum", 0));
        ASSERT_TRUE(first.WriteSetting("Settings", "KeyFun3Sel", 1));
        EXPECT_EQ(ReadText(file), c.after);

        // Storing what is stored leaves the file alone, even one that may not be replaced.
        const auto written = fs::last_write_time(file);
        EXPECT_TRUE(first.WriteSetting("Settings", "KeyFun3Sel", 1));
        EXPECT_EQ(fs::last_write_time(file), written);
    }
}

}  // namespace
}  // namespace varnok
