#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "store/FileProblemTexts.h"
#include "store/GbkCodec.h"
#include "store/SlotMap.h"
#include "store/SlotRecordFixtures.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLoadLimit = 4 * 1024 * 1024;
constexpr std::size_t kRecordSize = SlotRecordLayout::kRecordSize;

Bytes RecordBytes(const SlotRecord& record) {
    return Bytes(record.begin(), record.end());
}

// Every record of a file as "name=text", in file order.
std::vector<std::string> EntriesIn(const Bytes& contents) {
    GbkCodec codec;
    std::vector<std::string> entries;
    for (std::size_t offset = 0; offset + kRecordSize <= contents.size(); offset += kRecordSize) {
        const SlotEntry entry = DecodeSlotRecord(
            std::span<const std::uint8_t, kRecordSize>(contents.data() + offset, kRecordSize),
            codec);
        entries.push_back(entry.name + "=" + entry.text);
    }
    return entries;
}

TEST(SlotMapSave, SaysWhyNoFileCouldTakeTheName) {
    TempDirectory directory;
    SlotMap blocked(directory.Path());
    blocked.Set("key1", "a", {}, 0);
    fs::create_directory(blocked.FilePath());
    const FileResult notAFile = blocked.Save();
    EXPECT_EQ(notAFile.problem, FileProblem::NotAFile);
    EXPECT_EQ(DescribeFileResult(notAFile, 0),
              blocked.FilePath().string() + ": it is not a regular file");
    EXPECT_EQ(DescribeFileResult(notAFile, 1), blocked.FilePath().string() + ": 它不是普通文件");
    EXPECT_TRUE(fs::is_directory(blocked.FilePath()));
    EXPECT_EQ(Listing(directory.Path()), std::vector<std::string>{"msmap.dat"});

    SlotMap missing(directory.Path() / "missing");
    missing.Set("key1", "a", {}, 0);
    const FileResult noFolder = missing.Save();
    EXPECT_EQ(DescribeFileResult(noFolder, 0),
              missing.FilePath().string() + ": the folder does not exist");
    EXPECT_FALSE(fs::exists(directory.Path() / "missing"));
}

Bytes Repeat(const SlotRecord& record, std::size_t totalSize) {
    Bytes bytes(totalSize);
    for (std::size_t i = 0; i < totalSize; ++i) {
        bytes[i] = record[i % record.size()];
    }
    return bytes;
}

struct TooLargeCase {
    const char* label;
    std::size_t size;
};

TEST(SlotMapSave, NeverOverwritesAFileTooLargeToLoad) {
    const TooLargeCase cases[] = {
        {"exactly the load limit", kLoadLimit},
        {"one byte over it", kLoadLimit + 1},
    };
    for (const TooLargeCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        const Bytes old = Repeat(kKey2CtrlC, c.size);
        WriteBytes(map.FilePath(), old);
        EXPECT_EQ(map.Load().problem, FileProblem::TooLargeToLoad);
        EXPECT_EQ(map.Size(), 0u);
        map.Set("key1", "Ctrl|C|,", {0x01, 0x01, 0x00, 0x06}, 0);

        const FileResult result = map.Save();
        EXPECT_EQ(result.problem, FileProblem::TooLargeToLoad);
        EXPECT_EQ(DescribeFileResult(result, 0),
                  map.FilePath().string() + ": it is too large to be loaded and was left as it is");
        EXPECT_TRUE(ReadBytes(map.FilePath()) == old);
        EXPECT_EQ(Listing(directory.Path()), std::vector<std::string>{"msmap.dat"});
    }
}

TEST(SlotMapSave, NeverWritesAFileTheNextLoadWouldRefuse) {
    // As many records under their own names as a loadable file holds.
    Bytes full;
    GbkCodec codec;
    for (std::size_t i = 0; full.size() + kRecordSize < kLoadLimit; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "n%05zu", i);
        const SlotRecord record = EncodeSlotRecord({0, name, "x", {}}, codec);
        full.insert(full.end(), record.begin(), record.end());
    }
    TempDirectory directory;
    SlotMap map(directory.Path());
    WriteBytes(map.FilePath(), full);
    ASSERT_TRUE(map.Load());
    ASSERT_EQ(map.Size(), full.size() / kRecordSize);

    // Changing an entry keeps the size; one more entry would pass the limit.
    map.Set("n00000", "changed", {}, 0);
    ASSERT_TRUE(map.Save());
    map.Set("key1", "a", {}, 0);
    const FileResult result = map.Save();
    EXPECT_EQ(result.problem, FileProblem::TooLargeToSave);
    EXPECT_EQ(DescribeFileResult(result, 0),
              map.FilePath().string() + ": it would become too large to be loaded again");
    const Bytes kept = ReadBytes(map.FilePath());
    EXPECT_EQ(kept.size(), full.size());
    SlotMap reloaded(directory.Path());
    ASSERT_TRUE(reloaded.Load());
    EXPECT_EQ(reloaded.Find("n00000")->text, "changed");
    EXPECT_EQ(reloaded.Find("key1"), nullptr);
}

