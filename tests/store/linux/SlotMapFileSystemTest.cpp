#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "store/FileProblemTexts.h"
#include "store/ReplaceFile.h"
#include "store/SlotMap.h"
#include "store/SlotRecordFixtures.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"
#include "support/linux/ChildProcess.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const Bytes kOld(kKey2CtrlC.begin(), kKey2CtrlC.end());

// A map whose file is larger than the old one, so a write that stops part-way is visible.
void FillMap(SlotMap& map) {
    map.Set("key1", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0);
    map.Set("key3", "鼠标左键", {0x04, 0x01}, 0);
}

// What a save of the filled map over the old file writes.
Bytes OldAndNewContents() {
    SlotMap map;
    map.Read(kOld);
    FillMap(map);
    return map.Contents();
}

// Stops writes past 100 bytes, as a full disk would; the process hears of it as an error.
void LimitFileSize() {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited{};
    getrlimit(RLIMIT_FSIZE, &limited);
    limited.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &limited);
}

// The files in a folder and its folders: a journal left behind would be one.
long FilesUnder(const fs::path& folder) {
    return std::count_if(fs::recursive_directory_iterator(folder), {},
                         [](const fs::directory_entry& entry) { return entry.is_regular_file(); });
}

void MakeFolderTakeNoNewFiles(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
}

// A folder an ordinary user owns, for a child process running as that user.
struct UserFolder {
    UserFolder() {
        [[maybe_unused]] const int ignored =
            ::chown(directory.Path().c_str(), OrdinaryUserId(), OrdinaryGroupId());
    }
    fs::path Store() const { return directory.Path() / "msmap.dat"; }
    TempDirectory directory;
};

struct UserCase {
    const char* label;
    std::function<void(const fs::path& folder)> arrange;  // runs as the ordinary user
    std::string message;                                  // after the path; empty: saved
    bool oldFile;                                         // an old msmap.dat is there first
};

TEST(SlotMapFileSystem, AnOrdinaryUserHearsWhyNothingWasSavedAndKeepsTheOldFile) {
    const std::vector<UserCase> cases = {
        {"a read-only msmap.dat",
         [](const fs::path& folder) {
             fs::permissions(folder / "msmap.dat", fs::perms::owner_read);
         },
         "the file is read-only", true},
        {"an msmap.dat that cannot be read",
         [](const fs::path& folder) {
             fs::permissions(folder / "msmap.dat", fs::perms::owner_write);
         },
         "it cannot be read and was left as it is", true},
        {"a full disk", [](const fs::path&) { LimitFileSize(); }, "there is no room on the disk",
         true},
        {"a folder that takes no new files, without msmap.dat", MakeFolderTakeNoNewFiles,
         "the folder does not allow new files", false},
        {"a folder that takes no new files: msmap.dat is written in place",
         MakeFolderTakeNoNewFiles, "", true},
        {"a full disk while writing in place",
         [](const fs::path& folder) {
             MakeFolderTakeNoNewFiles(folder);
             LimitFileSize();
         },
         "there is no room on the disk", true},
    };
    for (const UserCase& c : cases) {
        SCOPED_TRACE(c.label);
        UserFolder folder;
        // Where a write in place keeps its journal when the map's folder takes no new files.
        UserFolder state;
        ScopedEnvironment environment;
        environment.Set("XDG_STATE_HOME", state.directory.Path().string());
        const auto message = RunInChild(
            [&] {
                if (c.oldFile) WriteBytes(folder.Store(), kOld);
                c.arrange(folder.directory.Path());
                SlotMap map(folder.directory.Path());
                map.Load();
                FillMap(map);
                const FileResult result = map.Save();
                return result ? std::string() : DescribeFileResult(result, 0);
            },
            10s, true);
        ASSERT_TRUE(message.has_value());
        if (c.message.empty()) {
            EXPECT_EQ(*message, "");
            EXPECT_TRUE(ReadBytes(folder.Store()) == OldAndNewContents());
        } else {
            EXPECT_EQ(*message, folder.Store().string() + ": " + c.message);
            if (c.oldFile) {
                EXPECT_TRUE(ReadBytes(folder.Store()) == kOld);
            }
        }
        EXPECT_EQ(Listing(folder.directory.Path()),
                  c.oldFile ? std::vector<std::string>{"msmap.dat"} : std::vector<std::string>{});
        EXPECT_EQ(FilesUnder(state.directory.Path()), 0);
    }
}

