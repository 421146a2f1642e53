#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/StartUp.h"
#include "support/HidFakePlatform.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "(none)";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Every refusal of start-up stops the program before anything is written: the map, the key
// table and the trace keep what they held. The system's HID services are asked only for the
// real keyboard.
TEST(StartUp, RefusesWhatCannotWorkAndTouchesNothing) {
    const struct {
        const char* label;
        const char* keyTable;  // --virtual-keyboard, relative to the home; "" for none
        const char* trace;     // --hid-trace
        const char* map;       // --map
        bool maySave;
        const char* said;  // in the error; "" when start-up goes through
        int systemAsked;   // the system's HID services, for the real keyboard
    } cases[] = {
        {"a key table that cannot be written, for a save", "gone/keys.txt", "", "m.dat", true,
         "the key table cannot be written: ", 0},
        {"the same key table, only to read", "gone/keys.txt", "", "m.dat", false, "", 0},
        {"a malformed key table", "bad.txt", "", "m.dat", false, "bad.txt: line 1", 0},
        {"the trace into the map", "keys.txt", "m.dat", "m.dat", true,
         "m.dat: is the file Varnok keeps the keys' texts in; the HID trace needs a file of its "
         "own",
         0},
        {"the trace into the key table through a link", "keys.txt", "keys-link.txt", "m.dat", true,
         "is the simulated keyboard's key table", 0},
        {"a map in a missing folder", "keys.txt", "", "gone/m.dat", true,
         "m.dat: the key map cannot be written there", 0},
        {"the map is the key table", "keys.txt", "", "keys-link.txt", true,
         "keys-link.txt: is the simulated keyboard's key table; the key map needs a file of its "
         "own",
         0},
        {"the map is the key table, both still to be made", "new.txt", "", "new.txt", true,
         "is the simulated keyboard's key table", 0},
        {"everything in place", "keys.txt", "trace.log", "m.dat", true, "", 0},
        {"the real keyboard, traced", "", "trace.log", "m.dat", true, "", 1},
        {"the real keyboard's trace into the map", "", "m.dat", "m.dat", true, "HID trace", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory home;
        const fs::path root = home.Path();
        std::ofstream(root / "keys.txt", std::ios::binary) << "01 00 FF\n";
        std::ofstream(root / "bad.txt", std::ios::binary) << "not a record\n";
        std::ofstream(root / "m.dat", std::ios::binary) << "map";
        // Another name for the same file: a hard link, which Windows has too.
        fs::create_hard_link(root / "keys.txt", root / "keys-link.txt");
        const auto named = [&](const char* file) {
            return *file == '\0' ? std::nullopt : std::optional<std::string>(Utf8(root / file));
        };

        int systemAsked = 0;
        StartUp startUp(
            {.virtualKeyboardFile = named(c.keyTable),
             .hidTraceFile = named(c.trace),
             .mapFile = named(c.map)},
            [&] {
                ++systemAsked;
                return std::make_unique<HidFakePlatform>(std::vector<HidFakeDevice>{});
            },
            0);
        std::string error;
        const bool settled = startUp.SettleMap(std::nullopt, nullptr, error);
        HidPlatform* keyboard = settled ? startUp.Keyboard(c.maySave, error) : nullptr;

        if (*c.said == '\0') {
            ASSERT_NE(keyboard, nullptr) << error;
            EXPECT_EQ(startUp.MapFile(), root / c.map);
            EXPECT_EQ(startUp.Keyboard(c.maySave, error), keyboard) << "made once";
        } else {
            EXPECT_EQ(keyboard, nullptr);
            EXPECT_NE(error.find(c.said), std::string::npos) << error;
        }
        EXPECT_EQ(systemAsked, c.systemAsked);
        EXPECT_EQ(Read(root / "keys.txt"), "01 00 FF\n");
        EXPECT_EQ(Read(root / "m.dat"), "map");
        EXPECT_FALSE(fs::exists(root / "gone"));
        EXPECT_FALSE(fs::exists(root / "new.txt"));
    }
}

// The window shows a refusal in its own language: what is wrong, and the file's problem.
TEST(StartUp, WordsItsRefusalsInTheWindowsLanguage) {
    const struct {
        std::int32_t language;
        const char* keyTable;
        const char* map;
        const char* said;
        const char* problem;  // the file's problem, after the path
    } cases[] = {
        {0, "keys.txt", "gone/m.dat",
         "m.dat: the key map cannot be written there: ", "m.dat: the folder does not exist"},
        {1, "keys.txt", "gone/m.dat", "m.dat：按键映射文件无法写在这里：", "m.dat: 文件夹不存在"},
        {1, "keys.txt", "keys.txt", "keys.txt：是模拟键盘的按键表；按键映射需要单独的文件", ""},
        {1, "gone/keys.txt", "m.dat", "按键表无法写入：", "keys.txt: 文件夹不存在"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        TempDirectory home;
        std::ofstream(home.Path() / "keys.txt") << "01 00 FF\n";
        StartUp startUp({.virtualKeyboardFile = Utf8(home.Path() / c.keyTable),
                         .hidTraceFile = std::nullopt,
                         .mapFile = Utf8(home.Path() / c.map)},
                        nullptr, c.language);
        std::string error;
        if (startUp.SettleMap(std::nullopt, nullptr, error)) {
            EXPECT_EQ(startUp.Keyboard(true, error), nullptr);
        }
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace varnok
