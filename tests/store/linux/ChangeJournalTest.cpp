#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/MemorySettingsStore.h"
#include "store/ChangeJournal.h"
#include "store/CutOffChangeTexts.h"
#include "store/FileProblemTexts.h"
#include "store/InPlaceFile.h"
#include "store/SlotMap.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"
#include "support/linux/ChildProcess.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

Bytes MapOf(const std::string& text) {
    SlotMap map;
    for (int i = 1; i <= 3; ++i) {
        map.Set("key" + std::to_string(i), text + std::to_string(i), {static_cast<std::uint8_t>(i)},
                0);
    }
    return map.Contents();
}

// A start finds a journal in the state folder: it applies one only when the running user made
// it, it is whole, it names this very map, and the map is as the change found or left it and
// is a map; anything else is set aside, never applied and never deleted, and what is said is
// true. A journal anywhere else is not looked at.
TEST(ChangeJournal, OnlyAWholeJournalOfTheUsersOwnForThisVeryMapIsApplied) {
    const Bytes old = MapOf("before ");
    const Bytes changed = MapOf("after ");
    struct Case {
        std::string name;
        // Makes the journal (or what stands in its place) at journal, for change.
        std::function<void(const fs::path& journal, const ChangeRecord& change)> plant;
        Bytes mapBefore;
        CutOffChange::End end;
        Bytes mapAfter;
        std::int32_t settingAfter;
        std::string said;
    };
    const auto whole = [](const fs::path& journal, const ChangeRecord& change) {
        WriteBytes(journal, EncodeChange(change));
        fs::permissions(journal, fs::perms::owner_read | fs::perms::owner_write);
    };
    const Bytes unrelated = MapOf("another file ");
    const Case cases[] = {
        {"a whole journal, the map as the change found it", whole, old,
         CutOffChange::End::Completed, changed, 1, "has been completed"},
        {"a whole journal, the map as the change left it", whole, changed,
         CutOffChange::End::Completed, changed, 1, "has been completed"},
        {"a journal still being written",
         [](const fs::path& journal, const ChangeRecord& change) {
             const Bytes bytes = EncodeChange(change);
             WriteBytes(UnfinishedJournalName(journal), Bytes(bytes.begin(), bytes.end() - 9));
         },
         old, CutOffChange::End::Undone, old, 0, "holds its keys as before"},
        {"one byte flipped",
         [](const fs::path& journal, const ChangeRecord& change) {
             Bytes bytes = EncodeChange(change);
             bytes[bytes.size() / 2] ^= 0x10;
             WriteBytes(journal, bytes);
         },
         old, CutOffChange::End::SetAside, old, 0, "as it is damaged"},
        {"one byte short",
         [](const fs::path& journal, const ChangeRecord& change) {
             const Bytes bytes = EncodeChange(change);
             WriteBytes(journal, Bytes(bytes.begin(), bytes.end() - 1));
         },
         old, CutOffChange::End::SetAside, old, 0, "as it is damaged"},
        {"planted by another user",
         [whole](const fs::path& journal, const ChangeRecord& change) {
             whole(journal, change);
             ASSERT_EQ(::chown(journal.c_str(), OrdinaryUserId(), OrdinaryUserId()), 0);
         },
         old, CutOffChange::End::SetAside, old, 0, "not a file this user's Varnok wrote"},
        {"a link to a file of the user's",
         [](const fs::path& journal, const ChangeRecord& change) {
             WriteBytes(journal.parent_path() / "elsewhere", EncodeChange(change));
             fs::create_symlink(journal.parent_path() / "elsewhere", journal);
         },
         old, CutOffChange::End::SetAside, old, 0, "not a file this user's Varnok wrote"},
        {"a second name of another file",
         [](const fs::path& journal, const ChangeRecord& change) {
             WriteBytes(journal.parent_path() / "elsewhere", EncodeChange(change));
             fs::create_hard_link(journal.parent_path() / "elsewhere", journal);
         },
         old, CutOffChange::End::SetAside, old, 0, "not a file this user's Varnok wrote"},
        {"the map is another file now (deleted, its number reused)", whole, unrelated,
         CutOffChange::End::SetAside, unrelated, 0, "has changed since that save"},
        {"what it would write is no map",
         [whole](const fs::path& journal, ChangeRecord change) {
             change.contents = Bytes{'h', 'e', 'l', 'l', 'o'};
             whole(journal, change);
         },
         old, CutOffChange::End::SetAside, old, 0, "would not leave msmap.dat records"},
        {"it names another map",
         [whole](const fs::path& journal, ChangeRecord change) {
             change.map = change.map.parent_path() / "other.dat";
             whole(journal, change);
         },
         old, CutOffChange::End::SetAside, old, 0, "as it is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDirectory directory;
        ScopedEnvironment environment;
        environment.Set("XDG_STATE_HOME", (directory.Path() / "state").string());
        fs::path folder;
        ASSERT_TRUE(PrivateStateFolder(folder));
        const fs::path map = directory.Path() / "msmap.dat";
        WriteBytes(map, c.mapBefore);
        MemorySettingsStore settings;
        settings.WriteSetting("Settings", "KeyFun1Sel", 0);
        const ChangeRecord change{map, old, changed, false, {{"KeyFun1Sel", 1}}};
        const fs::path journal = ChangeJournalName(folder, MapFileKey(map));
        c.plant(journal, change);
        std::vector<std::string> planted;
        for (const auto& entry : fs::directory_iterator(folder)) {
            planted.push_back(entry.path().filename().string());
        }

        CutOffChange found;
        ASSERT_TRUE(SlotMap::InFile(map, &settings).FinishCutOffSave(found));
        EXPECT_EQ(found.end, c.end);
        EXPECT_EQ(ReadBytes(map), c.mapAfter);
        EXPECT_EQ(settings.ReadSetting("Settings", "KeyFun1Sel", -1), c.settingAfter);
        const std::string said = DescribeCutOffChange(found, 0);
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        if (c.end == CutOffChange::End::SetAside) {
            // Renamed beside where it lay, whole, and named where the owner reads it.
            EXPECT_FALSE(fs::exists(fs::symlink_status(journal)));
            EXPECT_TRUE(fs::exists(fs::symlink_status(found.journal))) << found.journal;
            EXPECT_NE(said.find(found.journal.string()), std::string::npos) << said;
            // A second start finds nothing more to say.
            CutOffChange again;
            ASSERT_TRUE(SlotMap::InFile(map, &settings).FinishCutOffSave(again));
            EXPECT_EQ(again.end, CutOffChange::End::None);
        } else {
            EXPECT_FALSE(fs::exists(fs::symlink_status(journal)));
            EXPECT_FALSE(fs::exists(fs::symlink_status(UnfinishedJournalName(journal))));
        }
        // What a link led to is never written.
        if (fs::exists(folder / "elsewhere")) {
            EXPECT_EQ(ReadBytes(folder / "elsewhere"), EncodeChange(change));
        }
    }
}

// A journal where anyone may write, beside the map (where earlier versions kept theirs), is
// not read: a map in a folder of mode 1777 keeps its keys.
TEST(ChangeJournal, AJournalBesideTheMapIsNeverLookedAt) {
    TempDirectory directory;
    ScopedEnvironment environment;
    environment.Set("XDG_STATE_HOME", (directory.Path() / "state").string());
    fs::permissions(directory.Path(), fs::perms::all | fs::perms::sticky_bit);
    const fs::path map = directory.Path() / "msmap.dat";
    const Bytes old = MapOf("before ");
    WriteBytes(map, old);
    const ChangeRecord change{map, old, MapOf("planted "), false, {}};
    for (const std::string& name :
         {std::string(".varnok-journal"), ChangeJournalName("", MapFileKey(map)).string()}) {
        WriteBytes(directory.Path() / name, EncodeChange(change));
    }
    CutOffChange found;
    ASSERT_TRUE(SlotMap::InFile(map).FinishCutOffSave(found));
    EXPECT_EQ(found.end, CutOffChange::End::None);
    SlotMap loaded = SlotMap::InFile(map);
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(ReadBytes(map), old);
}

// The journal a change writes is the user's alone and never made through a link.
TEST(ChangeJournal, AJournalIsMadeAfreshForTheUserAlone) {
    TempDirectory directory;
    ScopedEnvironment environment;
    environment.Set("XDG_STATE_HOME", (directory.Path() / "state").string());
    const ChangeRecord change{
        directory.Path() / "msmap.dat", std::nullopt, MapOf("new "), false, {}};
    fs::path folder;
    ASSERT_TRUE(PrivateStateFolder(folder));
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    // A link planted under the name the journal is written by is never followed.
    const fs::path target = directory.Path() / "target";
    WriteBytes(target, Bytes{1, 2, 3});
    fs::create_symlink(target, UnfinishedJournalName(ChangeJournalName(folder, "k")));
    fs::path journal;
    EXPECT_FALSE(WriteChangeJournal(change, "k", journal));
    EXPECT_EQ(ReadBytes(target), (Bytes{1, 2, 3}));
    fs::remove(UnfinishedJournalName(ChangeJournalName(folder, "k")));

    ASSERT_TRUE(WriteChangeJournal(change, "k", journal));
    EXPECT_EQ(fs::status(journal).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(DecodeChange(ReadBytes(journal))->contents, change.contents);
    // A journal already there is never written over.
    EXPECT_FALSE(WriteChangeJournal(change, "k", journal));
}

}  // namespace
}  // namespace varnok