TEST(SlotMapFileSystem, ASaveRunAsRootLeavesTheFileToItsOwner) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can save a file that another user owns";
    }
    UserFolder folder;
    WriteBytes(folder.Store(), kOld);
    ASSERT_EQ(::chown(folder.Store().c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
    ASSERT_EQ(::chmod(folder.Store().c_str(), 0640), 0);

    SlotMap map(folder.directory.Path());
    ASSERT_TRUE(map.Load());
    FillMap(map);
    ASSERT_TRUE(map.Save());

    struct stat status {};
    ASSERT_EQ(::stat(folder.Store().c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, OrdinaryUserId());
    EXPECT_EQ(status.st_gid, OrdinaryGroupId());
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_TRUE(ReadBytes(folder.Store()) == OldAndNewContents());
    // And its owner can go on saving.
    const auto message = RunInChild(
        [&] {
            SlotMap user(folder.directory.Path());
            user.Load();
            user.Remove("key1");
            const FileResult result = user.Save();
            return result ? std::string("saved") : DescribeFileResult(result, 0);
        },
        10s, true);
    EXPECT_EQ(message, "saved");
}

struct LinkCase {
    const char* label;
    std::vector<std::pair<const char*, const char*>> links;  // name, what it points to
};

TEST(SlotMapFileSystem, ALinkThatLeadsNowhereIsReportedNeverReplaced) {
    const LinkCase cases[] = {
        {"a link to a missing file", {{"msmap.dat", "gone.dat"}}},
        {"a link to itself", {{"msmap.dat", "msmap.dat"}}},
        {"two links to each other", {{"msmap.dat", "other.dat"}, {"other.dat", "msmap.dat"}}},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        for (const auto& [name, target] : c.links) {
            fs::create_symlink(target, directory.Path() / name);
        }
        const std::vector<std::string> before = Listing(directory.Path());
        SlotMap map(directory.Path());
        EXPECT_FALSE(map.Load());
        FillMap(map);
        const FileResult result = map.Save();
        EXPECT_EQ(DescribeFileResult(result, 0),
                  map.FilePath().string() + ": it is a symbolic link that leads nowhere");
        EXPECT_EQ(Listing(directory.Path()), before);
        EXPECT_EQ(fs::read_symlink(map.FilePath()), fs::path(c.links.front().second));
    }
}

TEST(SlotMapFileSystem, ALinkToAFileIsFollowedAndTheFileKeepsItsPermissions) {
    TempDirectory directory;
    const fs::path real = directory.Path() / "real.dat";
    WriteBytes(real, kOld);
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    SlotMap map(directory.Path());
    fs::create_symlink("real.dat", map.FilePath());
    map.Set("key9", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0x03);

    ASSERT_TRUE(map.Save());
    EXPECT_TRUE(fs::is_symlink(map.FilePath()));
    Bytes expected = kOld;
    expected.insert(expected.end(), kKey9Written.begin(), kKey9Written.end());
    EXPECT_EQ(ReadBytes(real), expected);
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Listing(directory.Path()), (std::vector<std::string>{"msmap.dat", "real.dat"}));
}

TEST(SlotMapFileSystem, ASaveWaitsForAnotherOneAndThenGivesUp) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    WriteBytes(map.FilePath(), kOld);
    FillMap(map);
    const int held = ::open(directory.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const FileResult busy = map.Save();
    EXPECT_EQ(DescribeFileResult(busy, 0),
              map.FilePath().string() + ": another program is saving it");
    EXPECT_TRUE(ReadBytes(map.FilePath()) == kOld);
    ::close(held);
    EXPECT_TRUE(map.Save());
}

// Two savers through two links to one map, in different folders, each saving its own three
// keys round after round: every save succeeds, the file ends with every saver's last keys, and
// every name still leads to it. A map with more than one name is written where it stands.
TEST(SlotMapFileSystem, SaversThroughLinksInDifferentFoldersKeepEveryKey) {
    const struct {
        const char* label;
        void (*link)(const fs::path& to, const fs::path& name);
    } cases[] = {
        {"symbolic links",
         [](const fs::path& to, const fs::path& name) { fs::create_symlink(to, name); }},
        {"hard links",
         [](const fs::path& to, const fs::path& name) { fs::create_hard_link(to, name); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        ScopedEnvironment environment;
        environment.Set("XDG_STATE_HOME", (directory.Path() / "state").string());
        const fs::path real = directory.Path() / "real";
        fs::create_directory(real);
        WriteBytes(real / "msmap.dat", {});
        const std::array<fs::path, 2> folders = {directory.Path() / "d1", directory.Path() / "d2"};
        for (const fs::path& folder : folders) {
            fs::create_directory(folder);
            c.link(real / "msmap.dat", folder / "msmap.dat");
        }
        constexpr int kRounds = 100;
        const auto key = [](int saver, int k) { return "key" + std::to_string(saver * 3 + k + 1); };
        std::array<std::vector<std::string>, 2> failures;
        const auto saver = [&](int which) {
            for (int round = 0; round < kRounds; ++round) {
                SlotMap map(folders[which]);
                map.Load();
                for (int k = 0; k < 3; ++k) {
                    map.Set(key(which, k), "round " + std::to_string(round),
                            {static_cast<std::uint8_t>(round)}, 0);
                }
                if (const FileResult saved = map.Save(); !saved) {
                    failures[which].push_back(DescribeFileResult(saved, 0));
                }
            }
        };
        std::thread first(saver, 0);
        std::thread second(saver, 1);
        first.join();
        second.join();

        for (const std::vector<std::string>& failed : failures) {
            EXPECT_EQ(failed.size(), 0u) << failed.front();
        }
        for (const fs::path& folder : {real, folders[0], folders[1]}) {
            SCOPED_TRACE(folder.filename().string());
            EXPECT_TRUE(fs::equivalent(folder / "msmap.dat", real / "msmap.dat"));
            EXPECT_EQ(Listing(folder), std::vector<std::string>{"msmap.dat"});
            SlotMap saved(folder);
            ASSERT_TRUE(saved.Load());
            for (int which = 0; which < 2; ++which) {
                for (int k = 0; k < 3; ++k) {
                    SCOPED_TRACE(key(which, k));
                    const SlotEntry* entry = saved.Find(key(which, k));
                    ASSERT_NE(entry, nullptr);
                    EXPECT_EQ(entry->text, "round " + std::to_string(kRounds - 1));
                    EXPECT_EQ(entry->data[0], kRounds - 1);
                }
            }
        }
        EXPECT_FALSE(fs::exists(directory.Path() / "state") &&
                     FilesUnder(directory.Path() / "state") != 0);
    }
}

struct CheckCase {
    const char* label;
    std::function<void(const fs::path& folder)> arrange;  // runs as the ordinary user
    const char* target;
    FileProblem expected;
};

// The simulated keyboard's key table is checked at start-up and written later: both must
// come to the same answer.
TEST(SlotMapFileSystem, TheCheckBeforeWritingAgreesWithTheWrite) {
    const auto none = [](const fs::path&) {};
    const std::vector<CheckCase> cases = {
        {"a new file", none, "keys.txt", FileProblem::None},
        {"an existing file", [](const fs::path& f) { WriteBytes(f / "keys.txt", kOld); },
         "keys.txt", FileProblem::None},
        {"an existing file in a folder that takes no new files",
         [](const fs::path& f) {
             WriteBytes(f / "keys.txt", kOld);
             MakeFolderTakeNoNewFiles(f);
         },
         "keys.txt", FileProblem::None},
        {"a new file in a folder that takes no new files", MakeFolderTakeNoNewFiles, "keys.txt",
         FileProblem::NoNewFiles},
        {"a read-only file",
         [](const fs::path& f) {
             WriteBytes(f / "keys.txt", kOld);
             fs::permissions(f / "keys.txt", fs::perms::owner_read);
         },
         "keys.txt", FileProblem::ReadOnly},
        {"a file that may be neither read nor written",
         [](const fs::path& f) {
             WriteBytes(f / "keys.txt", kOld);
             fs::permissions(f / "keys.txt", fs::perms::none);
         },
         "keys.txt", FileProblem::Unreadable},
        {"a missing folder", none, "missing/keys.txt", FileProblem::NoFolder},
        {"a folder", [](const fs::path& f) { fs::create_directory(f / "keys.txt"); }, "keys.txt",
         FileProblem::NotAFile},
        {"a link to nothing", [](const fs::path& f) { fs::create_symlink("gone", f / "keys.txt"); },
         "keys.txt", FileProblem::BrokenLink},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.label);
        UserFolder folder;
        const auto outcome = RunInChild(
            [&] {
                c.arrange(folder.directory.Path());
                const fs::path target = folder.directory.Path() / c.target;
                const FileResult check = CheckReplaceable(target);
                const FileResult write = ReplaceFile(target, kOld);
                return std::to_string(static_cast<int>(check.problem)) + " " +
                       std::to_string(static_cast<int>(write.problem));
            },
            10s, true);
        const std::string expected = std::to_string(static_cast<int>(c.expected));
        EXPECT_EQ(outcome, expected + " " + expected);
    }
}

}  // namespace
}  // namespace varnok
