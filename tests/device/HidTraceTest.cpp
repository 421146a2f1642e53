#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "device/HidTrace.h"
#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "support/HidFakePlatform.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"

namespace varnok {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(HidTrace, LogsEveryReportWithItsTimeSinceTheKeyboardWasFirstOpened) {
    VirtualClock clock;
    SimulatedKeyboard keyboard(clock);
    std::ostringstream log;
    HidTrace trace(keyboard, clock, log);
    KeyboardLink link(trace);

    clock.Advance(5000);  // before the first open: not counted
    ASSERT_TRUE(link.Open());
    const std::vector<std::uint8_t> record = {0x02, 0x08, 0x01, 0x01, 0x00, 0x06,
                                              0x00, 0x00, 0x00, 0x00, 0xFF};
    EXPECT_TRUE(link.WriteBlock(record));
    link.Close();
    clock.Advance(0.25);
    FeatureReport buffer{};
    EXPECT_TRUE(link.ReadPage(2, &buffer));  // a second open keeps the time origin
    keyboard.RefuseGet(2);
    clock.Advance(100);
    EXPECT_FALSE(link.ReadPage(2, &buffer));
    keyboard.RefuseSet(4);
    EXPECT_FALSE(link.WriteBlock(std::span(record).first(2)));

    EXPECT_THAT(
        Lines(log.str()),
        ElementsAre("# 0 simulated-keyboard: collection 0, usage page FF00, usage 0001, "
                    "feature report length 8",
                    "0 set 06 02 08 01 01 00 06 00", "200 set 06 00 00 00 FF 00 00 00",
                    "# 200.25 simulated-keyboard: collection 0, usage page FF00, usage 0001, "
                    "feature report length 8",
                    "200.25 set 06 BB 02 00 00 00 00 00", "200.25 get 06 01 00 06 00 00 00 00",
                    "300.25 get 06 02 00 06 00 00 00 00 failed: the simulated keyboard refused "
                    "the report, as told to",
                    "300.25 set 06 02 08 00 00 00 00 00 failed: the simulated keyboard refused "
                    "the report, as told to"));
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(HidTrace, AppendsToAFileOrSaysWhyItCannot) {
    TempDirectory directory;
    VirtualClock clock;
    SimulatedKeyboard keyboard(clock);
    std::string error;
    EXPECT_FALSE(HidTrace::ToFile(keyboard, clock, directory.Path() / "no" / "t.log", {}, error));
    EXPECT_EQ(error,
              "the HID trace cannot be written: " + (directory.Path() / "no" / "t.log").string() +
                  ": the folder does not exist");
    EXPECT_FALSE(HidTrace::ToFile(keyboard, clock, directory.Path(), {}, error));
    EXPECT_THAT(error, HasSubstr("neither a regular file nor a terminal"));

    const auto path = directory.Path() / "trace.log";
    for (int run = 0; run < 2; ++run) {
        if (run == 0) std::ofstream(path) << "old contents\n";
        auto trace = HidTrace::ToFile(keyboard, clock, path, {}, error);
        ASSERT_TRUE(trace) << error;
        KeyboardLink link(*trace);
        ASSERT_TRUE(link.Open());
        const std::uint8_t end[] = {0xAA, 0xFF};
        EXPECT_TRUE(link.WriteBlock(end));
    }
    const std::string run =
        "# 0 simulated-keyboard: collection 0, usage page FF00, usage 0001, feature report "
        "length 8\n0 set 06 AA FF 00 00 00 00 00\n";
    EXPECT_EQ(ReadText(path), "old contents\n" + run + run);
}

struct ProtectedCase {
    const char* label;
    const char* trace;  // relative to the test's folder
};

TEST(HidTrace, NeverWritesIntoTheKeyTableOrTheStore) {
    const ProtectedCase cases[] = {
        {"the key table", "keys.txt"},
        {"the key table by another spelling", "sub/../keys.txt"},
        {"the key table through a link", "link.txt"},
        {"the store", "msmap.dat"},
        {"the store before it exists", "sub/msmap.dat"},
    };
    for (const ProtectedCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        const auto& folder = directory.Path();
        std::filesystem::create_directory(folder / "sub");
        std::ofstream(folder / "keys.txt") << "01 00 FF\n";
        std::ofstream(folder / "msmap.dat") << "texts";
        // Not every system lets a user make symbolic links (Windows asks for a privilege).
        std::error_code noLinks;
        std::filesystem::create_symlink("keys.txt", folder / "link.txt", noLinks);
        if (noLinks && std::string_view(c.trace) == "link.txt") continue;
        const HidTrace::ProtectedFile protectedFiles[] = {
            {folder / "msmap.dat", "the store"},
            {folder / "sub" / "msmap.dat", "the other store"},
            {folder / "keys.txt", "the key table"},
        };
        VirtualClock clock;
        SimulatedKeyboard keyboard(clock);
        std::string error;
        EXPECT_FALSE(HidTrace::ToFile(keyboard, clock, folder / c.trace, protectedFiles, error));
        EXPECT_THAT(error, HasSubstr(": is the "));
        EXPECT_THAT(error, HasSubstr("; the HID trace needs a file of its own"));
        EXPECT_EQ(ReadText(folder / "keys.txt"), "01 00 FF\n");
        EXPECT_EQ(ReadText(folder / "msmap.dat"), "texts");
        EXPECT_FALSE(std::filesystem::exists(folder / "sub" / "msmap.dat"));
    }
}

// Only the interface taken is named, by the collection that qualified it.
TEST(HidTrace, NamesTheCollectionThatQualifiedTheKeyboard) {
    VirtualClock clock;
    HidFakeDevice other;
    other.path = "/dev/hidraw1";
    other.collections = {{0x000C, 0x0001, 0}, {0xFF01, 0x0001, 65}};
    HidFakeDevice keyboard = other;
    keyboard.path = "/dev/hidraw4";
    keyboard.collections.push_back({0xFFA0, 0x00FF, 8});
    HidFakePlatform platform({other, keyboard});
    std::ostringstream log;
    HidTrace trace(platform, clock, log);
    KeyboardLink link(trace);

    ASSERT_TRUE(link.Open());
    EXPECT_THAT(Lines(log.str()), ElementsAre("# 0 /dev/hidraw4: collection 2, usage page FFA0, "
                                              "usage 00FF, feature report length 8"));
}

}  // namespace
}  // namespace varnok