// One step of two windows working on the same msmap.dat.
struct Step {
    int store;  // 0 or 1
    enum Kind { Set, Remove, Save } kind;
    const char* name;
    const char* text;
    std::vector<std::string> fileAfter;  // for a Save: the file's records afterwards, name=text
};

TEST(SlotMapSave, TwoStoresSavingInTurnKeepEachOthersEntries) {
    const std::vector<Step> steps = {
        {0, Step::Set, "key3", "Alt|F4|,", {}},
        {0, Step::Save, "", "", {"key1=Ctrl|Z|,", "key2=Ctrl|C|,", "key3=Alt|F4|,"}},
        {1, Step::Set, "key4", "Ctrl|V|,", {}},
        {1,
         Step::Save,
         "",
         "",
         {"key1=Ctrl|Z|,", "key2=Ctrl|C|,", "key3=Alt|F4|,", "key4=Ctrl|V|,"}},
        {0, Step::Remove, "key1", "", {}},
        {0, Step::Save, "", "", {"key2=Ctrl|C|,", "key3=Alt|F4|,", "key4=Ctrl|V|,"}},
        // The second store still holds key1; it did not touch it, so the removal stands.
        {1, Step::Set, "key2", "Shift|A|,", {}},
        {1, Step::Save, "", "", {"key2=Shift|A|,", "key3=Alt|F4|,", "key4=Ctrl|V|,"}},
        // Both changed key3: the later save wins for that name.
        {0, Step::Set, "key3", "first", {}},
        {1, Step::Set, "key3", "second", {}},
        {0, Step::Save, "", "", {"key2=Shift|A|,", "key3=first", "key4=Ctrl|V|,"}},
        {1, Step::Save, "", "", {"key2=Shift|A|,", "key3=second", "key4=Ctrl|V|,"}},
        // Clearing forgets every slot, also one the other store defined meanwhile.
        {1, Step::Set, "key5", "new", {}},
        {1, Step::Save, "", "", {"key2=Shift|A|,", "key3=second", "key4=Ctrl|V|,", "key5=new"}},
        {0, Step::Remove, "key2", "", {}},
        {0, Step::Remove, "key3", "", {}},
        {0, Step::Remove, "key4", "", {}},
        {0, Step::Remove, "key5", "", {}},
        {0, Step::Save, "", "", {}},
    };
    TempDirectory directory;
    GbkCodec codec;
    Bytes initial = RecordBytes(EncodeSlotRecord({0, "key1", "Ctrl|Z|,", {0x01, 0x01}}, codec));
    initial.insert(initial.end(), kKey2CtrlC.begin(), kKey2CtrlC.end());
    WriteBytes(directory.Path() / "msmap.dat", initial);
    SlotMap stores[] = {SlotMap(directory.Path()), SlotMap(directory.Path())};
    ASSERT_TRUE(stores[0].Load());
    ASSERT_TRUE(stores[1].Load());

    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        SlotMap& store = stores[step.store];
        if (step.kind == Step::Set) {
            store.Set(step.name, step.text, {0x01, 0x00, 0x00, static_cast<std::uint8_t>(i)}, 0);
        } else if (step.kind == Step::Remove) {
            store.Remove(step.name);
        } else {
            ASSERT_TRUE(store.Save());
            const Bytes file = ReadBytes(store.FilePath());
            EXPECT_EQ(EntriesIn(file), step.fileAfter);
            // The saving store now holds what the file holds.
            EXPECT_TRUE(store.Contents() == file);
        }
    }
}

struct UntouchedCase {
    const char* label;
    void (*change)(SlotMap& map, const SlotEntry& loaded);
    bool key4Kept;
};

