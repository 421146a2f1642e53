#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "store/SlotMap.h"
#include "store/SlotRecordFixtures.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Bytes kOldContents(kKey2CtrlC.begin(), kKey2CtrlC.end());

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> Listing(const fs::path& directory) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A map whose file is larger than the old one, so a write that stops part-way is visible.
void FillMap(SlotMap& map) {
    map.Set("key1", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0);
    map.Set("key3", "鼠标左键", {0x04, 0x01}, 0);
}

// Saves over an old msmap.dat while arrange() is in force and checks that the old file is
// still whole and nothing else was left in the directory.
void ExpectFailedSaveKeepsOldFile(const std::function<void(const fs::path&)>& arrange,
                                  const std::function<void(const fs::path&)>& restore) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    FillMap(map);
    WriteBytes(map.FilePath(), kOldContents);
    const std::vector<std::string> before = Listing(directory.Path());

    arrange(directory.Path());
    const bool saved = map.Save();
    restore(directory.Path());

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(map.FilePath()), kOldContents);
    EXPECT_EQ(Listing(directory.Path()), before);
}

TEST(SlotMapSave, WriteStoppedPartWayLeavesThePreviousFileWhole) {
    // A file size limit makes the write fail after 100 bytes, even for root.
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    ExpectFailedSaveKeepsOldFile(
        [&](const fs::path&) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limited = original;
            limited.rlim_cur = 100;
            setrlimit(RLIMIT_FSIZE, &limited);
        },
        [&](const fs::path&) {
            setrlimit(RLIMIT_FSIZE, &original);
            std::signal(SIGXFSZ, SIG_DFL);
        });
}

struct PermissionCase {
    const char* label;
    std::function<void(const fs::path& directory)> arrange;
    std::function<void(const fs::path& directory)> restore;
};

TEST(SlotMapSave, MissingWritePermissionLeavesThePreviousFileWhole) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    const PermissionCase cases[] = {
        {"the file is read-only",
         [](const fs::path& directory) {
             fs::permissions(directory / "msmap.dat", fs::perms::owner_read);
         },
         [](const fs::path&) {}},
        {"the directory is read-only",
         [](const fs::path& directory) {
             fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
         },
         [](const fs::path& directory) { fs::permissions(directory, fs::perms::owner_all); }},
    };
    for (const PermissionCase& c : cases) {
        SCOPED_TRACE(c.label);
        ExpectFailedSaveKeepsOldFile(c.arrange, c.restore);
    }
}

TEST(SlotMapSave, FailsWhereNoFileCanTakeTheName) {
    TempDirectory directory;
    SlotMap blocked(directory.Path());
    FillMap(blocked);
    fs::create_directory(blocked.FilePath());
    EXPECT_FALSE(blocked.Save());
    EXPECT_TRUE(fs::is_directory(blocked.FilePath()));
    EXPECT_EQ(Listing(directory.Path()), std::vector<std::string>{"msmap.dat"});

    SlotMap missing(directory.Path() / "missing");
    FillMap(missing);
    EXPECT_FALSE(missing.Save());
    EXPECT_FALSE(fs::exists(directory.Path() / "missing"));
}

TEST(SlotMapSave, ReplacedFileKeepsItsPermissionsAndLink) {
    TempDirectory directory;
    const fs::path real = directory.Path() / "real.dat";
    WriteBytes(real, kOldContents);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    SlotMap map(directory.Path());
    fs::create_symlink("real.dat", map.FilePath());
    map.Set("key9", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0x03);

    ASSERT_TRUE(map.Save());
    EXPECT_TRUE(fs::is_symlink(map.FilePath()));
    EXPECT_EQ(ReadBytes(real), Bytes(kKey9Written.begin(), kKey9Written.end()));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Listing(directory.Path()), (std::vector<std::string>{"msmap.dat", "real.dat"}));
}

}  // namespace
}  // namespace varnok
