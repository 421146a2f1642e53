#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "store/SlotMap.h"
#include "store/SlotRecordFixtures.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

constexpr std::size_t kFourMiB = 4 * 1024 * 1024;

Bytes Concat(std::initializer_list<SlotRecord> records) {
    Bytes bytes;
    for (const SlotRecord& record : records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

SlotData DataFromRecord(const SlotRecord& record) {
    SlotData data;
    std::copy_n(record.begin() + SlotRecordLayout::kDataOffset, data.size(), data.begin());
    return data;
}

struct SaveCase {
    const char* label;
    SlotEntry entry;
    const SlotRecord& expected;
};

TEST(SlotMapFile, SavesEachEntryAsItsRecordByteForByte) {
    const std::string chineseCut = "中文ABCDEFGHIJKLMNOPQRST字";  // 24 GBK bytes, then two more
    const SaveCase cases[] = {
        {"short fields end with a zero byte and are zero-filled",
         {0, "key2", "Ctrl|C|,", DataFromRecord(kKey2CtrlC)},
         kKey2CtrlC},
        {"a 30-byte name and a 25-byte text fill their fields, the flag is kept",
         {0x5A, "abcdefghijklmnopqrstuvwxyz0123", "ABCDEFGHIJKLMNOPQRSTUVWXY",
          DataFromRecord(kFullFields)},
         kFullFields},
        {"a 31-byte name and a 26-byte text are cut to their fields",
         {0x5A, "abcdefghijklmnopqrstuvwxyz01234", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
          DataFromRecord(kFullFields)},
         kFullFields},
        {"a text in GBK is cut before a double-byte character it cannot hold",
         {0, "key5", chineseCut, DataFromRecord(kChineseCut)},
         kChineseCut},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        map.Set(c.entry.name, c.entry.text, c.entry.data, c.entry.flag);
        ASSERT_TRUE(map.Save());
        EXPECT_EQ(ReadBytes(map.FilePath()), Concat({c.expected}));
    }
}

struct LoadCase {
    const char* label;
    const SlotRecord& record;
    SlotEntry expected;
};

TEST(SlotMapFile, LoadsEachRecordIntoItsEntry) {
    const LoadCase cases[] = {
        {"short fields end at their zero byte",
         kKey2CtrlC,
         {0, "key2", "Ctrl|C|,", DataFromRecord(kKey2CtrlC)}},
        {"full fields are taken whole",
         kFullFields,
         {0x5A, "abcdefghijklmnopqrstuvwxyz0123", "ABCDEFGHIJKLMNOPQRSTUVWXY",
          DataFromRecord(kFullFields)}},
        {"fields without a zero byte stop at the field's end",
         kUnterminatedFields,
         {0x01, "abcdefghijklmnopqrstuvwxyz0123", "ABCDEFGHIJKLMNOPQRSTUVWXY",
          DataFromRecord(kUnterminatedFields)}},
        {"bytes after the first zero byte are not part of a field",
         kJunkAfterZero,
         {0, "key1", "A", DataFromRecord(kJunkAfterZero)}},
        {"GBK text becomes UTF-8",
         kChineseCut,
         {0, "key5", "中文ABCDEFGHIJKLMNOPQRST", DataFromRecord(kChineseCut)}},
        {"bytes that are not GBK become U+FFFD",
         kInvalidGbk,
         {0, "key4", "A\uFFFD\uFFFDBBBBBBBBBBBBBBBBBBBB\uFFFD", DataFromRecord(kInvalidGbk)}},
        {"the reserved byte is ignored",
         kKey9Loaded,
         {0x03, "key9", "Ctrl|Alt|Del|,", DataFromRecord(kKey9Loaded)}},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        WriteBytes(map.FilePath(), Concat({c.record}));
        ASSERT_TRUE(map.Load());
        ASSERT_EQ(map.Size(), 1u);
        const SlotEntry* entry = map.Find(c.expected.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(*entry, c.expected);
    }
}

TEST(SlotMapFile, RecordUnderAForeignNameSurvivesLoadAndSave) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    WriteBytes(map.FilePath(), Concat({kKey9Loaded}));
    ASSERT_TRUE(map.Load());
    // The Clear command removes every slot name; the foreign record stays.
    for (const char* slot : {"key0", "key1", "key2", "key3", "key4", "key5", "key6"}) {
        map.Remove(slot);
    }
    ASSERT_TRUE(map.Save());
    EXPECT_EQ(ReadBytes(map.FilePath()), Concat({kKey9Written}));
}

TEST(SlotMapFile, RoundTripKeepsEveryEntry) {
    const std::vector<SlotEntry> entries = {
        {0, "key1", "Ctrl|C", {0x01, 0x01, 0x00, 0x06}},
        {0, "key3", "", {0x04, 0x02}},
        {0, "key4", "鼠标左键", {0x04, 0x01}},
        {0, "key6", "你好,world", {0x02, 0x0B, 0x08, 0x0F, 0x0F, 0x12}},
        {0x7F, "key9", "€ 1", {}},
    };
    TempDirectory directory;
    SlotMap saved(directory.Path());
    for (const SlotEntry& entry : entries) {
        saved.Set(entry.name, entry.text, entry.data, entry.flag);
    }
    ASSERT_TRUE(saved.Save());
    EXPECT_EQ(std::filesystem::file_size(saved.FilePath()),
              entries.size() * SlotRecordLayout::kRecordSize);

    SlotMap loaded(directory.Path());
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.Size(), entries.size());
    for (const SlotEntry& entry : entries) {
        const SlotEntry* found = loaded.Find(entry.name);
        ASSERT_NE(found, nullptr) << entry.name;
        EXPECT_EQ(*found, entry);
    }
}

TEST(SlotMapFile, EmptyMapSavesAnEmptyFileThatLoadsAsEmpty) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    map.Set("key2", "Ctrl|C|,", DataFromRecord(kKey2CtrlC), 0);
    ASSERT_TRUE(map.Save());
    map.Remove("key2");
    ASSERT_TRUE(map.Save());
    EXPECT_EQ(std::filesystem::file_size(map.FilePath()), 0u);

    SlotMap loaded(directory.Path());
    EXPECT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.Size(), 0u);
}