TEST(SlotMapSave, EntriesWhoseTextDidNotChangeGoBackByteForByte) {
    const UntouchedCase cases[] = {
        {"another slot changes",
         [](SlotMap& map, const SlotEntry&) { map.Set("key1", "Ctrl|C|,", {0x01}, 0); }, true},
        {"another slot is removed", [](SlotMap& map, const SlotEntry&) { map.Remove("key2"); },
         true},
        {"the entry is set again with the text it showed",
         [](SlotMap& map, const SlotEntry& loaded) { map.Set("key4", loaded.text, {0x04}, 0); },
         true},
        {"the entry is set with an empty text",
         [](SlotMap& map, const SlotEntry&) { map.Set("key4", "", {0x04}, 0); }, true},
        {"its text changes", [](SlotMap& map, const SlotEntry&) { map.Set("key4", "B", {}, 0); },
         false},
    };
    for (const UntouchedCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        Bytes file = RecordBytes(kKey2CtrlC);
        file.insert(file.end(), kInvalidGbk.begin(), kInvalidGbk.end());
        WriteBytes(map.FilePath(), file);
        ASSERT_TRUE(map.Load());
        const SlotEntry loaded = *map.Find("key4");
        c.change(map, loaded);
        ASSERT_TRUE(map.Save());

        SlotMap saved(directory.Path());
        saved.Read(ReadBytes(map.FilePath()));
        ASSERT_NE(saved.Find("key4"), nullptr);
        const Bytes written = ReadBytes(map.FilePath());
        const auto key4 = std::search(written.begin(), written.end(), kInvalidGbk.begin() + 33,
                                      kInvalidGbk.begin() + 58);
        EXPECT_EQ(key4 != written.end(), c.key4Kept);
        if (!c.key4Kept) {
            EXPECT_EQ(saved.Find("key4")->text, "B");
        }
    }
}

TEST(SlotMapSave, RemovesWhatACrashedSaveLeftBehind) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    WriteBytes(map.FilePath(), RecordBytes(kKey2CtrlC));
    for (const char* name : {"msmap.dat.4242.0.tmp", "msmap.dat.4242.17.tmp", "msmap.dat.notes.tmp",
                             "msmap.dat.1.tmp", "other.dat.4242.0.tmp"}) {
        WriteBytes(directory.Path() / name, RecordBytes(kFullFields));
    }
    ASSERT_TRUE(map.Load());
    map.Set("key9", "Ctrl|Alt|Del|,", {0x01, 0x05, 0x00, 0x4C}, 0x03);
    ASSERT_TRUE(map.Save());
    EXPECT_EQ(Listing(directory.Path()),
              (std::vector<std::string>{"msmap.dat", "msmap.dat.1.tmp", "msmap.dat.notes.tmp",
                                        "other.dat.4242.0.tmp"}));
    Bytes expected = RecordBytes(kKey2CtrlC);
    expected.insert(expected.end(), kKey9Written.begin(), kKey9Written.end());
    EXPECT_TRUE(ReadBytes(map.FilePath()) == expected);
}

// A name the folder just takes leaves no room for a longer one beside it: the first save makes
// the map, later ones write it where it stands. Nothing else stays in the folder.
TEST(SlotMapSave, AMapWhoseNameFillsTheFolderLimitSaves) {
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "an existing map" : "a new map");
        TempDirectory directory;
        const std::string name(250, 'm');
        const std::filesystem::path file = directory.Path() / name;
        if (existing) WriteBytes(file, Bytes(kKey9Loaded.begin(), kKey9Loaded.end()));
        SlotMap map = SlotMap::InFile(file);
        ASSERT_EQ(map.Load().problem, existing ? FileProblem::None : FileProblem::Missing);
        for (const char* text : {"first", "second"}) {
            map.Set("key2", text, {0x01, 0x01, 0x00, 0x06}, 0);
            const FileResult saved = map.Save();
            ASSERT_TRUE(saved) << DescribeFileResult(saved, 0);
            SlotMap loaded = SlotMap::InFile(file);
            ASSERT_TRUE(loaded.Load());
            ASSERT_NE(loaded.Find("key2"), nullptr);
            EXPECT_EQ(loaded.Find("key2")->text, text);
            EXPECT_EQ(loaded.Find("key9") != nullptr, existing);
        }
        EXPECT_EQ(Listing(directory.Path()), std::vector<std::string>{name});
    }
}

// The bytes after the last whole record are not loaded; the first save that drops them keeps
// the file as it was beside it and says where, and the saves after it keep nothing more.
TEST(SlotMapSave, ASaveThatDropsPartOfARecordKeepsTheFileAsItWas) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    Bytes cutShort(kKey9Loaded.begin(), kKey9Loaded.end());
    cutShort.insert(cutShort.end(), kKey2CtrlC.begin(), kKey2CtrlC.begin() + 40);
    WriteBytes(map.FilePath(), cutShort);
    ASSERT_TRUE(map.Load());
    const std::filesystem::path copy = directory.Path() / "msmap.dat.kept";
    for (const bool first : {true, false}) {
        SCOPED_TRACE(first ? "the first save" : "the next save");
        map.Set("key1", first ? "a" : "b", {}, 0);
        ASSERT_TRUE(map.Save());
        ASSERT_EQ(map.KeptCopy().has_value(), first);
        if (first) {
            EXPECT_EQ(DescribeFileResult(*map.KeptCopy(), 0),
                      map.FilePath().string() +
                          ": it ended in part of a record, which the save did not keep; the file "
                          "as it was is kept (" +
                          copy.string() + ")");
        }
        EXPECT_TRUE(ReadBytes(copy) == cutShort);
        EXPECT_EQ(std::filesystem::file_size(map.FilePath()), 2 * SlotRecordLayout::kRecordSize);
    }
    EXPECT_EQ(Listing(directory.Path()), (std::vector<std::string>{"msmap.dat", "msmap.dat.kept"}));
}

