#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace varnok {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, ReadsOptionsAndHandsToolkitOptionsOn) {
    struct Case {
        Args arguments;
        std::optional<std::string> keyboard, trace;
        bool help, version;
        Args toolkit;
        std::optional<std::string> map = {};
    };
    // clang-format off
    const Case cases[] = {
        {{"varnok"}, {}, {}, false, false, {"varnok"}},
        {{"varnok", "--virtual-keyboard", "kb.txt"}, "kb.txt", {}, false, false, {"varnok"}},
        {{"varnok", "--virtual-keyboard=kb.txt", "--hid-trace", "t.log"},
         "kb.txt", "t.log", false, false, {"varnok"}},
        {{"varnok", "--help"}, {}, {}, true, false, {"varnok"}},
        {{"varnok", "--version"}, {}, {}, false, true, {"varnok"}},
        {{"varnok", "--map", "keys.dat"}, {}, {}, false, false, {"varnok"}, "keys.dat"},
        {{"varnok", "--map=/media/usb/msmap.dat", "--virtual-keyboard=kb.txt"},
         "kb.txt", {}, false, false, {"varnok"}, "/media/usb/msmap.dat"},
        {{"varnok", "-platform", "offscreen", "--hid-trace=x", "-reverse"},
         {}, "x", false, false, {"varnok", "-platform", "offscreen", "-reverse"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        ParsedCommandLine parsed = ParseCommandLine(c.arguments);
        EXPECT_EQ(parsed.error, "") << c.arguments.size();
        EXPECT_EQ(parsed.options.virtualKeyboardFile, c.keyboard);
        EXPECT_EQ(parsed.options.hidTraceFile, c.trace);
        EXPECT_EQ(parsed.options.mapFile, c.map);
        EXPECT_EQ(parsed.options.help, c.help);
        EXPECT_EQ(parsed.options.version, c.version);
        EXPECT_EQ(parsed.toolkitArguments, c.toolkit);
    }
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
    const std::pair<Args, std::string> cases[] = {
        {{"varnok", "--virtual"}, "unknown option: --virtual"},
        {{"varnok", "--virtual-keyboard"}, "option --virtual-keyboard needs a FILE"},
        {{"varnok", "--hid-trace="}, "option --hid-trace needs a FILE"},
        {{"varnok", "--map"}, "option --map needs a FILE"},
        {{"varnok", "--help=me"}, "unknown option: --help=me"},
        {{"varnok", "keys.txt"}, "unexpected argument: keys.txt"},
    };
    for (const auto& [arguments, error] : cases) {
        EXPECT_EQ(ParseCommandLine(arguments).error, error);
    }
}

}  // namespace
}  // namespace varnok