Bytes TextBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A profile as an editor saves it in UTF-16: every other byte is zero, but not the ones after
// a record's fields.
Bytes Utf16Bytes(std::string_view text) {
    Bytes bytes = {0xFF, 0xFE};
    for (const char c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// The start of a PNG image: its signature, a header chunk with zeros in it, then image data.
Bytes ImageBytes() {
    Bytes bytes = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00,
                   0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00,
                   0x00, 0x20, 0x08, 0x06, 0x00, 0x00, 0x00, 0x73, 0x7A, 0x7A, 0xF4};
    for (int i = 0; bytes.size() < 3 * SlotRecordLayout::kRecordSize; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i * 37));
    }
    return bytes;
}

Bytes SecondRecordWithByteAfterData() {
    SlotRecord changed = kKey2CtrlC;
    changed[SlotRecordLayout::kRecordSize - 1] = 0x01;
    return Concat({kKey9Loaded, changed});
}

Bytes Repeat(const SlotRecord& record, std::size_t totalSize) {
    Bytes bytes(totalSize);
    for (std::size_t i = 0; i < totalSize; ++i) {
        bytes[i] = record[i % record.size()];
    }
    return bytes;
}

// A whole record, then the first length bytes of another, with a letter at each of the given
// offsets (where a zero belongs).
Bytes RecordAndPart(std::size_t length, std::initializer_list<std::size_t> letters = {}) {
    Bytes bytes(kKey2CtrlC.begin(), kKey2CtrlC.end());
    Bytes part(kFullFields.begin(), kFullFields.begin() + static_cast<std::ptrdiff_t>(length));
    for (const std::size_t at : letters) part[at] = 'A';
    bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

struct LoadRuleCase {
    const char* label;
    Bytes contents;
    std::size_t expectedEntries;
};

TEST(SlotMapFile, LoadReadsOnlyWholeRecordsOfFilesBelowFourMiB) {
    Bytes twoAndAHalf = Concat({kKey2CtrlC, kKey9Loaded});
    twoAndAHalf.insert(twoAndAHalf.end(), kFullFields.begin(), kFullFields.begin() + 40);
    const LoadRuleCase cases[] = {
        {"an empty file", {}, 0},
        {"one byte short of a record", Bytes(kKey2CtrlC.begin(), kKey2CtrlC.end() - 1), 0},
        {"a trailing partial record is ignored", twoAndAHalf, 2},
        // A part holds the zero after a field once it reaches it, and no byte is asked of it
        // before.
        {"31 bytes of a record without a zero: no field ends in them", RecordAndPart(31, {1}), 1},
        {"33 bytes of a record, zero where the name ends", RecordAndPart(33), 1},
        {"57 bytes of a record, zero where the name ends", RecordAndPart(57), 1},
        {"59 bytes of a record, zero where the name and the text end", RecordAndPart(59), 1},
        {"the largest loadable file", Repeat(kKey2CtrlC, kFourMiB - 1), 1},
    };
    for (const LoadRuleCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        WriteBytes(map.FilePath(), c.contents);
        EXPECT_TRUE(map.Load());
        EXPECT_EQ(map.Size(), c.expectedEntries);
    }
}

// A file that is there but cannot be loaded says why, loads nothing, and is never written by
// that map: a save would lose what it holds.
TEST(SlotMapFile, AFileThatCannotBeLoadedSaysWhyAndIsNeverWritten) {
    const struct {
        const char* label;
        Bytes contents;  // none: a folder named msmap.dat
        FileProblem problem;
    } cases[] = {
        {"a file of 4 MiB", Repeat(kKey2CtrlC, kFourMiB), FileProblem::TooLargeToLoad},
        {"a folder", {}, FileProblem::NotAFile},
        // Text has no zero byte, while every record has several: such a file is someone's
        // profile or key table given for the map, and a save would turn it into records.
        {"a profile", TextBytes(R"({"format": "varnok-profile", "version": 1, "keys": []})"),
         FileProblem::NotAMapFile},
        {"a key table line", TextBytes("01 08 01 01 00 06 00 00 00 00 FF\n"),
         FileProblem::NotAMapFile},
        {"a profile in UTF-16",
         Utf16Bytes(R"({"format": "varnok-profile", "version": 1, "keys": [], "language": 0})"),
         FileProblem::NotAMapFile},
        {"an image", ImageBytes(), FileProblem::NotAMapFile},
        // Too short for a whole record, but long enough for the zero after the name.
        {"a 56-byte profile in UTF-16", Utf16Bytes(R"({"format":"varnok-profile"})"),
         FileProblem::NotAMapFile},
        {"33 bytes of a record, a letter where the name ends", RecordAndPart(33, {32}),
         FileProblem::NotAMapFile},
        {"57 bytes of a record, a letter where the name ends", RecordAndPart(57, {32}),
         FileProblem::NotAMapFile},
        {"59 bytes of a record, a letter where the text ends", RecordAndPart(59, {58}),
         FileProblem::NotAMapFile},
        // Every record Varnok writes has a zero after each field: one that does not is no record.
        {"a record with a byte after its data field", SecondRecordWithByteAfterData(),
         FileProblem::NotAMapFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        SlotMap map(directory.Path());
        if (c.contents.empty()) {
            std::filesystem::create_directory(map.FilePath());
        } else {
            WriteBytes(map.FilePath(), c.contents);
        }
        const FileResult loaded = map.Load();
        EXPECT_EQ(loaded.problem, c.problem);
        EXPECT_EQ(loaded.file, map.FilePath());
        EXPECT_EQ(map.Size(), 0u);

        map.Set("key1", "Ctrl|C|,", DataFromRecord(kKey2CtrlC), 0);
        EXPECT_EQ(map.Save().problem, c.problem);
        EXPECT_EQ(map.RemoveFromFile("key2").problem, c.problem);
        if (!c.contents.empty()) {
            EXPECT_TRUE(ReadBytes(map.FilePath()) == c.contents);
        }
        // Not even once the file could be loaded: this map's keys are not what it held.
        std::filesystem::remove(map.FilePath());
        WriteBytes(map.FilePath(), Concat({kKey9Loaded}));
        EXPECT_EQ(map.Save().problem, c.problem);
        EXPECT_TRUE(ReadBytes(map.FilePath()) == Concat({kKey9Loaded}));
    }
}

TEST(SlotMapFile, LoadFailsWithoutAReadableFileAndKeepsTheMap) {
    TempDirectory directory;
    SlotMap map(directory.Path());
    map.Set("key1", "a", {}, 0);
    EXPECT_EQ(map.Load().problem, FileProblem::Missing);
    std::filesystem::create_directory(map.FilePath());
    EXPECT_FALSE(map.Load());
    EXPECT_EQ(map.Size(), 1u);
}

TEST(SlotMapFile, LaterRecordsUpdateEarlierOnesWithTheEmptyTextRule) {
    SlotRecord emptyText = kKey2CtrlC;
    std::fill_n(emptyText.begin() + SlotRecordLayout::kTextOffset, SlotRecordLayout::kTextSize, 0);
    emptyText[SlotRecordLayout::kFlagOffset] = 0x09;
    emptyText[SlotRecordLayout::kDataOffset + 3] = 0x07;

    TempDirectory directory;
    SlotMap map(directory.Path());
    map.Set("key2", "Old", {}, 0);
    WriteBytes(map.FilePath(), Concat({kKey2CtrlC, emptyText}));
    ASSERT_TRUE(map.Load());
    ASSERT_EQ(map.Size(), 1u);
    const SlotEntry* entry = map.Find("key2");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text, "Ctrl|C|,");
    EXPECT_EQ(entry->flag, 0x09);
    EXPECT_EQ(entry->data, DataFromRecord(emptyText));
}

TEST(SlotMapFile, DefaultMapUsesTheCurrentDirectoryAtEachCall) {
    const std::filesystem::path previous = std::filesystem::current_path();
    TempDirectory first;
    TempDirectory second;
    SlotMap map;
    map.Set("key2", "Ctrl|C|,", DataFromRecord(kKey2CtrlC), 0);
    std::filesystem::current_path(first.Path());
    const bool savedFirst = static_cast<bool>(map.Save());
    std::filesystem::current_path(second.Path());
    const bool loadedSecond = static_cast<bool>(map.Load());
    std::filesystem::current_path(previous);
    EXPECT_TRUE(savedFirst);
    EXPECT_FALSE(loadedSecond);
    EXPECT_EQ(ReadBytes(first.Path() / "msmap.dat"), Concat({kKey2CtrlC}));
}

}  // namespace
}  // namespace varnok
