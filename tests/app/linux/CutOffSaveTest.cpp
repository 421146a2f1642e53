#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/StartUp.h"
#include "store/SlotMap.h"
#include "support/FileBytes.h"
#include "support/HidFakePlatform.h"
#include "support/TempDirectory.h"
#include "support/linux/KillAtChange.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

#if defined(__x86_64__)

Bytes MapOf(const char* text, int records) {
    SlotMap map;
    for (int i = 0; i < records; ++i) {
        map.Set("key" + std::to_string(i), text + std::to_string(i), {static_cast<std::uint8_t>(i)},
                0);
    }
    return map.Contents();
}

// A map with two names is written where it stands, through a journal. Killed at each call of
// that write that changes a file, the next start finds the map as it was or as the save wrote
// it, says that nothing was lost, and leaves no journal behind.
TEST(CutOffSave, AKilledWriteInPlaceLeavesTheOldMapOrTheNewOneAtTheNextStart) {
    const Bytes old = MapOf("before ", 12);
    const Bytes saved = MapOf("after the save ", 24);
    TempDirectory directory;
    ScopedEnvironment environment;
    environment.Set("XDG_STATE_HOME", (directory.Path() / "state").string());
    const fs::path map = directory.Path() / "msmap.dat";
    const fs::path otherName = directory.Path() / "other.dat";
    fs::create_directory(directory.Path() / "state");

    int oldSeen = 0;
    int newSeen = 0;
    for (int point = 1; point <= 40; ++point) {
        SCOPED_TRACE("killed at call " + std::to_string(point));
        fs::remove(map);
        fs::remove(otherName);
        WriteBytes(map, old);
        fs::create_hard_link(map, otherName);
        const bool killed = KillAtChange(
            [&] {
                SlotMap writer = SlotMap::InFile(map);
                writer.Load();
                for (int i = 0; i < 24; ++i) {
                    writer.Set("key" + std::to_string(i), "after the save " + std::to_string(i),
                               {static_cast<std::uint8_t>(i)}, 0);
                }
                static_cast<void>(writer.Save());
            },
            point);

        CommandLineOptions options;
        options.mapFile = otherName.string();
        StartUp startUp(
            options, [] { return std::make_unique<HidFakePlatform>(std::vector<HidFakeDevice>{}); },
            0);
        std::string error;
        ASSERT_TRUE(startUp.SettleMap(std::nullopt, nullptr, error)) << error;
        const Bytes now = ReadBytes(otherName);
        ASSERT_TRUE(now == old || now == saved);
        (now == old ? oldSeen : newSeen) += 1;
        const std::string& notice = startUp.MapNotice();
        EXPECT_TRUE(notice.empty() || notice.find("nothing was lost") != std::string::npos ||
                    notice.find("holds its keys as before") != std::string::npos)
            << notice;
        if (!killed) {
            EXPECT_EQ(notice, "");
        }
        EXPECT_TRUE(fs::equivalent(map, otherName));
        EXPECT_EQ(ReadBytes(map), now);
        EXPECT_EQ(Listing(directory.Path()),
                  (std::vector<std::string>{"msmap.dat", "other.dat", "state"}));
        const auto journals =
            std::count_if(fs::recursive_directory_iterator(directory.Path() / "state"), {},
                          [](const fs::directory_entry& entry) { return entry.is_regular_file(); });
        EXPECT_EQ(journals, 0);
    }
    // The points reach from before the journal to after the map was written.
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);
}

#endif

}  // namespace
}  // namespace varnok
