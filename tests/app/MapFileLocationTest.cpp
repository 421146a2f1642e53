#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "app/MapFileLocation.h"
#include "store/SlotMap.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// The file's contents, or "(none)" when there is no such file.
std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "(none)";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A home with a data folder and a working directory, each holding a map or not.
struct Home {
    TempDirectory root;
    fs::path dataFolder = root.Path() / "share" / "brelmoth" / "varnok";
    fs::path work = root.Path() / "work";
    Home() { fs::create_directories(work); }
};

TEST(MapFileLocation, SettlesTheMapAndLeavesTheUsersFilesAlone) {
    const struct {
        const char* label;
        std::optional<std::string> workMap, dataMap;
        std::optional<std::string> named;  // --map, relative to the working directory
        bool folderBlocked;                // a file where the data folder's parent should be
        const char* file;                  // expected, relative to the home; "" for an error
        std::string dataMapAfter;
        const char* said;  // in the notice or the error
    } cases[] = {
        {"nothing anywhere", {}, {}, {}, false, "share/brelmoth/varnok/msmap.dat", "(none)", ""},
        {"working directory only: copied",
         "old",
         {},
         {},
         false,
         "share/brelmoth/varnok/msmap.dat",
         "old",
         "copied"},
        {"both: the data folder's wins",
         "old",
         "new",
         {},
         false,
         "share/brelmoth/varnok/msmap.dat",
         "new",
         ""},
        {"--map names a file", "old", "new", "elsewhere.dat", false, "work/elsewhere.dat", "new",
         ""},
        {"--map in a missing folder",
         "old",
         {},
         "gone/m.dat",
         false,
         "",
         "(none)",
         "gone/m.dat: the key map cannot be written there"},
        {"data folder cannot be made",
         "old",
         {},
         {},
         true,
         "",
         "(none)",
         "msmap.dat cannot be kept there"},
        {"--map with the data folder blocked", {}, {}, "m.dat", true, "work/m.dat", "(none)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Home home;
        if (c.workMap) Write(home.work / "msmap.dat", *c.workMap);
        if (c.dataMap) Write(home.dataFolder / "msmap.dat", *c.dataMap);
        if (c.folderBlocked) Write(home.root.Path() / "share" / "brelmoth", "a file");

        const MapFileLocation location =
            MapFileLocation::Settle(c.named, home.dataFolder, home.work);

        EXPECT_EQ(location.file, *c.file ? home.root.Path() / c.file : fs::path());
        EXPECT_EQ(location.error.empty(), *c.file != '\0') << location.error;
        const std::string& said = *c.file ? location.notice : location.error;
        if (*c.said) {
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
        } else {
            EXPECT_EQ(said, "");
        }
        EXPECT_EQ(Read(home.work / "msmap.dat"), c.workMap.value_or("(none)"));
        if (!c.folderBlocked) {
            EXPECT_EQ(Read(home.dataFolder / "msmap.dat"), c.dataMapAfter);
        }
        // --map leaves the data folder as it was.
        EXPECT_EQ(fs::exists(home.dataFolder), c.dataMap || (!c.named && !c.folderBlocked));
    }
}

// The copy is the map itself: the window loads the user's entries from it, saves go to the
// data folder only, and the next start finds the map there and says nothing.
TEST(MapFileLocation, TheCopiedMapIsLoadedAndSavedInTheDataFolder) {
    Home home;
    SlotMap earlier(home.work);
    earlier.Set("key2", "Ctrl|C|,", SlotData{0x01, 0x01, 0x00, 0x06}, 0);
    ASSERT_TRUE(earlier.Save());
    const std::string original = Read(home.work / "msmap.dat");

    const MapFileLocation first = MapFileLocation::Settle({}, home.dataFolder, home.work);
    ASSERT_EQ(first.error, "");
    EXPECT_NE(first.notice.find((home.work / "msmap.dat").string()), std::string::npos);
    EXPECT_NE(first.notice.find(first.file.string()), std::string::npos);
    SlotMap map = SlotMap::InFile(first.file);
    ASSERT_TRUE(map.Load());
    ASSERT_NE(map.Find("key2"), nullptr);
    EXPECT_EQ(map.Find("key2")->text, "Ctrl|C|,");
    map.Remove("key2");
    ASSERT_TRUE(map.Save());

    EXPECT_EQ(Read(home.work / "msmap.dat"), original);
    EXPECT_EQ(Read(first.file), "");
    const MapFileLocation second = MapFileLocation::Settle({}, home.dataFolder, home.work);
    EXPECT_EQ(second.file, first.file);
    EXPECT_EQ(second.notice, "");
}

TEST(MapFileLocation, WithoutAHomeFolderOnlyANamedMapWorks) {
    Home home;
    EXPECT_NE(MapFileLocation::Settle({}, std::nullopt, home.work).error.find("--map FILE"),
              std::string::npos);
    EXPECT_EQ(MapFileLocation::Settle("m.dat", std::nullopt, home.work).file, home.work / "m.dat");
}

}  // namespace
}  // namespace varnok
