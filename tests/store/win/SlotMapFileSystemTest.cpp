#include <gtest/gtest.h>
#include <windows.h>
// windows.h names ReplaceFileW ReplaceFile; the tests call Varnok's own.
#undef ReplaceFile

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "store/FileProblemTexts.h"
#include "store/ReplaceFile.h"
#include "store/SaveLock.h"
#include "store/SlotMap.h"
#include "store/SlotRecordFixtures.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

const Bytes kOld(kKey2CtrlC.begin(), kKey2CtrlC.end());

void FillMap(SlotMap& map) {
    map.Set("key1", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0);
    map.Set("key3", "鼠标左键", {0x04, 0x01}, 0);
}

struct RefusedCase {
    const char* label;
    // Puts the obstacle in place; returns what takes it away again.
    std::function<std::function<void()>(const fs::path& file)> arrange;
    std::string message;  // after the path
};

TEST(SlotMapFileSystemOnWindows, ARefusedSaveSaysWhyAndLeavesTheOldFileAlone) {
    const RefusedCase cases[] = {
        {"a read-only msmap.dat",
         [](const fs::path& file) {
             SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
             return std::function<void()>(
                 [file] { SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL); });
         },
         "the file is read-only"},
        {"another program holds msmap.dat open without sharing it",
         [](const fs::path& file) {
             const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
             EXPECT_NE(held, INVALID_HANDLE_VALUE);
             return std::function<void()>([held] { CloseHandle(held); });
         },
         "it cannot be read and was left as it is"},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        WriteBytes(map.FilePath(), kOld);
        map.Load();
        FillMap(map);

        const std::function<void()> undo = c.arrange(map.FilePath());
        const FileResult result = map.Save();
        undo();

        EXPECT_EQ(DescribeFileResult(result, 0), map.FilePath().string() + ": " + c.message);
        EXPECT_TRUE(ReadBytes(map.FilePath()) == kOld);
        EXPECT_EQ(Listing(directory.Path()), std::vector<std::string>{"msmap.dat"});
    }
}

TEST(SlotMapFileSystemOnWindows, TheReplacedFileKeepsItsAttributesAndNothingIsLeftBeside) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    WriteBytes(map.FilePath(), kOld);
    ASSERT_TRUE(SetFileAttributesW(map.FilePath().c_str(), FILE_ATTRIBUTE_HIDDEN));
    // A new file a crashed save left beside it goes with the next save.
    WriteBytes(directory.Path() / "msmap.dat.4242.0.tmp", kOld);
    map.Load();
    map.Set("key9", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0x03);

    ASSERT_TRUE(map.Save());
    SlotMap reloaded(directory.Path());
    ASSERT_TRUE(reloaded.Load());
    ASSERT_NE(reloaded.Find("key9"), nullptr);
    EXPECT_EQ(reloaded.Find("key9")->text, "Ctrl|Alt|Del|,");
    EXPECT_NE(GetFileAttributesW(map.FilePath().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Listing(directory.Path()), std::vector<std::string>{"msmap.dat"});
}

TEST(SlotMapFileSystemOnWindows, TheCheckBeforeWritingAgreesWithTheWrite) {
    struct Case {
        const char* label;
        std::function<void(const fs::path& folder)> arrange;
        const char* name;
        FileProblem expected;
    };
    const auto none = [](const fs::path&) {};
    const Case cases[] = {
        {"a new file", none, "keys.txt", FileProblem::None},
        {"an existing file", [](const fs::path& f) { WriteBytes(f / "keys.txt", kOld); },
         "keys.txt", FileProblem::None},
        {"a read-only file",
         [](const fs::path& f) {
             WriteBytes(f / "keys.txt", kOld);
             SetFileAttributesW((f / "keys.txt").c_str(), FILE_ATTRIBUTE_READONLY);
         },
         "keys.txt", FileProblem::ReadOnly},
        {"a missing folder", none, "missing/keys.txt", FileProblem::NoFolder},
        {"a folder", [](const fs::path& f) { fs::create_directory(f / "keys.txt"); }, "keys.txt",
         FileProblem::NotAFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        c.arrange(directory.Path());
        const fs::path file = directory.Path() / c.name;
        EXPECT_EQ(CheckReplaceable(file).problem, c.expected);
        EXPECT_EQ(ReplaceFile(file, kOld).problem, c.expected);
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(SlotMapFileSystemOnWindows, ASaveWaitsForAnotherOneAndThenGivesUp) {
    TempDirectory directory;
    const fs::path file = directory.Path() / "msmap.dat";
    SaveLock held;
    ASSERT_TRUE(held.Acquire(file));
    // The named lock is the session's: another thread stands for another program here.
    FileResult second;
    std::thread([&] {
        SaveLock other;
        second = other.Acquire(file);
    }).join();
    EXPECT_EQ(second.problem, FileProblem::Busy);
}

// A map with two names (hard links, in two folders) is written where it stands: a save through
// either name is seen through the other, with both savers' keys, and no journal stays behind.
TEST(SlotMapFileSystemOnWindows, SavesThroughTwoHardLinksAreSeenThroughBoth) {
    TempDirectory directory;
    const fs::path state = directory.Path() / "state";
    const wchar_t* before = _wgetenv(L"LOCALAPPDATA");
    const std::wstring localAppData = before != nullptr ? before : L"";
    _wputenv_s(L"LOCALAPPDATA", state.c_str());
    const std::array<fs::path, 2> folders = {directory.Path() / "d1", directory.Path() / "d2"};
    for (const fs::path& folder : folders) fs::create_directory(folder);
    WriteBytes(folders[0] / "msmap.dat", kOld);
    fs::create_hard_link(folders[0] / "msmap.dat", folders[1] / "msmap.dat");

    for (int which = 0; which < 2; ++which) {
        SlotMap map(folders[which]);
        ASSERT_TRUE(map.Load());
        map.Set("key" + std::to_string(which + 4), "saved through d" + std::to_string(which + 1),
                {0x01}, 0);
        const FileResult saved = map.Save();
        ASSERT_TRUE(saved) << DescribeFileResult(saved, 0);
    }
    for (const fs::path& folder : folders) {
        SCOPED_TRACE(folder.filename().string());
        SlotMap map(folder);
        ASSERT_TRUE(map.Load());
        EXPECT_NE(map.Find("key2"), nullptr);
        ASSERT_NE(map.Find("key4"), nullptr);
        ASSERT_NE(map.Find("key5"), nullptr);
        EXPECT_EQ(map.Find("key5")->text, "saved through d2");
        EXPECT_EQ(Listing(folder), std::vector<std::string>{"msmap.dat"});
    }
    EXPECT_TRUE(fs::equivalent(folders[0] / "msmap.dat", folders[1] / "msmap.dat"));
    const auto files =
        std::count_if(fs::recursive_directory_iterator(directory.Path()), {},
                      [](const fs::directory_entry& e) { return e.is_regular_file(); });
    EXPECT_EQ(files, 2);  // the map's two names
    _wputenv_s(L"LOCALAPPDATA", localAppData.c_str());
}

}  // namespace
}  // namespace varnok
