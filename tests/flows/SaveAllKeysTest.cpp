#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "device/HexBytes.h"
#include "flows/SaveAllKeys.h"
#include "support/WindowHarness.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Varnok's records as the keyboard must receive them, one per slot 0..6 and the end record.
const Bytes kEmptyTable[] = {
    {0x00, 0x00, 0xFF}, {0x01, 0x00, 0xFF}, {0x02, 0x00, 0xFF}, {0x03, 0x00, 0xFF},
    {0x04, 0x00, 0xFF}, {0x05, 0x00, 0xFF}, {0x06, 0x00, 0xFF}, {0xAA, 0xFF},
};
const Bytes kMixedTable[] = {
    {0x00, 0x00, 0xFF},
    // Ctrl + C, Normal
    {0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0xFF},
    // Close Window (Alt + F4) in a Once row: the Once flag 0x40 joins the modifiers
    {0x02, 0x08, 0x01, 0x44, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0xFF},
    // "Default" in row 3 is a right click
    {0x03, 0x08, 0x04, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},
    // the string "a!B1": "!" and "B" are typed with Shift
    {0x04, 0x08, 0x08, 0x00, 0x04, 0xAB, 0x1E, 0xAB, 0x05, 0x00, 0x1E, 0xFF},
    // an empty String row
    {0x05, 0x00, 0x08, 0xFF},
    {0x06, 0x00, 0xFF},
    {0xAA, 0xFF},
};

std::string Hex(const Bytes& bytes) {
    return FormatHexBytes(bytes);
}

// The reports and pauses that carry these records: 7 data bytes per report, zero padded,
// 200 ms between the reports of one record.
std::vector<std::string> Transcript(const Bytes* records, std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t r = 0; r < count; ++r) {
        const Bytes& record = records[r];
        for (std::size_t offset = 0; offset < record.size(); offset += 7) {
            if (offset > 0) lines.push_back("pause 200");
            Bytes report(8, 0x00);
            report[0] = 0x06;
            for (std::size_t i = 0; i < 7 && offset + i < record.size(); ++i) {
                report[1 + i] = record[offset + i];
            }
            lines.push_back("set " + Hex(report));
        }
    }
    return lines;
}

class SaveAllKeysTest : public WindowHarness {
protected:
    // Defines rows 1..5 as a user would, row 6 and slot 0 stay empty.
    void DefineMixedRows() {
        settings.WriteSetting("Settings", "keynum", 5);
        Start();
        Focus(1024);
        Chord({{0x11, 0x1D}, {0x43, 0x2E}});  // Ctrl, C
        Choose(1025, 4);                      // Close Window
        Choose(1055, 1);                      // Once
        Choose(1026, 0);                      // Default
        Choose(1057, 2);                      // String
        Type(1027, "a!B1");
        Choose(1058, 2);
    }

    void ExpectKeyboardHolds(const Bytes* records, std::size_t slots) {
        for (std::size_t slot = 0; slot < 7; ++slot) {
            const auto stored = keyboard.Table().Record(static_cast<std::uint8_t>(slot));
            const Bytes expected = slot < slots ? records[slot] : Bytes{};
            EXPECT_EQ(Hex(Bytes(stored.begin(), stored.end())), Hex(expected)) << "slot " << slot;
        }
    }
};

TEST_F(SaveAllKeysTest, EmptyWindowWritesSevenEmptyRecordsAndTheEndRecord) {
    Start();
    Click(1000);

    EXPECT_EQ(keyboard.Transcript(), Transcript(kEmptyTable, 8));
    ExpectKeyboardHolds(kEmptyTable, 7);
    // The window was busy, counted the six keys as it went (the hidden slot 0 with key 1, the
    // end record with key 6), and is itself again.
    EXPECT_EQ(controls.progress, (std::vector<std::string>{
                                     "Writing key 1 of 6 [1/6]", "Writing key 2 of 6 [2/6]",
                                     "Writing key 3 of 6 [3/6]", "Writing key 4 of 6 [4/6]",
                                     "Writing key 5 of 6 [5/6]", "Writing key 6 of 6 [6/6]", ""}));
    EXPECT_FALSE(controls.busy);
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Information!: Save Key Successful!"});
    EXPECT_EQ(keyboard.OpenHandleCount(), 0u);
}

TEST_F(SaveAllKeysTest, EveryKindOfRowIsWrittenByteForByte) {
    DefineMixedRows();
    EXPECT_EQ(window->Model().Text(1), "Ctrl|C|,");

    Click(1000);

    EXPECT_EQ(keyboard.Transcript(), Transcript(kMixedTable, 8));
    ExpectKeyboardHolds(kMixedTable, 7);
    EXPECT_EQ(keyboard.CompletedSaves(), 1);
    EXPECT_EQ(clock.NowMilliseconds(), 4 * 200);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Information!: Save Key Successful!"});
}

