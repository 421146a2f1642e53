#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <utility>

#include "device/KeyboardLink.h"
#include "flows/ReadBackAllKeys.h"
#include "keys/FunctionModeNames.h"
#include "keys/SlotNames.h"
#include "store/SlotRecord.h"
#include "support/FileBytes.h"
#include "support/WindowHarness.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ReadBackAllKeysTest : public WindowHarness {
protected:
    // The window's link may still hold the loaded keyboard open.
    ~ReadBackAllKeysTest() override { window.reset(); }

    // Puts a table into the keyboard as a save would leave it.
    void KeyboardHolds(const std::vector<Bytes>& records) {
        SimulatedKeyboardMemory table;
        for (const Bytes& record : records) ASSERT_TRUE(table.Store(record));
        std::string error;
        const auto path = directory.Path() / "keyboard.txt";
        ASSERT_TRUE(table.Save(path, error)) << error;
        loaded = SimulatedKeyboard::FromFile(path, clock, error);
        ASSERT_NE(loaded, nullptr) << error;
    }

    MainWindowBehaviour& StartOnLoadedKeyboard() {
        window = std::make_unique<MainWindowBehaviour>(
            controls, settings, *loaded,
            KeySlotsModel(SlotMap::InFile(directory.Path() / "msmap.dat", &settings)), executor,
            "varnok");
        controls.events = window.get();
        window->OnInitDialog();
        return *window;
    }

    std::unique_ptr<SimulatedKeyboard> loaded;
};

const std::vector<Bytes> kMixedTable = {
    {0x00, 0x00, 0xFF},
    {0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0xFF},  // Ctrl + C
    {0x02, 0x08, 0x01, 0x44, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0xFF},  // Alt + F4, Once
    {0x03, 0x08, 0x04, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},  // right click
    {0x04, 0x06, 0x08, 0x00, 0x04, 0xAB, 0x1E, 0x00, 0x1E, 0xFF},        // "a!1"
    {0x05, 0x00, 0x08, 0xFF},                                            // empty string
    {0x06, 0x00, 0xFF},
};

TEST_F(ReadBackAllKeysTest, RestoresTextsReportsFlagsAndModes) {
    KeyboardHolds(kMixedTable);
    settings.WriteSetting("Settings", "keynum", 5);
    settings.WriteSetting("Settings", "KeyFun1Sel", 2);
    settings.WriteSetting("Settings", "KeyFun3Sel", 1);
    settings.WriteSetting("Settings", "KeyFun6Sel", 1);
    StartOnLoadedKeyboard();
    Choose(1029, 4);  // row 6 had a definition the keyboard no longer holds

    Click(1019);

    struct Expected {
        std::string text;
        Bytes reports;
        int flag;
        int mode;  // the function list's selection and the stored setting; -9: slot 0
    };
    const Expected expected[] = {
        {"", {}, 0, -9},
        {"Ctrl|C|,", {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, 1, 0},
        {"Close Window", {0x01, 0x04, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00}, 1, 1},
        // a mouse click without the Once flag makes the row Normal
        {"Mouse Right  Click", {0x04, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}, 1, 0},
        {"a!1", {}, 0, 2},
        {"", {}, 0, 2},
        {"", {}, 0, 1},  // an empty slot too
    };
    for (int slot = 0; slot < 7; ++slot) {
        SCOPED_TRACE(testing::Message() << "slot " << slot);
        EXPECT_EQ(window->Model().Text(slot), expected[slot].text);
        EXPECT_EQ(Reports(slot), expected[slot].reports);
        EXPECT_EQ(window->Model().DefinedCount(slot), expected[slot].flag);
        if (slot > 0) {
            EXPECT_EQ(controls.GetText(1023 + slot), expected[slot].text);
            EXPECT_EQ(controls.SelectedListIndex(1053 + slot), expected[slot].mode);
            const std::string setting = "KeyFun" + std::to_string(slot) + "Sel";
            EXPECT_EQ(settings.ReadSetting("Settings", setting, -1), expected[slot].mode);
        }
    }
    // A string slot is kept in the slot map; an empty one leaves it.
    ASSERT_NE(window->Model().Map().Find("key4"), nullptr);
    EXPECT_EQ(window->Model().Map().Find("key4")->text, "a!1");
    EXPECT_EQ(window->Model().Map().Find("key6"), nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Information!: Get Key Successful!"});
    EXPECT_EQ(settings.ReadSetting("Settings", "keynum", -1), 5);
    EXPECT_EQ(loaded->OpenHandleCount(), 0u);
}

// What the keyboard holds, read back and saved again, goes back byte for byte: the read-back
// gives each row the function its record carries, whatever the row was before.
TEST_F(ReadBackAllKeysTest, ReadBackThenSaveGivesTheKeyboardTheSameTable) {
    const std::vector<Bytes> table = {
        {0x00, 0x00, 0xFF},
        {0x01, 0x08, 0x04, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},  // left click, Once
        {0x02, 0x08, 0x04, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},  // double click, Once
        {0x03, 0x08, 0x04, 0xC2, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},  // right click, Once
        {0x04, 0x08, 0x04, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF},  // left click
        {0x05, 0x08, 0x01, 0x44, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0xFF},  // Alt + F4, Once
        {0x06, 0x08, 0x01, 0x41, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // Ctrl, Once
    };
    KeyboardHolds(table);
    // Row 4 was Once, row 5 a String row.
    settings.WriteSetting("Settings", "KeyFun4Sel", 1);
    settings.WriteSetting("Settings", "KeyFun5Sel", 2);
    StartOnLoadedKeyboard();

    Click(1019);
    EXPECT_EQ(controls.GetText(1024), "Mouse Left   Click");
    EXPECT_EQ(controls.SelectedListIndex(1054), kOnceMode);
    EXPECT_EQ(controls.SelectedListIndex(1057), kNormalMode);
    Click(1000);

    for (int slot = 0; slot < 7; ++slot) {
        const auto record = loaded->Table().Record(static_cast<std::uint8_t>(slot));
        EXPECT_EQ(Bytes(record.begin(), record.end()), table[slot]) << "slot " << slot;
    }
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Information!: Get Key Successful!",
                                                    "Information!: Save Key Successful!"}));
}

