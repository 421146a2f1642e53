#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyRecord.h"
#include "keys/KeyReportList.h"
#include "keys/KeySlotsModel.h"
#include "store/SlotMap.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
    std::string name;
    std::uint8_t slot;
    std::int32_t mode;
    std::optional<KeyReport> report;  // the slot's one recorded report
    std::string rowText;
    KeyRecordKind kind;
    Bytes record;
};

TEST(KeyRecord, EncodesEachKindOfSlot) {
    const KeyReport altF4 = CommandItemTable[4].report;
    const KeyReport leftClick = CommandItemTable[1].report;
    const KeyReport ctrlC = {0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0};
    const Case cases[] = {
        {"Normal row",
         2,
         kNormalMode,
         ctrlC,
         "Ctrl|C|,",
         KeyRecordKind::KeyReport,
         {0x02, 0x08, 0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0, 0xFF}},
        {"Once row with Alt + F4",
         3,
         kOnceMode,
         altF4,
         "Close Window",
         KeyRecordKind::KeyReport,
         {0x03, 0x08, 0x01, 0x44, 0x00, 0x3D, 0, 0, 0, 0, 0xFF}},
        {"mouse click in a Once row",
         1,
         kOnceMode,
         leftClick,
         "Mouse Left   Click",
         KeyRecordKind::KeyReport,
         {0x01, 0x08, 0x04, 0xC1, 0, 0, 0, 0, 0, 0xFF, 0xFF}},
        {"slot 0 is never Once",
         0,
         kOnceMode,
         altF4,
         "",
         KeyRecordKind::KeyReport,
         {0x00, 0x08, 0x01, 0x04, 0x00, 0x3D, 0, 0, 0, 0, 0xFF}},
        {"slot 0 is never String",
         0,
         kStringMode,
         std::nullopt,
         "a",
         KeyRecordKind::Empty,
         {0x00, 0x00, 0xFF}},
        {"empty Normal row",
         5,
         kNormalMode,
         std::nullopt,
         "",
         KeyRecordKind::Empty,
         {0x05, 0x00, 0xFF}},
        {"empty String row",
         4,
         kStringMode,
         std::nullopt,
         "",
         KeyRecordKind::String,
         {0x04, 0x00, 0x08, 0xFF}},
        {"String row of Chinese text",
         6,
         kStringMode,
         std::nullopt,
         "中文",
         KeyRecordKind::String,
         {0x06, 0x00, 0x08, 0xFF}},
        {"String row wins over a report",
         1,
         kStringMode,
         ctrlC,
         "a!",
         KeyRecordKind::String,
         {0x01, 0x04, 0x08, 0x00, 0x04, 0xAB, 0x1E, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyReportList reports;
        if (c.report) {
            reports.LoadReports(*c.report, 1);
        }
        const KeyRecord record = BuildKeyRecord(c.slot, c.mode, reports, c.rowText);
        EXPECT_EQ(record.kind, c.kind);
        EXPECT_EQ(record.bytes, c.record);
    }
}

// The string's text reaches the slot map so that the next start shows it again; the map keeps
// only the first 25 payload bytes, and nothing for a string that encodes to nothing.
TEST(KeyRecord, StringRowsStoreTheirTextInTheSlotMap) {
    KeySlotsModel model{SlotMap(testing::TempDir())};
    for (int row : {2, 3, 4}) model.SetFunctionMode(row, row == 4 ? kNormalMode : kStringMode);
    model.TakeText(2, "abcdefghijklmnop");
    model.TakeText(3, "中文");
    model.TakeText(4, "abc");
    const SlotMap before = model.Map();

    const KeyRecord record = model.RecordOf(2);
    EXPECT_EQ(model.Map().Size(), before.Size());  // building a record changes nothing
    model.KeepTypedStrings();

    ASSERT_EQ(record.bytes.size(), 28u + 4u);
    EXPECT_EQ(record.bytes[1], 28);
    EXPECT_EQ(record.bytes[2], 0x08);
    EXPECT_EQ(record.bytes[30], 0x11);  // usage of "n", the 14th character
    EXPECT_EQ(record.bytes[31], 0xFF);

    const SlotEntry* entry = model.Map().Find("key2");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text, "abcdefghijklmnop");
    EXPECT_EQ(entry->flag, 0);
    EXPECT_TRUE(std::equal(entry->data.begin(), entry->data.end(), record.bytes.begin() + 3));

    EXPECT_EQ(model.Map().Find("key3"), nullptr);
    EXPECT_EQ(model.Map().Find("key4"), nullptr);
    EXPECT_EQ(model.Map().Size(), 1u);
}

}  // namespace
}  // namespace varnok