TEST_F(SaveAllKeysTest, OneSaveKeepsTheTypedStringInTheMapFile) {
    DefineMixedRows();
    keyboard.Unplug();

    Click(1000);

    SlotMap reloaded(directory.Path());
    ASSERT_TRUE(reloaded.Load());
    const SlotEntry* typed = reloaded.Find("key4");
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->text, "a!B1");
    EXPECT_EQ(typed->data[0], 0x00);
    EXPECT_EQ(typed->data[1], 0x04);
    ASSERT_NE(reloaded.Find("key1"), nullptr);
    EXPECT_EQ(reloaded.Find("key1")->text, "Ctrl|C|,");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Information!: Usb HIDKB Not Connected!"});
}

TEST_F(SaveAllKeysTest, NoKeyboardIsReportedInTheWindowsLanguage) {
    settings.WriteSetting("Settings", "keyLan", 1);
    Start();
    keyboard.Unplug();
    Click(1000);
    EXPECT_EQ(Messages(), std::vector<std::string>{"提示!: USB控制器没有连接!"});
    EXPECT_TRUE(std::filesystem::exists(directory.Path() / "msmap.dat"));
}

TEST_F(SaveAllKeysTest, ARefusedReportStopsTheSaveWhereItWas) {
    // Report numbers of the mixed save: the record each belongs to.
    const std::vector<int> recordOfReport = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6, 7};
    ASSERT_EQ(Transcript(kMixedTable, 8).size(), recordOfReport.size() + 4);  // 4 pauses

    for (std::size_t refused = 1; refused <= recordOfReport.size(); ++refused) {
        SCOPED_TRACE(testing::Message() << "report " << refused << " refused");
        TempDirectory runDirectory;
        VirtualClock runClock;
        SimulatedKeyboard runKeyboard(runClock);
        FocusReportingControls runControls;
        MemorySettingsStore runSettings;
        runSettings.WriteSetting("Settings", "keyLan", 1);
        runSettings.WriteSetting("Settings", "keynum", 5);
        runSettings.WriteSetting("Settings", "KeyFun2Sel", 1);
        runSettings.WriteSetting("Settings", "KeyFun4Sel", 2);
        runSettings.WriteSetting("Settings", "KeyFun5Sel", 2);
        InlineFlowExecutor runExecutor;
        MainWindowBehaviour run(runControls, runSettings, runKeyboard,
                                KeySlotsModel(SlotMap(runDirectory.Path())), runExecutor, "varnok");
        runControls.events = &run;
        run.OnInitDialog();
        runControls.SetFocus(1024);
        run.OnValueBoxPressed(1024);
        for (auto [kind, vk, scan] : {std::tuple{KeyEventKind::KeyDown, 0x11, 0x1D},
                                      {KeyEventKind::KeyDown, 0x43, 0x2E},
                                      {KeyEventKind::KeyUp, 0x43, 0x2E},
                                      {KeyEventKind::KeyUp, 0x11, 0x1D}}) {
            run.OnKeyEvent({kind, static_cast<std::uint8_t>(vk), static_cast<std::uint8_t>(scan)});
        }
        for (auto [list, index] : {std::pair{1025, 4}, {1026, 0}}) {
            runControls.SelectListIndex(list, index);
            run.OnSelectionChanged(list);
        }
        runControls.SetFocus(1027);
        runControls.SetText(1027, "a!B1");
        runKeyboard.RefuseSet(refused);

        run.OnButtonClicked(1000);

        const int failedRecord = recordOfReport[refused - 1];
        std::vector<std::string> expectedMessages;
        if (failedRecord == 0 || failedRecord == 6) {
            expectedMessages = {"提示!: 保存错误!"};  // an empty record
        } else {
            expectedMessages = {"提示!: 保存出错!"};  // the end record's too
        }
        std::vector<std::string> shown;
        for (const auto& message : runControls.messages)
            shown.push_back(message.caption + ": " + message.text);
        EXPECT_EQ(shown, expectedMessages);
        for (int slot = 0; slot < 7; ++slot) {
            const auto stored = runKeyboard.Table().Record(static_cast<std::uint8_t>(slot));
            const Bytes expected = slot < failedRecord ? kMixedTable[slot] : Bytes{};
            EXPECT_EQ(Hex(Bytes(stored.begin(), stored.end())), Hex(expected)) << "slot " << slot;
        }
        EXPECT_EQ(runKeyboard.CompletedSaves(), 0);
        EXPECT_EQ(runKeyboard.OpenHandleCount(), 0u);
        EXPECT_EQ(runKeyboard.SetCount(), refused);
        // The window keeps every definition; the typed string reached the slot map.
        EXPECT_EQ(run.Model().Text(1), "Ctrl|C|,");
        EXPECT_EQ(run.Model().Text(2), "Close Window");
        EXPECT_EQ(run.Model().Text(4), "a!B1");
        ASSERT_NE(run.Model().Map().Find("key4"), nullptr);
        EXPECT_EQ(run.Model().Map().Find("key4")->text, "a!B1");
    }
}

}  // namespace
}  // namespace varnok