// A string read back that types nothing empties the row for good: msmap.dat keeps no older
// text that the next start would show and the next Save would send as a string.
TEST_F(ReadBackAllKeysTest, AStringThatTypesNothingLeavesTheRowEmptyAfterARestart) {
    const std::pair<const char*, Bytes> cases[] = {
        {"an empty string", {0x01, 0x00, 0x08, 0xFF}},
        {"keys that type no character (F1, F2)", {0x01, 0x04, 0x08, 0x00, 0x3A, 0x00, 0x3B, 0xFF}},
    };
    for (const auto& [label, record] : cases) {
        SCOPED_TRACE(label);
        settings.WriteSetting("Settings", "KeyFun1Sel", kNormalMode);
        SlotMap earlier(directory.Path());
        earlier.Set("key1", "Ctrl|C|,", ToSlotData(Bytes{0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0}), 0);
        ASSERT_TRUE(earlier.Save());
        KeyboardHolds({record});
        StartOnLoadedKeyboard();
        ASSERT_EQ(controls.GetText(1024), "Ctrl|C|,");

        Click(1019);
        Click(1000);
        StartOnLoadedKeyboard();

        EXPECT_EQ(controls.GetText(1024), "");
        EXPECT_EQ(controls.SelectedListIndex(1054), kStringMode);
        SlotMap stored(directory.Path());
        ASSERT_TRUE(stored.Load());
        EXPECT_EQ(stored.Find("key1"), nullptr);
        Click(1000);
        const auto saved = loaded->Table().Record(1);
        EXPECT_EQ(Bytes(saved.begin(), saved.end()), (Bytes{0x01, 0x00, 0x08, 0xFF}));
    }
}

