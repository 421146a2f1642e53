#include <gtest/gtest.h>

#include <map>
#include <set>

#include "keys/CharacterTable.h"
#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/MessageTexts.h"
#include "keys/SlotNames.h"
#include "keys/UsageTable.h"
#include "keys/VirtualKeyTable.h"

namespace varnok {
namespace {

// A table declared longer than its initialiser is silently padded with zero rows; these
// checks catch a row that was lost or never written.
TEST(VocabularyTables, NoRowIsLeftEmpty) {
    for (const UsageRow& row : UsageTable) {
        EXPECT_NE(row.usage, 0) << "key code " << int(row.keyCode);
    }
    for (const CharacterRow& row : CharacterTable) EXPECT_NE(row.plain, kNoCharacter);
    for (const VirtualKeyRow& row : VirtualKeyTable) EXPECT_FALSE(row.name.empty());

    // Only the keys a read-back shows nothing for have no name: non-US # and the Japanese
    // layout's keys. A usage in two rows (keypad 5) has the same name in both.
    const std::set<std::uint8_t> unnamed = {0x32, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x94};
    std::map<std::uint8_t, std::string_view> named;
    for (const UsageRow& row : UsageTable) {
        EXPECT_EQ(row.name.empty(), unnamed.contains(row.usage)) << "usage " << int(row.usage);
        const auto [first, inserted] = named.emplace(row.usage, row.name);
        EXPECT_TRUE(inserted || (row.usage == 0x5D && first->second == row.name))
            << "usage " << int(row.usage);
    }
    std::set<std::uint8_t> virtualKeys;
    int withoutKeyCode = 0;
    for (const VirtualKeyRow& row : VirtualKeyTable) {
        EXPECT_TRUE(virtualKeys.insert(row.virtualKey).second)
            << "virtual key " << int(row.virtualKey);
        withoutKeyCode += row.keyCode == kNoKeyCode;
    }
    EXPECT_EQ(withoutKeyCode, 1);  // the separator, which a standard keyboard has not
}

TEST(VocabularyTables, CommandItemsCarryTheirReports) {
    const CommandItem expected[] = {
        {0, "Default", "默认", {0x00, 0xFF, 0, 0, 0, 0, 0, 0x00}, {0x00, 0, 0, 0}},
        {1,
         "Mouse Left   Click",
         "鼠标左键单击",
         {0x04, 0x81, 0, 0, 0, 0, 0, 0xFF},
         {0x00, 0, 0, 0}},
        {2,
         "Mouse Right  Click",
         "鼠标右键单击",
         {0x04, 0x82, 0, 0, 0, 0, 0, 0xFF},
         {0x00, 0, 0, 0}},
        {3,
         "Mouse Double Click",
         "鼠标左键双击",
         {0x04, 0x80, 0, 0, 0, 0, 0, 0xFF},
         {0x00, 0, 0, 0}},
        {4, "Close Window", "关闭窗口", {0x01, 0x04, 0, 0x3D, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
        {5, "My    Computer", "我的电脑", {0x01, 0x08, 0, 0x08, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
        {6, "Log   off", "注销", {0x01, 0x08, 0, 0x0F, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
        // The Escape key's usage, which pressing Escape alone cannot record.
        {7, "Esc", "Esc 键", {0x01, 0x00, 0, 0x29, 0, 0, 0, 0x00}, {0xFF, 0, 0, 0}},
    };
    ASSERT_EQ(std::size(expected), CommandItemTable.size());
    for (std::size_t i = 0; i < CommandItemTable.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CommandItemTable[i].index, expected[i].index);
        EXPECT_EQ(CommandItemTable[i].name, expected[i].name);
        EXPECT_EQ(CommandItemTable[i].chineseName, expected[i].chineseName);
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
        {MessageId::StoreCopyKept, "Key definitions saved to file.", "按键定义已保存到文件。"},
        {MessageId::StoreUnguarded, "Key definitions saved to file.", "按键定义已保存到文件。"},
        {MessageId::StoreNotLoaded, "Key definitions not loaded from file!",
         "未能从文件读取按键定义!"},
        {MessageId::SettingsNotSaved, "Settings not saved to file!", "设置未能保存到文件!"},
        {MessageId::StartRefused, "Varnok cannot start:", "Varnok 无法启动："},
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
