#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "device/HidTrace.h"
#include "keys/SlotNames.h"
#include "store/SlotMap.h"
#include "support/FileBytes.h"
#include "support/HidFakePlatform.h"
#include "support/WindowHarness.h"
#include "ui/ControlIds.h"
#include "ui/KeyDialogTemplate.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/RowControlTable.h"
#include "ui/WindowKeyRoute.h"

namespace varnok {
namespace {

constexpr int kValueBoxes[] = {1030, 1024, 1025, 1026, 1027, 1028, 1029};
constexpr int kFunctionLists[] = {0, 1054, 1055, 1056, 1057, 1058, 1059};
constexpr int kRowLabels[] = {0, 0, 1032, 1033, 1036, 1037, 1038};

class MainWindowBehaviourTest : public WindowHarness {
protected:
    void SetUp() override {
        // The template shows every row; only 1019 and 1030 start hidden.
        for (int row = 1; row <= 6; ++row) {
            for (int id : {kValueBoxes[row], kFunctionLists[row], kRowLabels[row]}) {
                if (id != 0) controls.SetVisible(id, true);
            }
        }
        controls.SetVisible(1019, false);
        controls.SetVisible(1030, false);
    }

    std::int32_t Setting(const char* name) { return settings.ReadSetting("Settings", name, 12345); }