// Every chord Varnok names itself, read back or captured into a row that held Ctrl+C, is saved
// as it stands: msmap.dat holds its own name (never the row's old one) and its report, as much
// of a long name as the text field keeps, and the next start shows the same.
TEST_F(ReadBackAllKeysTest, AChordReadBackOrCapturedIsSavedUnderItsOwnName) {
    using Keys = std::vector<std::pair<std::uint8_t, std::uint8_t>>;
    const struct {
        const char* label;
        // Slot 1's record: in the keyboard for a read-back; what Save sends for a capture.
        Bytes record;
        Keys captured;  // none: read back
        std::string shown;
    } cases[] = {
        {"F13, which no key name fits",
         {0x01, 0x08, 0x01, 0x00, 0x00, 0x68, 0x00, 0x00, 0x00, 0x00, 0xFF},
         {},
         "0x68|,"},
        {"Ctrl and the media key Volume Up",
         {0x01, 0x08, 0x01, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0xFF},
         {},
         "Ctrl|0x80|,"},
        {"Ctrl+Shift+Alt+F4, 19 characters",
         {0x01, 0x08, 0x01, 0x07, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0xFF},
         {},
         "Ctrl|Shift|Alt|F4|,"},
        {"a name of 41 characters keeps the 25 bytes msmap.dat holds",
         {0x01, 0x08, 0x01, 0x0F, 0x00, 0x46, 0x4E, 0x00, 0x00, 0x00, 0xFF},
         {},
         "Ctrl|Shift|Alt|Windows|Pr"},
        {"a report without a key names nothing",
         {0x01, 0x08, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},
         {},
         ""},
        {"Shift+Win+Left captured, 20 characters",
         {0x01, 0x08, 0x01, 0x0A, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00, 0xFF},
         {{0x10, 0x2A}, {0x5B, 0x5B}, {0x25, 0x4B}},
         "Shift|Windows|LEFT|,"},
    };
    const auto mapFile = directory.Path() / "msmap.dat";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        window.reset();
        controls.messages.clear();
        std::filesystem::remove(mapFile);
        settings.WriteSetting("Settings", "KeyFun1Sel", kNormalMode);
        SlotMap earlier(directory.Path());
        earlier.Set("key1", "Ctrl|C|,", ToSlotData(Bytes{0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0}), 0);
        ASSERT_TRUE(earlier.Save());
        KeyboardHolds(c.captured.empty() ? std::vector<Bytes>{c.record} : std::vector<Bytes>{});
        StartOnLoadedKeyboard();
        ASSERT_EQ(controls.GetText(1024), "Ctrl|C|,");

        std::vector<std::string> said;
        if (c.captured.empty()) {
            Click(1019);
            said.push_back("Information!: Get Key Successful!");
        } else {
            Focus(1024);
            Chord(c.captured);
        }
        EXPECT_EQ(controls.GetText(1024), c.shown);
        Click(1000);
        said.push_back("Information!: Save Key Successful!");
        EXPECT_EQ(Messages(), said);
        const auto sent = loaded->Table().Record(1);
        EXPECT_EQ(Bytes(sent.begin(), sent.end()), c.record);

        const Bytes map = ReadBytes(mapFile);
        ASSERT_EQ(map.size(), SlotRecordLayout::kRecordSize);
        const auto stored = std::span(map).first<SlotRecordLayout::kRecordSize>();
        EXPECT_EQ(SlotRecordText(stored), c.shown);
        const auto data = stored.subspan(SlotRecordLayout::kDataOffset, 8);
        EXPECT_EQ(Bytes(data.begin(), data.end()), Bytes(c.record.begin() + 2, c.record.end() - 1));

        StartOnLoadedKeyboard();
        EXPECT_EQ(controls.GetText(1024), c.shown);
    }
}

TEST_F(ReadBackAllKeysTest, StringIsReadInPartsAHundredMillisecondsApart) {
    // "abcdef": 12 payload bytes, 5 in the first report and 7 in the next.
    KeyboardHolds({{0x02, 0x0C, 0x08, 0x00, 0x04, 0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08,
                    0x00, 0x09, 0xFF}});
    KeyboardLink link(*loaded);

    const std::optional<SlotReadBack> read = ReadSlot(link, 2);

    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->kind, SlotReadBack::Kind::String);
    EXPECT_EQ(read->text, "abcdef");
    EXPECT_EQ(read->functionMode, kStringMode);
    EXPECT_EQ(loaded->Transcript(), (std::vector<std::string>{
                                        "set 06 BB 02 00 00 00 00 00",
                                        "get 06 0C 08 00 04 00 05 00",
                                        "pause 100",
                                        "get 06 06 00 07 00 08 00 09",
                                    }));
}

