#include <gtest/gtest.h>

#include <set>

#include "keys/CaptureNameTable.h"
#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyUsageTable.h"
#include "keys/MessageTexts.h"
#include "keys/PlainCharTable.h"
#include "keys/ShiftedCharTable.h"
#include "keys/SlotNames.h"
#include "keys/UsageNameTable.h"

namespace varnok {
namespace {

// A table declared longer than its initialiser is silently padded with zero rows; these
// checks catch a row that was lost or never written.
TEST(VocabularyTables, NoRowIsLeftEmpty) {
    for (const KeyUsageRow& row : KeyUsageTable) {
        EXPECT_NE(row.usage, 0) << "key code " << int(row.keyCode);
    }
    for (const CharKeyRow& row : PlainCharTable) EXPECT_NE(row.character, 0u);
    for (const CharKeyRow& row : ShiftedCharTable) EXPECT_NE(row.character, 0u);
    for (const CaptureNameRow& row : CaptureNameTable) EXPECT_FALSE(row.name.empty());

    std::set<std::uint8_t> named;
    for (const UsageNameRow& row : UsageNameTable) {
        EXPECT_TRUE(named.insert(row.usage).second) << "usage " << int(row.usage);
        EXPECT_EQ(row.name.empty(), row.usage == 0x32) << "usage " << int(row.usage);
    }
    std::set<std::uint8_t> virtualKeys;
    for (const CaptureNameRow& row : CaptureNameTable) {
        EXPECT_TRUE(virtualKeys.insert(row.virtualKey).second)
            << "virtual key " << int(row.virtualKey);
    }
}

TEST(VocabularyTables, CommandItemsCarryTheirReports) {
    const CommandItem expected[] = {
        {0, "Default", {0x00, 0xFF, 0, 0, 0, 0, 0, 0x00}, {0x00, 0, 0, 0}},
        {1, "Mouse Left   Click", {0x04, 0x81, 0, 0, 0, 0, 0, 0xFF}, {0x00, 0, 0, 0}},
        {2, "Mouse Right  Click", {0x04, 0x82, 0, 0, 0, 0, 0, 0xFF}, {0x00, 0, 0, 0}},
        {3, "Mouse Double Click", {0x04, 0x80, 0, 0, 0, 0, 0, 0xFF}, {0x00, 0, 0, 0}},
        {4, "Close Window", {0x01, 0x04, 0, 0x3D, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
        {5, "My    Computer", {0x01, 0x08, 0, 0x08, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
        {6, "Log   off", {0x01, 0x08, 0, 0x0F, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
    };
    ASSERT_EQ(std::size(expected), CommandItemTable.size());
    for (std::size_t i = 0; i < CommandItemTable.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CommandItemTable[i].index, expected[i].index);
        EXPECT_EQ(CommandItemTable[i].name, expected[i].name);
        EXPECT_EQ(CommandItemTable[i].report, expected[i].report);
        EXPECT_EQ(CommandItemTable[i].trailing, expected[i].trailing);
    }
}

TEST(VocabularyTables, NamesOfSlotsAndFunctionModes) {
    for (std::size_t slot = 0; slot < SlotNames.size(); ++slot) {
        EXPECT_EQ(SlotNames[slot], "key" + std::to_string(slot));
    }
    const std::array<std::string_view, 3> english = {"Normal", "Once", "String"};
    const std::array<std::string_view, 3> chinese = {"单键", "一次单键", "一次多键"};
    EXPECT_EQ(FunctionModeNames(0), english);
    EXPECT_EQ(FunctionModeNames(1), chinese);
    EXPECT_EQ(FunctionModeNames(-1), chinese);
}

TEST(VocabularyTables, EveryMessageInBothLanguages) {
    struct Case {
        MessageId id;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {MessageId::SaveNotConnected, "Usb HIDKB Not Connected!", "USB控制器没有连接!"},
        {MessageId::ReadNotConnected, "Usb HIDKB Not Connected!", "Usb 控制器没有连接!"},
        {MessageId::SaveSucceeded, "Save Key Successful!", "保存键成功!"},
        {MessageId::SaveRecordFailed, "Save Key Error!", "保存出错!"},
        {MessageId::SaveEmptyFailed, "Save Key Error!", "保存错误!"},
        {MessageId::SaveStopped, "Save Key Stopped!", "保存已中断!"},
        {MessageId::ReadSucceeded, "Get Key Successful!", "上传键成功!"},
        {MessageId::ReadFailed, "Get Key Error!", "上传键出错!"},
        {MessageId::OnlyGroupKey, "Only Group Key Supported!", "目前只支持组合键!"},
        {MessageId::StoreNotSaved, "Key definitions not saved to file!", "按键定义未能保存到文件!"},
    };
    ASSERT_EQ(std::size(cases), MessageTexts.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(MessageFor(c.id, 0).text, c.english);
        EXPECT_EQ(MessageFor(c.id, 0).caption, "Information!");
        for (std::int32_t language : {1, 2}) {
            EXPECT_EQ(MessageFor(c.id, language).text, c.chinese);
            EXPECT_EQ(MessageFor(c.id, language).caption, "提示!");
        }
    }
}

}  // namespace
}  // namespace varnok