// A copy already there is someone's earlier copy: the save keeps this one under the next free
// name, and when every name is taken it is refused, the file as it was and the change held for
// a later save.
TEST(SlotMapSave, ACopyAlreadyThereIsNeverWrittenOver) {
    const struct {
        const char* label;
        int copiesThere;     // msmap.dat.kept, .kept2, ... up to this one
        bool firstIsLink;    // msmap.dat.kept is a link to nothing
        const char* keptAs;  // "" when the save is refused
    } cases[] = {
        {"a copy already there", 1, false, "msmap.dat.kept2"},
        {"a link to nothing under the first name", 1, true, "msmap.dat.kept2"},
        {"every name but the last taken", 99, false, "msmap.dat.kept100"},
        {"every name taken", 100, false, ""},
    };
    const auto earlierCopy = [](int n) {
        const std::string text = "an earlier copy " + std::to_string(n);
        return Bytes(text.begin(), text.end());
    };
    const auto copyName = [](int n) {
        return std::string("msmap.dat.kept") + (n == 1 ? "" : std::to_string(n));
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        Bytes cutShort(kKey9Loaded.begin(), kKey9Loaded.end());
        cutShort.insert(cutShort.end(), kKey2CtrlC.begin(), kKey2CtrlC.begin() + 40);
        WriteBytes(map.FilePath(), cutShort);
        for (int n = c.firstIsLink ? 2 : 1; n <= c.copiesThere; ++n) {
            WriteBytes(directory.Path() / copyName(n), earlierCopy(n));
        }
        if (c.firstIsLink) {
#ifdef _WIN32
            // Wine makes no symbolic links.
            continue;
#else
            fs::create_symlink("nowhere", directory.Path() / copyName(1));
#endif
        }
        ASSERT_TRUE(map.Load());
        map.Set("key1", "a", {}, 0);

        const FileResult saved = map.Save();
        if (*c.keptAs != '\0') {
            ASSERT_TRUE(saved) << DescribeFileResult(saved, 0);
            ASSERT_TRUE(map.KeptCopy().has_value());
            EXPECT_EQ(map.KeptCopy()->detail, (directory.Path() / c.keptAs).string());
            EXPECT_TRUE(ReadBytes(directory.Path() / c.keptAs) == cutShort);
            EXPECT_EQ(fs::file_size(map.FilePath()), 2 * kRecordSize);
        } else {
            const std::string names = (directory.Path() / "msmap.dat.kept").string() + " \u2026 " +
                                      (directory.Path() / "msmap.dat.kept100").string() + ")";
            EXPECT_EQ(saved.problem, FileProblem::PartRecordNotKept);
            EXPECT_EQ(DescribeFileResult(saved, 0),
                      map.FilePath().string() +
                          ": it ends in part of a record, which a save would drop, and every "
                          "name for a copy of the file as it is was taken; it was not saved (" +
                          names);
            EXPECT_EQ(DescribeFileResult(saved, 1),
                      map.FilePath().string() +
                          ": 文件末尾有不完整的记录，保存会丢弃它，而可用来另存原文件副本的名称都"
                          "已被占用；未保存 (" +
                          names);
            EXPECT_FALSE(map.KeptCopy().has_value());
            EXPECT_TRUE(ReadBytes(map.FilePath()) == cutShort);
            // A name made free lets the next save keep the copy there, and the change go in.
            fs::remove(directory.Path() / copyName(50));
            ASSERT_TRUE(map.Save());
            EXPECT_TRUE(ReadBytes(directory.Path() / copyName(50)) == cutShort);
            SlotMap reloaded(directory.Path());
            ASSERT_TRUE(reloaded.Load());
            EXPECT_NE(reloaded.Find("key1"), nullptr);
        }
        for (int n = c.firstIsLink ? 2 : 1; n <= c.copiesThere; ++n) {
            if (n == 50 && *c.keptAs == '\0') continue;
            EXPECT_TRUE(ReadBytes(directory.Path() / copyName(n)) == earlierCopy(n)) << n;
        }
        if (c.firstIsLink) {
            EXPECT_TRUE(fs::is_symlink(directory.Path() / copyName(1)));
            EXPECT_FALSE(fs::exists(directory.Path() / "nowhere"));
        }
    }
}

}  // namespace
}  // namespace varnok