TEST_F(ReadBackAllKeysTest, AFailedReadKeepsTheRemainingSlots) {
    KeyboardHolds(kMixedTable);
    settings.WriteSetting("Settings", "keynum", 5);
    StartOnLoadedKeyboard();
    for (int slot = 1; slot <= 6; ++slot) Choose(1023 + slot, 5);  // My Computer everywhere
    // Slots 0..2 take one get each; the fourth get is slot 3's.
    loaded->RefuseGet(4);

    Click(1019);

    EXPECT_EQ(window->Model().Text(1), "Ctrl|C|,");
    EXPECT_EQ(window->Model().Text(2), "Close Window");
    for (int slot = 3; slot <= 6; ++slot) {
        EXPECT_EQ(window->Model().Text(slot), "My    Computer");
        EXPECT_EQ(Reports(slot), (Bytes{0x01, 0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00}));
        EXPECT_NE(window->Model().Map().Find(SlotNames[slot]), nullptr);
    }
    EXPECT_EQ(controls.GetText(1024), "Ctrl|C|,");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Information!: Get Key Error!"});
    EXPECT_EQ(loaded->OpenHandleCount(), 0u);
}

TEST_F(ReadBackAllKeysTest, NoKeyboardLeavesTheWindowAsItWas) {
    KeyboardHolds(kMixedTable);
    settings.WriteSetting("Settings", "keyLan", 1);
    StartOnLoadedKeyboard();
    Choose(1024, 6);
    loaded->Unplug();

    Click(1019);

    EXPECT_EQ(Messages(), std::vector<std::string>{"提示!: Usb 控制器没有连接!"});
    EXPECT_EQ(window->Model().Text(1), "Log   off");
}

// A string that makes the keyboard press keys without a character (F1 here) shows the text it
// types and says that it holds more; a Save gives the keyboard what the row shows.
TEST_F(ReadBackAllKeysTest, StringWithKeysThatTypeNoCharacterIsMarkedUntilSaved) {
    KeyboardHolds({{0x01, 0x06, 0x08, 0x00, 0x0B, 0x00, 0x3A, 0x00, 0x0C, 0xFF},
                   {0x02, 0x04, 0x08, 0xAB, 0x0B, 0x00, 0x0C, 0xFF}});
    settings.WriteSetting("Settings", "keynum", 1);
    StartOnLoadedKeyboard();

    Click(1019);

    EXPECT_EQ(controls.GetText(1024), "hi");
    EXPECT_EQ(controls.At(1024).mark,
              "The keyboard also holds keys here that type no character; shown is the text it "
              "types.");
    EXPECT_EQ(controls.GetText(1025), "Hi");
    EXPECT_EQ(controls.At(1025).mark, "");

    Click(1000);

    EXPECT_EQ(controls.At(1024).mark, "");
    const auto record = loaded->Table().Record(1);
    EXPECT_EQ(Bytes(record.begin(), record.end()),
              (Bytes{0x01, 0x04, 0x08, 0x00, 0x0B, 0x00, 0x0C, 0xFF}));
}

TEST_F(ReadBackAllKeysTest, ClearForgetsEveryDefinitionButSlotZerosText) {
    settings.WriteSetting("Settings", "keynum", 5);
    SlotMap earlier(directory.Path());
    earlier.Set("key0", "hidden", ToSlotData(Bytes{0x01, 0x02, 0x00, 0x04, 0, 0, 0, 0}), 0);
    earlier.Set("key9", "kept", SlotData{}, 0);
    ASSERT_TRUE(earlier.Save());
    Start();
    ASSERT_EQ(Reports(0).size(), 8u);
    for (int slot = 1; slot <= 6; ++slot) Choose(1023 + slot, 4);

    Click(1004);

    EXPECT_EQ(window->Model().Text(0), "hidden");
    EXPECT_TRUE(Reports(0).empty());
    for (int slot = 1; slot <= 6; ++slot) {
        EXPECT_EQ(window->Model().Text(slot), "");
        EXPECT_EQ(controls.GetText(1023 + slot), "");
        EXPECT_TRUE(Reports(slot).empty());
        EXPECT_EQ(window->Model().DefinedCount(slot), 0);
    }
    SlotMap reloaded(directory.Path());
    ASSERT_TRUE(reloaded.Load());
    EXPECT_EQ(reloaded.Size(), 1u);
    EXPECT_NE(reloaded.Find("key9"), nullptr);
    EXPECT_TRUE(keyboard.Transcript().empty());
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace varnok