namespace varnok {
namespace {

// With no private state folder for a journal, a map that may be written is still saved, where
// it stands when its folder takes no new file, and the save says that a cut-off write could
// not have been undone; a refusal names the real cause.
TEST(ChangeJournal, WithoutAStateFolderAWritableMapIsStillSaved) {
    struct Case {
        std::string name;
        bool folderTakesNewFiles;
        std::optional<std::string> home;
        bool unguarded;
    };
    const Case cases[] = {
        {"a locked folder, a home the user cannot write", false, "/", true},
        {"a locked folder, no home at all", false, std::nullopt, true},
        {"an open folder, no home at all", true, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDirectory directory;
        const fs::path folder = directory.Path() / "keys";
        fs::create_directory(folder);
        const fs::path map = folder / "msmap.dat";
        WriteBytes(map, MapOf("before "));
        fs::permissions(map, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                 ~fs::perms::others_exec);
        fs::permissions(folder, c.folderTakesNewFiles
                                    ? fs::perms::all
                                    : fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
        fs::permissions(directory.Path(), fs::perms::all);
        const std::optional<std::string> said = RunInChild(
            [&] {
                ScopedEnvironment environment;
                environment.Set("XDG_STATE_HOME", std::nullopt);
                environment.Set("HOME", c.home);
                SlotMap saver = SlotMap::InFile(map);
                if (!saver.Load()) return std::string("not loaded");
                saver.Set("key2", "after", {2}, 0);
                const FileResult saved = saver.Save();
                if (!saved) return "refused: " + DescribeFileResult(saved, 0);
                return saver.Unguarded() ? DescribeFileResult(*saver.Unguarded(), 0)
                                         : std::string("guarded");
            },
            std::chrono::seconds(20), true);
        fs::permissions(folder, fs::perms::all);
        ASSERT_TRUE(said.has_value());
        if (c.unguarded) {
            EXPECT_EQ(*said, map.string() +
                                 ": it was saved where it stands with no journal, so a save "
                                 "cut off there could not have been undone");
        } else {
            EXPECT_EQ(*said, "guarded");
        }
        SlotMap stored = SlotMap::InFile(map);
        ASSERT_TRUE(stored.Load());
        ASSERT_NE(stored.Find("key2"), nullptr);
        EXPECT_EQ(stored.Find("key2")->text, "after");
    }
}

}  // namespace
}  // namespace varnok
