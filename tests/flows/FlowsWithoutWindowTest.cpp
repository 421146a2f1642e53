#include <gtest/gtest.h>

#include "app/MemorySettingsStore.h"
#include "device/HexBytes.h"
#include "device/KeyboardLink.h"
#include "device/SimulatedKeyboard.h"
#include "flows/ClearAllKeys.h"
#include "flows/ReadBackAllKeys.h"
#include "flows/SaveAllKeys.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeySlotsModel.h"
#include "support/FileBytes.h"
#include "support/RecordingFlowHost.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"

namespace varnok {
namespace {

// Save, Clear and read-back driven through the model alone: what the command line and the
// window's worker thread do.
class FlowsWithoutWindow : public ::testing::Test {
protected:
    // Row 1 Ctrl+C, row 2 Close Window acting once, row 3 "Default" (a right click), row 4
    // the string "a!1", row 5 an empty String row; row 6 and slot 0 empty.
    void DefineRows() {
        model.DefineChord(1, {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,");
        model.DefineCommandItem(2, 4);
        model.SetFunctionMode(2, kOnceMode);
        model.DefineCommandItem(3, 0);
        model.SetFunctionMode(4, kStringMode);
        model.TakeText(4, "a!1");
        model.SetFunctionMode(5, kStringMode);
    }

    std::string Record(int slot) const {
        const auto stored = keyboard.Table().Record(static_cast<std::uint8_t>(slot));
        return FormatHexBytes(Bytes(stored.begin(), stored.end()));
    }

    TempDirectory directory;
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    KeyboardLink link{keyboard};
    KeySlotsModel model{SlotMap(directory.Path())};
    RecordingFlowHost host;
};

const char* const kSavedTable[] = {
    "00 00 FF",
    "01 08 01 01 00 06 00 00 00 00 FF",
    "02 08 01 44 00 3D 00 00 00 00 FF",
    "03 08 04 82 00 00 00 00 00 FF FF",
    "04 06 08 00 04 AB 1E 00 1E FF",
    "05 00 08 FF",
    "06 00 FF",
};

TEST_F(FlowsWithoutWindow, SaveWritesEveryRecordAndTheEndRecordInOrder) {
    DefineRows();

    EXPECT_TRUE(SaveAllKeys(model, link, host));

    for (int slot = 0; slot < 7; ++slot) EXPECT_EQ(Record(slot), kSavedTable[slot]) << slot;
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
    EXPECT_EQ(clock.NowMilliseconds(), 4 * 200);  // the pauses inside the four long records
    EXPECT_EQ(host.steps, (std::vector<std::string>{"1/6", "2/6", "3/6", "4/6", "5/6", "6/6"}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Save Key Successful!"});
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
    // The typed string is kept for the next start, with the other definitions.
    SlotMap stored(directory.Path());
    ASSERT_TRUE(stored.Load());
    ASSERT_NE(stored.Find("key4"), nullptr);
    EXPECT_EQ(stored.Find("key4")->text, "a!1");
    EXPECT_EQ(stored.Find("key1")->text, "Ctrl|C|,");
}

TEST_F(FlowsWithoutWindow, AStopRequestEndsTheSaveBetweenTwoRecords) {
    DefineRows();
    host.onProgress = [this](const FlowProgress& progress) { host.stop = progress.step == 2; };

    EXPECT_FALSE(SaveAllKeys(model, link, host));

    // Slot 2's record was under way when the stop came: it is finished, nothing after it.
    for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(Record(slot), kSavedTable[slot]) << slot;
    for (int slot = 3; slot < 7; ++slot) EXPECT_EQ(Record(slot), "") << slot;
    EXPECT_EQ(keyboard.CompletedSaves(), 0);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"Save Key Stopped! Keys 1 and 2 hold the new definitions, "
                                       "keys 3 to 6 still hold their previous ones: the keyboard "
                                       "holds this mix until the next Save."});
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
}

// A save that ends early, by a stop request or a refused report, says which keys the keyboard
// now holds new, which it holds as before and which it may hold half written, in both
// languages; the keyboard holds exactly that.
TEST_F(FlowsWithoutWindow, ASaveThatEndsEarlySaysWhatTheKeyboardNowHolds) {
    const struct {
        const char* label;
        int stopAtStep;       // the progress step on which a stop is asked for; -1: none
        std::size_t refused;  // the set report the keyboard refuses (see below); 0: none
        int slotsWritten;     // slots 0..n-1 hold the saved records afterwards
        std::string english;
        std::string chinese;
    } cases[] = {
        {"stopped before the first record", 0, 0, 0,
         "Save Key Stopped! Keys 1 to 6 still hold their previous ones.",
         "保存已中断! 按键 1 至 6 仍是原来的定义。"},
        {"stopped after the hidden slot 0", 1, 0, 1,
         "Save Key Stopped! Keys 1 to 6 still hold their previous ones.",
         "保存已中断! 按键 1 至 6 仍是原来的定义。"},
        {"stopped after key 5", 5, 0, 6,
         "Save Key Stopped! Keys 1 to 5 hold the new definitions, key 6 still holds its previous "
         "one: the keyboard holds this mix until the next Save.",
         "保存已中断! 按键 1 至 5 已是新的定义，按键 6 仍是原来的定义：在下次保存之前，键盘保持这种"
         "混合的状态。"},
        // Set reports of the save: slot 0 (1), slots 1..4 (2 each), slots 5 and 6 (1 each), the
        // end record (12).
        {"slot 0 refused", -1, 1, 0,
         "Save Key Error! The keyboard refused the first record: keys 1 to 6 still hold their "
         "previous ones.",
         "保存错误! 键盘拒收了第一条记录：按键 1 至 6 仍是原来的定义。"},
        {"key 2's second report refused", -1, 5, 2,
         "Save Key Error! The keyboard refused key 2: key 1 holds its new definition, what key 2 "
         "holds is uncertain, keys 3 to 6 still hold their previous ones: the keyboard holds this "
         "mix until the next Save.",
         "保存出错! 键盘拒收了按键 2：按键 1 已是新的定义，按键 2 的内容不确定，按键 3 至 6 "
         "仍是原来的定义：在下次保存之前，键盘保持这种混合的状态。"},
        {"key 6 refused", -1, 11, 6,
         "Save Key Error! The keyboard refused key 6: keys 1 to 5 hold the new definitions, what "
         "key 6 holds is uncertain: the keyboard holds this mix until the next Save.",
         "保存错误! 键盘拒收了按键 6：按键 1 至 5 已是新的定义，按键 6 的内容不确定：在下次保存之前"
         "，键盘保持这种混合的状态。"},
        {"the end record refused", -1, 12, 7,
         "Save Key Error! The keyboard took keys 1 to 6 but refused the end of the table, so the "
         "save is not complete: until the next Save the keyboard may hold the new keys, its "
         "previous ones, or a mix of both.",
         "保存出错! 键盘接收了按键 1 至 6，但拒收了按键表的结束记录，保存未完成：在下次保存之前，"
         "键盘可能保存新的按键、原来的按键或两者的混合。"},
    };
    DefineRows();
    for (const auto& c : cases) {
        for (const std::int32_t language : {0, 1}) {
            SCOPED_TRACE(testing::Message() << c.label << ", language " << language);
            SimulatedKeyboard target{clock};
            KeyboardLink targetLink{target};
            if (c.refused != 0) target.RefuseSet(c.refused);
            RecordingFlowHost early;
            early.language = language;
            early.stop = c.stopAtStep == 0;
            early.onProgress = [&](const FlowProgress& progress) {
                early.stop = early.stop || progress.step == c.stopAtStep;
            };

            EXPECT_FALSE(SaveAllKeys(model, targetLink, early));

            // A refusal adds the keyboard's reason.
            const std::string reason = c.refused == 0
                                           ? ""
                                           : (language == 0 ? " Reason: " : "原因：") +
                                                 std::string(
                                                     "the simulated keyboard refused the report, "
                                                     "as told to");
            EXPECT_EQ(early.messages,
                      std::vector<std::string>{(language == 0 ? c.english : c.chinese) + reason});
            for (int slot = 0; slot < 7; ++slot) {
                const auto stored = target.Table().Record(static_cast<std::uint8_t>(slot));
                EXPECT_EQ(FormatHexBytes(Bytes(stored.begin(), stored.end())),
                          slot < c.slotsWritten ? kSavedTable[slot] : "")
                    << "slot " << slot;
            }
            EXPECT_EQ(target.CompletedSaves(), 0);
            EXPECT_EQ(target.OpenHandleCount(), 0u);
        }
    }
}

TEST_F(FlowsWithoutWindow, ClearForgetsEverySlotInTheModelAndTheFile) {
    DefineRows();
    model.TakeText(0, "hidden");
    ASSERT_TRUE(model.SaveStore());

    EXPECT_TRUE(ClearAllKeys(model, host));

    for (int slot = 1; slot < 7; ++slot) {
        EXPECT_EQ(model.Text(slot), "") << slot;
        EXPECT_FALSE(model.IsDefined(slot)) << slot;
    }
    EXPECT_EQ(model.Text(0), "hidden");
    SlotMap stored(directory.Path());
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.Size(), 0u);
    EXPECT_TRUE(keyboard.Transcript().empty());
}

TEST_F(FlowsWithoutWindow, ReadBackTakesWhatASaveWroteIntoAFreshModel) {
    DefineRows();
    ASSERT_TRUE(SaveAllKeys(model, link, host));
    TempDirectory otherStore;
    MemorySettingsStore settings;
    KeySlotsModel fresh{SlotMap::InFile(otherStore.Path() / "msmap.dat", &settings)};
    RecordingFlowHost readHost;

    EXPECT_TRUE(ReadBackAllKeys(fresh, link, readHost));
    // Kept, the rows' functions go into the settings with the map.
    ASSERT_TRUE(KeepReadBack(fresh, readHost));

    EXPECT_EQ(fresh.Text(1), "Ctrl|C|,");
    EXPECT_EQ(fresh.Text(2), "Close Window");
    EXPECT_EQ(fresh.Text(3), "Mouse Right  Click");
    EXPECT_EQ(fresh.Text(4), "a!1");
    EXPECT_EQ(fresh.Text(6), "");
    EXPECT_EQ(fresh.FunctionMode(2), kOnceMode);
    EXPECT_EQ(fresh.FunctionMode(4), kStringMode);
    const std::int32_t modes[] = {kNormalMode, kOnceMode,   kNormalMode,
                                  kStringMode, kStringMode, kNormalMode};
    for (int row = 1; row <= 6; ++row) {
        EXPECT_EQ(settings.ReadSetting("Settings", "KeyFun" + std::to_string(row) + "Sel", -1),
                  modes[row - 1])
            << row;
    }
    EXPECT_EQ(readHost.messages, std::vector<std::string>{"Get Key Successful!"});
    EXPECT_EQ(readHost.steps, (std::vector<std::string>{"1/6", "2/6", "3/6", "4/6", "5/6", "6/6"}));
    // Saved again, the read-back model gives the keyboard the same table.
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(FormatHexBytes(fresh.RecordOf(slot).bytes), kSavedTable[slot]) << slot;
    }
}

// Each ready-made action, and right Windows alone and with left Ctrl or left Shift (whose
// modifier bits are the clicks' button codes), Normal and Once, in a row and in slot 0: saved,
// read back into a fresh store and saved again, the keyboard gets the same record, and the
// row shows what it was defined with.
TEST_F(FlowsWithoutWindow, ReadBackAndSaveAgainGiveTheKeyboardTheSameRecord) {
    struct Case {
        int slot;
        int item;  // a ready-made action picked from the row's list, or -1 for the chord
        KeyReport chord;
        std::int32_t mode;
        std::string text;
        std::string record;
    };
    constexpr KeyReport kNone{};
    constexpr KeyReport kLeftClick{0x04, 0x81, 0, 0, 0, 0, 0, 0xFF};  // slot 0 has no list
    constexpr KeyReport kWindows{0x01, 0x80, 0, 0, 0, 0, 0, 0};
    constexpr KeyReport kCtrlWindows{0x01, 0x81, 0, 0, 0, 0, 0, 0};
    constexpr KeyReport kShiftWindows{0x01, 0x82, 0, 0, 0, 0, 0, 0};
    const Case cases[] = {
        {1, 1, kNone, kNormalMode, "Mouse Left   Click", "01 08 04 81 00 00 00 00 00 FF FF"},
        {1, 1, kNone, kOnceMode, "Mouse Left   Click", "01 08 04 C1 00 00 00 00 00 FF FF"},
        {2, 2, kNone, kNormalMode, "Mouse Right  Click", "02 08 04 82 00 00 00 00 00 FF FF"},
        {2, 2, kNone, kOnceMode, "Mouse Right  Click", "02 08 04 C2 00 00 00 00 00 FF FF"},
        {3, 3, kNone, kNormalMode, "Mouse Double Click", "03 08 04 80 00 00 00 00 00 FF FF"},
        {3, 3, kNone, kOnceMode, "Mouse Double Click", "03 08 04 C0 00 00 00 00 00 FF FF"},
        {4, 4, kNone, kNormalMode, "Close Window", "04 08 01 04 00 3D 00 00 00 00 FF"},
        {4, 4, kNone, kOnceMode, "Close Window", "04 08 01 44 00 3D 00 00 00 00 FF"},
        {5, 5, kNone, kNormalMode, "My    Computer", "05 08 01 08 00 08 00 00 00 00 FF"},
        {5, 5, kNone, kOnceMode, "My    Computer", "05 08 01 48 00 08 00 00 00 00 FF"},
        {6, 6, kNone, kNormalMode, "Log   off", "06 08 01 08 00 0F 00 00 00 00 FF"},
        {6, 6, kNone, kOnceMode, "Log   off", "06 08 01 48 00 0F 00 00 00 00 FF"},
        {1, -1, kWindows, kNormalMode, "Windows|,", "01 08 01 80 00 00 00 00 00 00 FF"},
        {2, -1, kWindows, kOnceMode, "Windows|,", "02 08 01 C0 00 00 00 00 00 00 FF"},
        {3, -1, kCtrlWindows, kNormalMode, "Ctrl|Windows|,", "03 08 01 81 00 00 00 00 00 00 FF"},
        {4, -1, kCtrlWindows, kOnceMode, "Ctrl|Windows|,", "04 08 01 C1 00 00 00 00 00 00 FF"},
        {5, -1, kShiftWindows, kNormalMode, "Shift|Windows|,", "05 08 01 82 00 00 00 00 00 00 FF"},
        {6, -1, kShiftWindows, kOnceMode, "Shift|Windows|,", "06 08 01 C2 00 00 00 00 00 00 FF"},
        {0, -1, kLeftClick, kNormalMode, "Mouse Left   Click", "00 08 04 81 00 00 00 00 00 FF FF"},
        {0, -1, kWindows, kNormalMode, "Windows|,", "00 08 01 80 00 00 00 00 00 00 FF"},
        {0, -1, kShiftWindows, kNormalMode, "Shift|Windows|,", "00 08 01 82 00 00 00 00 00 00 FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        model.ForgetAll();
        if (c.item >= 0) {
            model.DefineCommandItem(c.slot, static_cast<std::size_t>(c.item));
        } else {
            model.DefineChord(c.slot, c.chord, c.text);
        }
        model.SetFunctionMode(c.slot, c.mode);
        ASSERT_TRUE(SaveAllKeys(model, link, host));
        ASSERT_EQ(Record(c.slot), c.record);

        TempDirectory otherStore;
        KeySlotsModel fresh{SlotMap(otherStore.Path())};
        RecordingFlowHost freshHost;
        ASSERT_TRUE(ReadBackAllKeys(fresh, link, freshHost));
        EXPECT_EQ(fresh.Text(c.slot), c.text);
        EXPECT_EQ(fresh.FunctionMode(c.slot), c.mode);
        ASSERT_TRUE(SaveAllKeys(fresh, link, freshHost));
        EXPECT_EQ(Record(c.slot), c.record);
    }
}

// msmap.dat too large to load: every save must leave it as it is.
Bytes TooLargeMap() {
    return Bytes(4 * 1024 * 1024 + 1, 0x41);
}

TEST_F(FlowsWithoutWindow, AFileLeftAloneIsNamedWithTheReasonAndTheKeyboardIsWrittenAllTheSame) {
    const struct {
        const char* label;
        bool clear;          // Clear instead of Save
        bool folderMissing;  // the map's folder is gone, instead of a file too large to load
        std::string reason;  // after the file's path
        std::vector<std::string> after;  // the messages that follow
    } cases[] = {
        {"save over a file too large to load",
         false,
         false,
         "it is too large to be loaded and was left as it is",
         {"Save Key Successful!"}},
        {"save into a folder that is gone",
         false,
         true,
         "the folder does not exist",
         {"Save Key Successful!"}},
        {"clear over a file too large to load",
         true,
         false,
         "it is too large to be loaded and was left as it is",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory folder;
        const std::filesystem::path mapFolder =
            c.folderMissing ? folder.Path() / "gone" : folder.Path();
        const std::filesystem::path file = mapFolder / "msmap.dat";
        if (!c.folderMissing) WriteBytes(file, TooLargeMap());
        KeySlotsModel failing{SlotMap(mapFolder)};
        failing.DefineChord(1, {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,");
        RecordingFlowHost failingHost;
        SimulatedKeyboard target{clock};
        KeyboardLink targetLink{target};

        const bool done = c.clear ? ClearAllKeys(failing, failingHost)
                                  : SaveAllKeys(failing, targetLink, failingHost);

        std::vector<std::string> expected = {"Key definitions not saved to file! " + file.string() +
                                             ": " + c.reason};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(failingHost.messages, expected);
        EXPECT_EQ(done, !c.clear);
        EXPECT_EQ(target.CompletedSaves(), c.clear ? 0 : 1);
        if (c.folderMissing) {
            EXPECT_FALSE(std::filesystem::exists(mapFolder));
        } else {
            EXPECT_TRUE(ReadBytes(file) == TooLargeMap());
        }
    }
}

}  // namespace
}  // namespace varnok
