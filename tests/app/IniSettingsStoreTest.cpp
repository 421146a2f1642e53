#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

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

// The keyboard layout is kept as its name: what is written reads back the same, beside the
// integers, and an absent value reads as no layout.
TEST(IniSettingsStore, TextValuesRoundTripBesideTheIntegers) {
    const struct {
        const char* written;
        const char* expected;
    } cases[] = {
        {"de", "de"},     {"us(dvorak)", "us(dvorak)"}, {"00000407", "00000407"},
        {"a, b", "a, b"},  // quoted, so that the comma does not make it a list
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        TempDirectory home;
        const fs::path file = home.Path() / "brelmoth/varnok.conf";
        {
            IniSettingsStore store(file);
            ASSERT_TRUE(store.WriteSetting("Settings", "keynum", 3));
            ASSERT_TRUE(store.WriteText("Settings", "keyLayout", c.written));
        }
        IniSettingsStore store(file);
        EXPECT_EQ(store.ReadText("Settings", "keyLayout"), c.expected);
        EXPECT_EQ(store.ReadSetting("Settings", "keynum", 7), 3);
        EXPECT_EQ(store.ReadText("Settings", "keyLan"), "");
    }
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

// Two programs on one file (the window and varnok-cli), writing and reading in turn: a write
// changes only its own value in the file as it is then, and a read sees the other's last write.
// A value the file already holds is not written again; every other section and value stays.
TEST(IniSettingsStore, TwoProgramsWritingInTurnEachChangeOnlyTheirOwnValue) {
    struct Step {
        char program;  // 'A' or 'B'
        char action;   // 'w' writes value, 'r' reads expecting value (default 99)
        const char* name;
        std::int32_t value;
    };
    struct Case {
        const char* label;
        const char* before;  // nullptr: no file yet
        bool secondName;     // B reaches the file by a hard link from another folder
        std::vector<Step> steps;
        const char* after;
        bool lastLeavesFile;  // the last step finds its value in the file and writes nothing
    };
    const Case cases[] = {
        {"A 1, B 0, A 1 again: the file holds 1 though A last wrote 1 itself",
         "[Settings]\nkeyLan=1\n",
         false,
         {{'A', 'w', "KeyFun1Sel", 1}, {'B', 'w', "KeyFun1Sel", 0}, {'A', 'w', "KeyFun1Sel", 1}},
         "[Settings]\nKeyFun1Sel=1\nkeyLan=1\n",
         false},
        {"the window's earlier mode is not written again with its key count",
         nullptr,
         false,
         {{'A', 'w', "KeyFun1Sel", 2}, {'B', 'w', "KeyFun1Sel", 1}, {'A', 'w', "keynum", 3}},
         "[Settings]\nKeyFun1Sel=1\nkeynum=3\n",
         false},
        {"a read after the other's write sees it",
         "[Settings]\nkeyLan=1\n",
         false,
         {{'A', 'r', "keyLan", 1},
          {'B', 'w', "keyLan", 0},
          {'A', 'r', "keyLan", 0},
          {'B', 'w', "keynum", 4},
          {'A', 'r', "keynum", 4}},
         "[Settings]\nkeyLan=0\nkeynum=4\n",
         false},
        {"a value the other stored is not written again",
         "[Settings]\nkeynum=0\n",
         false,
         {{'A', 'w', "keynum", 2}, {'B', 'w', "keynum", 2}},
         "[Settings]\nkeynum=2\n",
         true},
        {"a file with a second name is written where it stands",
         "[Settings]\nkeynum=0\n",
         true,
         {{'A', 'w', "keynum", 2},
          {'B', 'r', "keynum", 2},
          {'B', 'w', "KeyFun2Sel", 1},
          {'A', 'r', "KeyFun2Sel", 1}},
         "[Settings]\nKeyFun2Sel=1\nkeynum=2\n",
         false},
        // The byte-order mark is read past and, as QSettings writes the file, not written.
        {"an editor's byte-order mark, another section and its quoted value",
         "\xEF\xBB\xBF[Other]\nx=\"a;b\"\n\n[Settings]\nkeynum=0\n",
         false,
         {{'B', 'r', "keynum", 0},
          {'A', 'w', "keynum", 2},
          {'B', 'r', "keynum", 2},
          {'B', 'w', "KeyFun3Sel", 1}},
         "[Other]\nx=\"a;b\"\n\n[Settings]\nKeyFun3Sel=1\nkeynum=2\n",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory home;
        const fs::path file = home.Path() / "brelmoth/varnok.conf";
        const fs::path other = home.Path() / "other/varnok.conf";
        if (c.before != nullptr) WriteText(file, c.before);
        if (c.secondName) {
            fs::create_directories(other.parent_path());
            fs::create_hard_link(file, other);
        }
        IniSettingsStore a(file);
        IniSettingsStore b(c.secondName ? other : file);
        fs::file_time_type written;
        for (const Step& step : c.steps) {
            SCOPED_TRACE(std::string(1, step.program) + " " + step.name);
            IniSettingsStore& store = step.program == 'A' ? a : b;
            if (&step == &c.steps.back()) written = fs::last_write_time(file);
            if (step.action == 'w') {
                EXPECT_TRUE(store.WriteSetting("Settings", step.name, step.value));
            } else {
                EXPECT_EQ(store.ReadSetting("Settings", step.name, 99), step.value);
            }
        }
        EXPECT_EQ(ReadText(file), c.after);
        if (c.lastLeavesFile) {
            EXPECT_EQ(fs::last_write_time(file), written);
        }
        if (c.secondName) {
            EXPECT_TRUE(fs::equivalent(file, other));
#ifndef _WIN32
            // Wine counts one name for every file.
            EXPECT_EQ(fs::hard_link_count(file), 2U);
#endif
        }
    }
}

}  // namespace
}  // namespace varnok