    std::string MapFileBytes() {
        std::ifstream file(directory.Path() / "msmap.dat", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
};

std::vector<int> VisibleRows(const MemoryDialogControls& controls) {
    std::vector<int> rows;
    for (int row = 1; row <= 6; ++row) {
        const bool box = controls.IsVisible(kValueBoxes[row]);
        const bool list = controls.IsVisible(kFunctionLists[row]);
        const bool label = kRowLabels[row] == 0 || controls.IsVisible(kRowLabels[row]);
        EXPECT_TRUE(box == list && list == label) << "row " << row << " is partly shown";
        if (box) rows.push_back(row);
    }
    return rows;
}

TEST_F(MainWindowBehaviourTest, FirstStartOpensInEnglishWithOneNormalKey) {
    MainWindowBehaviour& window = Start();

    EXPECT_EQ(controls.SelectedListIndex(1031), 0);
    EXPECT_EQ(controls.SelectedListIndex(1020), 0);
    EXPECT_EQ(VisibleRows(controls), std::vector<int>{1});
    for (int row = 1; row <= 6; ++row) {
        EXPECT_EQ(controls.At(kFunctionLists[row]).items,
                  (std::vector<std::string>{"Normal", "Once", "String"}));
        EXPECT_EQ(controls.SelectedListIndex(kFunctionLists[row]), 0);
        EXPECT_EQ(controls.ListCount(kValueBoxes[row]), 8);
        EXPECT_EQ(controls.ListItem(kValueBoxes[row], 2), "Mouse Right  Click");
    }
    EXPECT_EQ(controls.ListCount(1030), 0);
    EXPECT_EQ(Setting("keyLan"), 0);
    EXPECT_EQ(Setting("keynum"), 0);
    EXPECT_FALSE(settings.Has("Settings", "KeyFun1Sel"));
    EXPECT_EQ(controls.GetText(1000), "Save");
    EXPECT_EQ(controls.GetText(1035), "Keyboard Define");
    EXPECT_EQ(controls.GetText(1034),
              "Please Input Self-Definition key,To choose mouse left,To delete  mouse "
              "right.Support alphanumeric,number and symbol string");
    EXPECT_EQ(controls.focused, 1000);
    EXPECT_EQ(window.CurrentSlot(), 0);
    EXPECT_FALSE(controls.IsVisible(1019));
}

// The language stored wins over the system's; with none stored (the first start) or one the
// list cannot select, the window speaks the system's language, and so do the platform's own
// texts.
TEST_F(MainWindowBehaviourTest, StoredChoicesAreRestoredOrReplacedWhenUnusable) {
    constexpr std::int32_t kNotStored = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::int32_t keynum, keyLan, system;
        std::vector<int> rows;
        int countSelection, languageSelection;
        std::int32_t storedKeynum, storedKeyLan;
    };
    const Case cases[] = {
        {3, 1, 0, {1, 2, 3, 4}, 3, 1, 3, 1},
        {5, 0, 1, {1, 2, 3, 4, 5, 6}, 5, 0, 5, 0},
        // Values the lists cannot select (a hand-edited file) are taken as the defaults, one
        // row in the system's language, and the defaults are what is stored: never -1.
        {99, 7, 0, {1}, 0, 0, 0, 0},
        {-5, -1, 1, {1}, 0, 1, 0, 1},
        {0, kNotStored, 1, {1}, 0, 1, 0, 1},
        {0, kNotStored, 0, {1}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "keynum " << c.keynum << " keyLan " << c.keyLan << " system " << c.system);
        controls = FocusReportingControls();
        SetUp();
        settings = FallibleSettingsStore();
        settings.WriteSetting("Settings", "keynum", c.keynum);
        if (c.keyLan != kNotStored) settings.WriteSetting("Settings", "keyLan", c.keyLan);
        systemLanguage = c.system;
        settings.WriteSetting("Settings", "KeyFun2Sel", 1);
        settings.WriteSetting("Settings", "KeyFun3Sel", 9);
        settings.WriteSetting("Settings", "KeyFun4Sel", -1);
        Start();

        EXPECT_EQ(VisibleRows(controls), c.rows);
        EXPECT_EQ(controls.SelectedListIndex(1020), c.countSelection);
        EXPECT_EQ(controls.SelectedListIndex(1031), c.languageSelection);
        EXPECT_EQ(controls.platformLanguage, c.languageSelection);
        EXPECT_EQ(Setting("keynum"), c.storedKeynum);
        EXPECT_EQ(Setting("keyLan"), c.storedKeyLan);
        EXPECT_EQ(controls.SelectedListIndex(1055), 1);
        EXPECT_EQ(window->Model().FunctionMode(2), 1);
        // A stored mode outside 0..2 is Normal, and stays as stored until the user picks one.
        for (const int row : {3, 4}) {
            EXPECT_EQ(controls.SelectedListIndex(1053 + row), 0) << "row " << row;
            EXPECT_EQ(window->Model().FunctionMode(row), 0) << "row " << row;
        }
        EXPECT_EQ(Setting("KeyFun3Sel"), 9);
        EXPECT_EQ(Setting("KeyFun4Sel"), -1);
        const bool chinese = c.languageSelection == 1;
        EXPECT_EQ(controls.GetText(1000), chinese ? "保存" : "Save");
        EXPECT_EQ(controls.GetText(1019), chinese ? "上传自定义键" : "Get Defined Key");
        EXPECT_EQ(controls.GetText(ControlId::ReadBackEntry),
                  chinese ? "从键盘读取按键" : "Read keys from keyboard");
        EXPECT_EQ(controls.ListItem(1054, 2), chinese ? "一次多键" : "String");
        EXPECT_FALSE(controls.IsVisible(1019));
    }
}

TEST_F(MainWindowBehaviourTest, LanguageSwitchKeepsRowsAndReselectsModes) {
    settings.WriteSetting("Settings", "keynum", 5);
    settings.WriteSetting("Settings", "KeyFun2Sel", 2);
    settings.WriteSetting("Settings", "KeyFun4Sel", 1);
    Start();
    Focus(1024);
    Chord({{0x11, 0x1D}, {0x43, 0x2E}});  // Ctrl, C
    Type(1025, "hello");

    Choose(1031, 1);

    EXPECT_EQ(window->Language(), 1);
    EXPECT_EQ(Setting("keyLan"), 1);
    EXPECT_EQ(controls.platformLanguage, 1);
    EXPECT_EQ(controls.GetText(1024), "Ctrl|C|,");
    EXPECT_EQ(controls.GetText(1025), "hello");
    EXPECT_EQ(controls.GetText(1004), "清空");
    EXPECT_EQ(controls.GetText(2), "退出");
    EXPECT_EQ(controls.GetText(1035), "键值定义");
    EXPECT_EQ(controls.GetText(1034),
              "请输入自定义键,鼠标左键选择,右键删除!支持字母与数字与符号串联.");
    EXPECT_EQ(controls.At(1055).items, (std::vector<std::string>{"单键", "一次单键", "一次多键"}));
    EXPECT_EQ(controls.SelectedListIndex(1055), 2);
    EXPECT_EQ(controls.SelectedListIndex(1057), 1);
    EXPECT_EQ(controls.SelectedListIndex(1054), 0);

    Choose(1031, 0);
    EXPECT_EQ(controls.GetText(1000), "Save");
    EXPECT_EQ(controls.GetText(1025), "hello");
    EXPECT_EQ(controls.platformLanguage, 0);
}

TEST_F(MainWindowBehaviourTest, FewerKeysHideRowsWithoutEmptyingThem) {
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    for (int slot = 1; slot <= 6; ++slot) {
        controls.SelectListIndex(kValueBoxes[slot], 4);
        window->OnSelectionChanged(kValueBoxes[slot]);
    }

    Choose(1020, 1);

    EXPECT_EQ(VisibleRows(controls), (std::vector<int>{1, 2}));
    EXPECT_EQ(Setting("keynum"), 1);
    for (int slot = 1; slot <= 6; ++slot) {
        EXPECT_EQ(window->Model().Text(slot), "Close Window");
        EXPECT_EQ(window->Model().DefinedCount(slot), 1);
        EXPECT_NE(window->Model().Map().Find(SlotNames[slot]), nullptr);
        EXPECT_EQ(Reports(slot), (Bytes{0x01, 0x04, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00}));
    }

    // Nothing selected leaves every control as it is, and the stored choice too.
    controls.SelectListIndex(1020, -1);
    window->ApplyKeyCount();
    EXPECT_EQ(VisibleRows(controls), (std::vector<int>{1, 2}));
    EXPECT_EQ(Setting("keynum"), 1);
}

// Tab goes as the eye reads the window: the left column top down, the shown rows one by one
// (the key, then its function), the Group Key boxes, then Clear, Save and Exit, and round;
// Shift+Tab goes the same way back.
TEST_F(MainWindowBehaviourTest, TabOrderFollowsTheScreenOverTheShownRows) {
    settings.WriteSetting("Settings", "keynum", 2);
    Start();
    const std::vector<int> order{1031, 1020, 1024, 1054, 1025, 1055, 1026, 1056,
                                 1045, 1006, 1016, 1007, 1004, 1000, 2,    1031};
    for (const bool backwards : {false, true}) {
        SCOPED_TRACE(backwards ? "Shift+Tab" : "Tab");
        std::vector<int> visited{order.front()};
        for (std::size_t step = 1; step < order.size(); ++step) {
            visited.push_back(
                NextTabStop(KeyDialogTemplate(), controls, visited.back(), backwards));
        }
        EXPECT_EQ(visited, backwards ? std::vector<int>(order.rbegin(), order.rend()) : order);
    }
}

TEST_F(MainWindowBehaviourTest, ClearRequestEmptiesOnlyTheCurrentSlot) {
    {
        SlotMap seed(directory.Path());
        for (int slot = 0; slot <= 6; ++slot) {
            seed.Set(SlotNames[slot], "Close Window", SlotData{0x01, 0x04, 0x00, 0x3D}, 0);
        }
        seed.Save();
    }
    const std::string fileBefore = MapFileBytes();
    settings.WriteSetting("Settings", "keynum", 5);
    Start();

    struct Case {
        int focusedBox;  // 0: no value box has had the focus yet
        int clearedSlot;
    };
    for (const Case c : {Case{0, 0}, Case{1026, 3}}) {
        if (c.focusedBox != 0) controls.SetFocus(c.focusedBox);
        window->OnClearKey();
        for (int slot = 0; slot <= 6; ++slot) {
            SCOPED_TRACE(testing::Message() << "slot " << slot);
            const bool cleared = slot == c.clearedSlot || (c.clearedSlot == 3 && slot == 0);
            EXPECT_EQ(window->Model().Text(slot), cleared ? "" : "Close Window");
            EXPECT_EQ(window->Model().DefinedCount(slot), cleared ? 0 : 1);
            EXPECT_EQ(window->Model().Map().Find(SlotNames[slot]) == nullptr, cleared);
            EXPECT_EQ(Reports(slot).empty(), cleared);
        }
        EXPECT_EQ(controls.GetText(kValueBoxes[c.clearedSlot]), "");
    }
    EXPECT_EQ(window->CurrentSlot(), 3);
    EXPECT_EQ(MapFileBytes(), fileBefore);
}

TEST_F(MainWindowBehaviourTest, StartUpRestoresSlotsFromTheMapFile) {
    {
        SlotMap seed(directory.Path());
        seed.Set("key1", "Ctrl|C|,", SlotData{0x01, 0x01, 0x00, 0x06}, 0);
        // An entry whose text is empty still brings its report back, but the slot does not
        // count as defined.
        seed.Set("key2", "", SlotData{0x04, 0x81, 0, 0, 0, 0, 0, 0xFF, 0xAA}, 0);
        seed.Save();
    }
    Start();

    EXPECT_EQ(window->Model().Text(1), "Ctrl|C|,");
    EXPECT_EQ(controls.GetText(1024), "Ctrl|C|,");
    EXPECT_EQ(window->Model().DefinedCount(1), 1);
    EXPECT_EQ(Reports(1), (Bytes{0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(window->Model().Text(2), "");
    EXPECT_EQ(window->Model().DefinedCount(2), 0);
    EXPECT_EQ(Reports(2), (Bytes{0x04, 0x81, 0, 0, 0, 0, 0, 0xFF}));
    EXPECT_TRUE(Reports(3).empty());
}

TEST_F(MainWindowBehaviourTest, PickingACommandItemDefinesTheSlot) {
    struct Case {
        int slot;
        int item;
        std::string text;
        Bytes report;
    };
    const Case cases[] = {
        {1, 0, "Default", {0x04, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}},
        {2, 0, "Default", {0x04, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}},
        {3, 0, "Default", {0x04, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}},
        {4, 0, "Default", {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {5, 0, "Default", {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {6, 0, "Default", {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {2, 2, "Mouse Right  Click", {0x04, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}},
        {5, 5, "My    Computer", {0x01, 0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00}},
        {6, 6, "Log   off", {0x01, 0x08, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x00}},
    };
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << " item " << c.item);
        Choose(kValueBoxes[c.slot], c.item);
        EXPECT_EQ(window->CurrentSlot(), c.slot);
        EXPECT_EQ(window->Model().Text(c.slot), c.text);
        EXPECT_EQ(controls.GetText(kValueBoxes[c.slot]), c.text);
        EXPECT_EQ(Reports(c.slot), c.report);
        EXPECT_EQ(window->Model().DefinedCount(c.slot), 1);
        const SlotEntry* entry = window->Model().Map().Find(SlotNames[c.slot]);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text, c.text);
        SlotData expected{};
        std::copy(c.report.begin(), c.report.end(), expected.begin());
        EXPECT_EQ(entry->data, expected);
        EXPECT_EQ(entry->flag, 0);
    }

    // A selection change that finds nothing selected changes nothing.
    controls.SelectListIndex(1024, -1);
    window->OnSelectionChanged(1024);
    EXPECT_EQ(window->Model().Text(1), "Default");
}

TEST_F(MainWindowBehaviourTest, CommandItemReplacesCapturedKeys) {
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    Focus(1027);
    Press(0x11, 0x1D);  // Ctrl and C held down while the user picks from the list
    Press(0x43, 0x2E);
    ASSERT_EQ(window->Model().Text(4), "Ctrl|C|");

    Choose(1027, 4);

    EXPECT_EQ(Reports(4), (Bytes{0x01, 0x04, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(controls.GetText(1027), "Close Window");
}

TEST_F(MainWindowBehaviourTest, ModeChangesEmptyTheRowOnlyIntoOrOutOfString) {
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    controls.SetFocus(1025);  // slot 2 current

    struct Step {
        int row;
        int mode;
        bool emptied;
    };
    const Step steps[] = {
        {3, 1, false},  // Normal → Once keeps text and reports
        {3, 2, true},   // Once → String
        {3, 0, true},   // String → Normal
        {1, 2, true},   // no stored setting counts as Normal
        {1, 2, false},  // String again: nothing but the setting
        {4, 1, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "row " << step.row << " to mode " << step.mode);
        Choose(kValueBoxes[step.row], 4);
        controls.SetFocus(1025);

        Choose(kFunctionLists[step.row], step.mode);

        EXPECT_EQ(window->Model().Text(step.row).empty(), step.emptied);
        EXPECT_EQ(controls.GetText(kValueBoxes[step.row]).empty(), step.emptied);
        EXPECT_EQ(Reports(step.row).empty(), step.emptied);
        EXPECT_EQ(window->Model().DefinedCount(step.row), step.emptied ? 0 : 1);
        EXPECT_EQ(window->Model().Map().Find(SlotNames[step.row]) == nullptr, step.emptied);
        EXPECT_EQ(settings.ReadSetting("Settings", "KeyFun" + std::to_string(step.row) + "Sel", -5),
                  step.mode);
        EXPECT_EQ(window->CurrentSlot(), 2);
    }
}

TEST_F(MainWindowBehaviourTest, RowEmptiedByAModeChangeStaysEmptyAfterRestart) {
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    Choose(1026, 4);
    Click(1000);
    Choose(1056, 2);  // and the user quits without saving

    window.reset();
    controls = FocusReportingControls();
    SetUp();
    Start();

    EXPECT_EQ(window->Model().Text(3), "");
    EXPECT_EQ(controls.GetText(1026), "");
    EXPECT_TRUE(Reports(3).empty());
    EXPECT_EQ(controls.SelectedListIndex(1056), 2);
}

TEST_F(MainWindowBehaviourTest, TypedStringSurvivesWorkOnOtherRows) {
    settings.WriteSetting("Settings", "keynum", 5);
    settings.WriteSetting("Settings", "KeyFun2Sel", 2);
    settings.WriteSetting("Settings", "KeyFun5Sel", 2);
    {
        SlotMap seed(directory.Path());
        seed.Set("key5", "stored", SlotData{0x00, 0x16}, 0);
        seed.Save();
    }
    Start();
    EXPECT_EQ(controls.GetText(1028), "stored");
    controls.SetFocus(1025);
    controls.SetText(1025, "typed");

    Choose(1026, 1);  // a command item in row 3
    Choose(1057, 2);  // row 4 into String
    Choose(1031, 1);  // Chinese
    controls.SetFocus(1024);
    window->OnClearKey();  // right click in row 1

    EXPECT_EQ(controls.GetText(1025), "typed");
    EXPECT_EQ(window->Model().Text(2), "typed");
    EXPECT_EQ(controls.GetText(1028), "stored");
}

TEST_F(MainWindowBehaviourTest, CollectStopsAtATooLongText) {
    settings.WriteSetting("Settings", "keynum", 5);
    {
        SlotMap seed(directory.Path());
        seed.Set("key5", "old five", SlotData{}, 0);
        seed.Set("key0", "old zero", SlotData{}, 0);
        ASSERT_TRUE(seed.Save());
    }
    Start();
    Choose(1056, 2);  // the limit is for what the owner types into a String row
    controls.SetFocus(1024);
    controls.SetChecked(1006, true);
    controls.SetText(1024, "abc");
    controls.SetText(1025, "一二三四五六七八九十一二");  // 12 characters, 24 bytes: fine
    controls.SetText(1026, "abcdefghijklmnopqrs");       // 19: too long
    controls.SetText(1028, "new five");
    controls.SetText(1030, "new zero");

    EXPECT_FALSE(window->Collect());

    ASSERT_EQ(controls.messages.size(), 1u);
    EXPECT_EQ(controls.messages[0].text, "Please enter no more than 18 characters.");
    EXPECT_EQ(controls.messages[0].caption, "varnok");
    EXPECT_EQ(controls.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(controls.focused, 1026);
    EXPECT_EQ(window->CurrentSlot(), 1);  // the focus move is the window's own
    EXPECT_EQ(window->Model().Text(1), "abc");
    EXPECT_EQ(window->Model().Text(3), "abcdefghijklmnopqrs");
    EXPECT_EQ(window->Model().Text(5), "old five");
    EXPECT_EQ(window->Model().Text(0), "old zero");

    controls.SetText(1026, "short");
    EXPECT_TRUE(window->Collect());
    EXPECT_EQ(window->Model().Text(5), "new five");
    EXPECT_EQ(window->Model().Text(0), "new zero");
    // The Group Key boxes are the user's: showing the rows leaves them as they are.
    controls.SetChecked(1006, false);
    window->Refresh();
    EXPECT_FALSE(controls.IsChecked(1006));

    // In a Chinese window the warning is in Chinese.
    Choose(1031, 1);
    controls.SetText(1026, "abcdefghijklmnopqrs");
    EXPECT_FALSE(window->Collect());
    ASSERT_EQ(controls.messages.size(), 2u);
    EXPECT_EQ(controls.messages[1].text, "“请填入不多于18个的字符。”");
}

// msmap.dat keeps a row's text in 25 bytes of GBK: a label that does not fit is refused with
// the reason, in the window's language, and nothing is saved; a text that fits is taken whole.
TEST_F(MainWindowBehaviourTest, SaveRefusesARowTextTheFileCannotHoldWhole) {
    struct Case {
        std::string text;
        bool fits;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {"一二三四五六七八九十一二", true, "", ""},
        {"一二三四五六七八九十一二三四五六七八", false,
         "the text takes 36 bytes; msmap.dat keeps at most 25",
         "文字占 36 个字节，msmap.dat 最多保存 25 个字节"},
        {"Ctrl|一二三四五六七八九十|,", false,
         "the text takes 27 bytes; msmap.dat keeps at most 25",
         "文字占 27 个字节，msmap.dat 最多保存 25 个字节"},
        {"Ctrl|\xF0\x9F\x98\x80|,", false,
         "the text holds characters msmap.dat cannot keep (GBK has no place for them)",
         "文字中有 msmap.dat 无法保存的字符（GBK 中没有）"},
    };
    for (const Case& c : cases) {
        for (const std::int32_t language : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.text << " language " << language);
            controls = FocusReportingControls();
            SetUp();
            settings = FallibleSettingsStore();
            settings.WriteSetting("Settings", "keynum", 5);
            settings.WriteSetting("Settings", "keyLan", language);
            Start();
            controls.SetText(1027, c.text);
            const int savesBefore = keyboard.CompletedSaves();

            Click(1000);

            EXPECT_EQ(keyboard.CompletedSaves() - savesBefore, c.fits ? 1 : 0);
            if (c.fits) {
                EXPECT_TRUE(controls.messages.empty() ||
                            controls.messages.back().icon != MessageIcon::Exclamation);
                EXPECT_EQ(window->Model().Text(4), c.text);
            } else {
                ASSERT_EQ(controls.messages.size(), 1u);
                EXPECT_EQ(controls.messages[0].text, language == 0 ? c.english : c.chinese);
                EXPECT_EQ(controls.messages[0].icon, MessageIcon::Exclamation);
                EXPECT_EQ(controls.focused, 1027);
            }
        }
    }
}

TEST_F(MainWindowBehaviourTest, SaveGivesTheKeyboardWhatAnotherProgramSavedMeanwhile) {
    // Another program (varnok-cli, a second window) saves keys 2, 3 and 4 while this window
    // is open; this window then defines key 1 and saves. The file keeps the other program's
    // keys, so the keyboard and the rows must hold them too.
    {
        SlotMap seed(directory.Path());
        seed.Set("key3", "Alt|F4|,", SlotData{0x01, 0x04, 0x00, 0x3D}, 0);
        seed.Set("key4", "Ctrl|Z|,", SlotData{0x01, 0x01, 0x00, 0x1D}, 0);
        ASSERT_TRUE(seed.Save());
    }
    settings.WriteSetting("Settings", "keynum", 5);
    Start();
    {
        SlotMap other(directory.Path());
        ASSERT_TRUE(other.Load());
        other.Set("key2", "Ctrl|V|,", SlotData{0x01, 0x01, 0x00, 0x19}, 0);
        other.Set("key3", "hi", SlotData{0x00, 0x0B, 0x00, 0x0C}, 0);  // a typed string
        other.Remove("key4");
        ASSERT_TRUE(other.Save());
    }
    Focus(kValueBoxes[1]);
    Chord({{0x11, 0x1D}, {0x43, 0x2E}});  // Ctrl+C
    Click(ControlId::Save);

    const struct {
        int slot;
        std::string text;
        int mode;
        Bytes record;
    } cases[] = {
        {1, "Ctrl|C|,", 0, {0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0, 0xFF}},
        {2, "Ctrl|V|,", 0, {0x02, 0x08, 0x01, 0x01, 0x00, 0x19, 0, 0, 0, 0, 0xFF}},
        {3, "hi", 2, {0x03, 0x04, 0x08, 0x00, 0x0B, 0x00, 0x0C, 0xFF}},
        {4, "", 0, {0x04, 0x00, 0xFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.slot);
        const auto record = keyboard.Table().Record(c.slot);
        EXPECT_EQ(Bytes(record.begin(), record.end()), c.record);
        EXPECT_EQ(controls.GetText(kValueBoxes[c.slot]), c.text);
        EXPECT_EQ(controls.SelectedListIndex(kFunctionLists[c.slot]), c.mode);
    }
    EXPECT_EQ(Setting("KeyFun3Sel"), 2);
}

TEST_F(MainWindowBehaviourTest, OnceMaskHelpAndAbout) {
    settings.WriteSetting("Settings", "KeyFun1Sel", 1);
    settings.WriteSetting("Settings", "KeyFun3Sel", 2);
    settings.WriteSetting("Settings", "KeyFun6Sel", 1);
    Start();

    EXPECT_EQ(window->Model().OnceMask(), 0x21);
    EXPECT_TRUE(window->OnHelpRequest());
    EXPECT_TRUE(controls.messages.empty());
    window->OnAboutCommand();
    EXPECT_EQ(controls.aboutShown, 1);
}

// What the platform knows of an unreachable keyboard goes under "not connected" as its detail,
// in the window's language, and only there.
TEST_F(MainWindowBehaviourTest, NotConnectedCarriesThePlatformsAdvice) {
    const struct {
        const char* label;
        int button;
        std::int32_t language;
        bool plugged;
        bool withAdvice;
        std::string advice;  // what the platform says
        std::string text, detail;
    } cases[] = {
        {"save, English", 1000, 0, false, true, "at hidraw3", "Usb HIDKB Not Connected!",
         "0: at hidraw3"},
        {"save, Chinese", 1000, 1, false, true, "at hidraw3", "USB控制器没有连接!",
         "1: at hidraw3"},
        {"read-back", 1019, 0, false, true, "at hidraw3", "Usb HIDKB Not Connected!",
         "0: at hidraw3"},
        {"nothing more to say", 1000, 0, false, true, "", "Usb HIDKB Not Connected!", ""},
        {"no advice at all", 1000, 0, false, false, "", "Usb HIDKB Not Connected!", ""},
        {"keyboard there", 1000, 0, true, true, "at hidraw3", "Save Key Successful!", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        controls.messages.clear();
        settings.WriteSetting("Settings", "keyLan", c.language);
        Start();
        int asked = 0;
        if (c.withAdvice) {
            window->SetConnectionAdvice([&](std::int32_t language) {
                ++asked;
                return c.advice.empty() ? "" : std::to_string(language) + ": " + c.advice;
            });
        }
        if (c.plugged) {
            keyboard.Plug();
        } else {
            keyboard.Unplug();
        }
        Click(c.button);
        ASSERT_EQ(controls.messages.size(), 1u);
        EXPECT_EQ(controls.messages[0].text, c.text);
        EXPECT_EQ(controls.messages[0].detail, c.detail);
        EXPECT_EQ(asked, c.withAdvice && !c.plugged ? 1 : 0);
    }
}

// The system's reason for a failed open, set or get goes into the trace beside "failed" and
// under the message, in the window's language; the advice on a keyboard this user may not open
// stays what "not connected" says.
TEST_F(MainWindowBehaviourTest, TheSystemsReasonReachesTheTraceAndTheMessage) {
    constexpr const char* kRefused = "the simulated keyboard refused the report, as told to";
    const struct {
        const char* label;
        int button;
        std::int32_t language;
        std::size_t refusedSet, refusedGet;  // on the simulated keyboard; 0: none
        bool busyNode;                       // a hidraw node with the keyboard's ids that is busy
        std::string advice;                  // the platform's, for "not connected"
        std::string text, detail, traceLine;
    } cases[] = {
        {"a refused set", ControlId::Save, 0, 1, 0, false, "", "Save Key Error!",
         "The keyboard refused the first record: keys 1 to 6 still hold their previous ones. "
         "Reason: " +
             std::string(kRefused),
         "0 set 06 00 00 FF 00 00 00 00 failed: " + std::string(kRefused)},
        {"a refused set, Chinese", ControlId::Save, 1, 1, 0, false, "", "保存错误!",
         "键盘拒收了第一条记录：按键 1 至 6 仍是原来的定义。原因：" + std::string(kRefused),
         "0 set 06 00 00 FF 00 00 00 00 failed: " + std::string(kRefused)},
        {"a refused get", ControlId::GetDefinedKey, 0, 0, 1, false, "", "Get Key Error!",
         "Reason: " + std::string(kRefused),
         "0 get 06 00 00 00 00 00 00 00 failed: " + std::string(kRefused)},
        {"a refused open", ControlId::Save, 0, 0, 0, true, "", "Usb HIDKB Not Connected!",
         "/dev/hidraw3 could not be opened: Device or resource busy",
         "# 0 /dev/hidraw3: open failed: Device or resource busy (errno 16)"},
        {"a refused open, Chinese", ControlId::GetDefinedKey, 1, 0, 0, true, "",
         "Usb 控制器没有连接!", "无法打开 /dev/hidraw3：Device or resource busy",
         "# 0 /dev/hidraw3: open failed: Device or resource busy (errno 16)"},
        {"a refused open with advice", ControlId::Save, 0, 0, 0, true, "install the rule",
         "Usb HIDKB Not Connected!", "install the rule",
         "# 0 /dev/hidraw3: open failed: Device or resource busy (errno 16)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        controls.messages.clear();
        settings.WriteSetting("Settings", "keyLan", c.language);
        SimulatedKeyboard simulated(clock);
        HidFakeDevice node;
        node.path = "/dev/hidraw3";
        node.listsIds = true;
        node.opens = false;
        HidFakePlatform busy({node});
        busy.error = {"Device or resource busy", "errno 16"};
        std::ostringstream log;
        HidTrace trace(c.busyNode ? static_cast<HidPlatform&>(busy) : simulated, clock, log);
        window = std::make_unique<MainWindowBehaviour>(
            controls, settings, trace,
            KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
            "varnok");
        controls.events = window.get();
        window->OnInitDialog();
        if (!c.advice.empty()) window->SetConnectionAdvice([&](std::int32_t) { return c.advice; });
        if (c.refusedSet != 0) simulated.RefuseSet(c.refusedSet);
        if (c.refusedGet != 0) simulated.RefuseGet(c.refusedGet);

        Click(c.button);

        ASSERT_EQ(controls.messages.size(), 1u);
        EXPECT_EQ(controls.messages[0].text, c.text);
        EXPECT_EQ(controls.messages[0].detail, c.detail);
        std::istringstream lines(log.str());
        std::vector<std::string> traced;
        for (std::string line; std::getline(lines, line);) traced.push_back(line);
        EXPECT_NE(std::find(traced.begin(), traced.end(), c.traceLine), traced.end()) << log.str();
        controls.events = nullptr;
        window.reset();
    }
}

// Save, Clear and a row's change into or out of String write msmap.dat; when it is left alone
// the window says so, naming the file and the reason in its language, and the file stays whole.
TEST_F(MainWindowBehaviourTest, AMapFileLeftAloneIsNamedWithTheReason) {
    const Bytes tooLarge(4 * 1024 * 1024 + 1, 0x41);
    const std::string file = (directory.Path() / "msmap.dat").string();
    const struct {
        const char* label;
        int button;  // 0: row 1 changes into String
        std::int32_t language;
        std::string text, detail, then;
    } cases[] = {
        {"save", ControlId::Save, 0, "Key definitions not saved to file!",
         file + ": it is too large to be loaded and was left as it is", "Save Key Successful!"},
        {"save, Chinese", ControlId::Save, 1, "按键定义未能保存到文件!",
         file + ": 文件太大无法读取，未作改动", "保存键成功!"},
        {"clear", ControlId::Clear, 0, "Key definitions not saved to file!",
         file + ": it is too large to be loaded and was left as it is", ""},
        {"a row changes into String", 0, 1, "按键定义未能保存到文件!",
         file + ": 文件太大无法读取，未作改动", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteBytes(directory.Path() / "msmap.dat", tooLarge);
        controls.messages.clear();
        settings.WriteSetting("Settings", "keyLan", c.language);
        settings.WriteSetting("Settings", "KeyFun1Sel", 0);
        Start();
        Focus(RowControlTable[1].valueBox);
        Chord({{0x11, 0x1D}, {0x43, 0x2E}});  // Ctrl+C
        controls.messages.clear();

        if (c.button != 0) {
            Click(c.button);
        } else {
            Choose(RowControlTable[1].functionList, 2);
        }

        ASSERT_EQ(controls.messages.size(), c.then.empty() ? 1u : 2u);
        EXPECT_EQ(controls.messages[0].text, c.text);
        EXPECT_EQ(controls.messages[0].detail, c.detail);
        EXPECT_EQ(controls.messages[0].icon, MessageIcon::Exclamation);
        if (!c.then.empty()) {
            EXPECT_EQ(controls.messages[1].text, c.then);
        }
        EXPECT_TRUE(ReadBytes(directory.Path() / "msmap.dat") == tooLarge);
    }
}

// A choice the settings file cannot keep is said in the window's language, with the file and
// the reason: once for the two choices a start stores, once for a choice the owner makes.
TEST_F(MainWindowBehaviourTest, AChoiceTheSettingsCannotKeepIsSaid) {
    const struct {
        const char* label;
        std::int32_t storedLanguage;  // -1: nothing stored
        int keyCount;                 // -1: none chosen after the start
        std::string text, detail;
    } cases[] = {
        {"a first start", -1, -1, "Settings not saved to file!",
         "/home/u/.config/brelmoth/varnok.conf: the file is read-only"},
        {"keys shown chosen, Chinese", 1, 2, "设置未能保存到文件!",
         "/home/u/.config/brelmoth/varnok.conf: 文件是只读的"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        settings = {};
        if (c.storedLanguage >= 0) {
            settings.WriteSetting("Settings", "keyLan", c.storedLanguage);
            settings.WriteSetting("Settings", "keynum", 0);
        }
        settings.refusal =
            FileResult{FileProblem::ReadOnly, "/home/u/.config/brelmoth/varnok.conf", {}};
        controls.messages.clear();
        Start();
        if (c.keyCount >= 0) Choose(ControlId::KeyCount, c.keyCount);

        ASSERT_EQ(controls.messages.size(), 1u);
        EXPECT_EQ(controls.messages[0].text, c.text);
        EXPECT_EQ(controls.messages[0].detail, c.detail);
        EXPECT_EQ(controls.messages[0].icon, MessageIcon::Exclamation);
    }
}

// A map file that is there but cannot be loaded is named at start with the reason; the rows
// start empty, a Save still writes the keyboard, and the file is never written.
TEST_F(MainWindowBehaviourTest, AMapFileThatCannotBeLoadedIsNamedAtStartAndNeverWritten) {
    const std::string file = (directory.Path() / "msmap.dat").string();
    const struct {
        const char* label;
        std::int32_t language;
        std::string text, detail;
    } cases[] = {
        {"English", 0, "Key definitions not loaded from file!",
         file + ": it is too large to be loaded and was left as it is"},
        {"Chinese", 1, "未能从文件读取按键定义!", file + ": 文件太大无法读取，未作改动"},
    };
    const Bytes tooLarge(4 * 1024 * 1024, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteBytes(file, tooLarge);
        controls.messages.clear();
        settings.WriteSetting("Settings", "keyLan", c.language);
        Start();
        ASSERT_EQ(controls.messages.size(), 1u);
        EXPECT_EQ(controls.messages[0].text, c.text);
        EXPECT_EQ(controls.messages[0].detail, c.detail);
        EXPECT_EQ(controls.messages[0].icon, MessageIcon::Exclamation);
        for (int slot = 0; slot <= 6; ++slot) EXPECT_EQ(window->Model().Text(slot), "");

        Focus(RowControlTable[1].valueBox);
        Chord({{0x11, 0x1D}, {0x43, 0x2E}});  // Ctrl+C
        Click(ControlId::Save);
        ASSERT_EQ(controls.messages.size(), 3u);
        EXPECT_EQ(controls.messages[1].detail, c.detail);
        const auto record = keyboard.Table().Record(1);
        EXPECT_EQ(Bytes(record.begin(), record.end()),
                  (Bytes{0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0, 0xFF}));
        EXPECT_TRUE(ReadBytes(file) == tooLarge);
    }
}

}  // namespace
}  // namespace varnok
