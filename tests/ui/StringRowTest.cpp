#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/HexBytes.h"
#include "keys/MappedKeyboardLayout.h"
#include "support/WindowHarness.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The system offers German, with Y and Z trading places and @ only at AltGr; "fr" is listed
// but cannot be made.
class FakeLayoutSource : public KeyboardLayoutSource {
public:
    std::string system;

    std::vector<LayoutOffer> Offers() const override {
        return {{"fr", "French"}, {"de", "German"}};
    }
    std::string SystemLayout() const override { return system; }
    std::unique_ptr<KeyboardLayout> Make(std::string_view name, std::string& error) const override {
        if (name != "de") {
            error = "no layout " + std::string(name);
            return nullptr;
        }
        auto layout = std::make_unique<MappedKeyboardLayout>("German (de)");
        for (char32_t c = U'a'; c <= U'z'; ++c) {
            const auto usage = static_cast<std::uint8_t>(c == U'y'   ? 0x1D
                                                         : c == U'z' ? 0x1C
                                                                     : 0x04 + (c - U'a'));
            layout->AddKey(c, {usage, false});
        }
        layout->AddRefusal(U'@', LayoutRefusal::NeedsAltGr);
        return layout;
    }
};

// Rows 1 and 2 are String rows, row 3 a Normal row.
class StringRowTest : public WindowHarness {
protected:
    StringRowTest() {
        settings.WriteSetting("Settings", "keynum", 2);
        settings.WriteSetting("Settings", "KeyFun1Sel", 2);
        settings.WriteSetting("Settings", "KeyFun2Sel", 2);
    }

    std::string KeyboardRecord(std::uint8_t slot) const {
        const auto record = keyboard.Table().Record(slot);
        return FormatHexBytes(Bytes(record.begin(), record.end()));
    }
    std::string MapFileBytes() const {
        std::ifstream file(directory.Path() / "msmap.dat", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
};

// Each character goes in only when the keyboard can type it and the record has room; a
// refusal says why in the window's language, the next character taken clears it.
TEST_F(StringRowTest, TypingTakesWhatTheKeyboardTypesAndSaysWhyNot) {
    struct Case {
        std::int32_t language;
        std::string typed;
        std::string shown;
        std::string notice;
    };
    const Case cases[] = {
        {0, "Hello World_1", "Hello World_1", ""},
        {0, "abcdefghijklmnOP", "abcdefghijklmn", "A string key holds at most 14 characters."},
        {0, "Hi 中", "Hi ", "The keyboard has no key for \"中\"."},
        {0, "Hi 中!", "Hi !", ""},
        {0, "tab\n", "tab", "The keyboard has no key for \"U+000A\"."},
        {1, "é", "", "键盘上没有能输入\"é\"的键。"},
        {1, "abcdefghijklmnop", "abcdefghijklmn", "字符串键最多只能有14个字符。"},
    };
    Start();
    EXPECT_EQ(controls.At(1024).entry, ValueEntry::TypedText);
    EXPECT_EQ(controls.At(1026).entry, ValueEntry::CapturedKeys);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Choose(1031, c.language);
        window->OnClearKey();
        controls.SetText(1024, "");
        Type(1024, c.typed);
        EXPECT_EQ(controls.GetText(1024), c.shown);
        EXPECT_EQ(controls.notice, c.notice);
    }
}

TEST_F(StringRowTest, BackspaceEditsAStringRowAndIsCapturedInAChordRow) {
    settings.WriteSetting("Settings", "KeyFun3Sel", 0);
    Start();
    Type(1024, "Hello");
    Backspace(1024);
    EXPECT_EQ(controls.GetText(1024), "Hell");

    Focus(1026);
    Chord({{0x08, 0x0E}});  // Backspace
    EXPECT_EQ(controls.GetText(1026), "Back|,");
    EXPECT_EQ(controls.At(1026).entry, ValueEntry::CapturedKeys);
    Choose(1056, 2);  // row 3 becomes a String row: it now takes typed text
    EXPECT_EQ(controls.At(1026).entry, ValueEntry::TypedText);
}

// msmap.dat may hold texts the keyboard does not type whole (written by an older version, or
// by hand): the row shows what the keyboard types and says so; the file is left as it is
// until the next Save, which stores what the row shows.
TEST_F(StringRowTest, RestoredUntypableStringShowsWhatIsTypedAndIsMarked) {
    {
        SlotMap seed(directory.Path());
        seed.Set("key1", "Hi 中文", SlotData{0x00, 0x0B, 0x00, 0x0C}, 0);
        seed.Set("key2", "abcdefghijklmnop", SlotData{0x00, 0x04}, 0);
        seed.Set("key3", "Hi 中文", SlotData{0x01, 0x01, 0x00, 0x06}, 0);  // a Normal row
        ASSERT_TRUE(seed.Save());
    }
    const std::string fileBefore = MapFileBytes();
    Start();

    EXPECT_EQ(controls.GetText(1024), "Hi ");
    EXPECT_EQ(controls.At(1024).mark,
              "The keyboard has no key for \"中\". Shown is what it types of the stored text "
              "\"Hi 中文\".");
    EXPECT_EQ(controls.GetText(1025), "abcdefghijklmn");
    EXPECT_EQ(controls.At(1025).mark,
              "A string key holds at most 14 characters. Shown is what it types of the stored "
              "text \"abcdefghijklmnop\".");
    EXPECT_EQ(controls.GetText(1026), "Hi 中文");
    EXPECT_EQ(controls.At(1026).mark, "");
    EXPECT_EQ(MapFileBytes(), fileBefore);

    Choose(1031, 1);
    EXPECT_EQ(controls.At(1024).mark,
              "键盘上没有能输入\"中\"的键。显示的是键盘对保存的文字\"Hi 中文\"所输入的内容。");
    Choose(1031, 0);

    // Shortened by the user, row 2 still holds what the keyboard types: its mark goes.
    Backspace(1025);
    EXPECT_EQ(controls.At(1025).mark, "");
    EXPECT_EQ(controls.At(1024).mark.empty(), false);

    Click(1000);
    EXPECT_EQ(controls.At(1024).mark, "");
    SlotMap reloaded(directory.Path());
    ASSERT_TRUE(reloaded.Load());
    EXPECT_EQ(reloaded.Find("key1")->text, "Hi ");
    EXPECT_EQ(reloaded.Find("key2")->text, "abcdefghijklm");
    EXPECT_EQ(KeyboardRecord(1), "01 06 08 AB 0B 00 0C 00 2C FF");
}

}  // namespace
}  // namespace varnok

namespace varnok {
namespace {

// The layout list starts at the kept layout, else the system's, else US; a choice is kept, and
// the String rows type with it: what the row held before is typed again, and typing refuses
// what the layout cannot type.
TEST_F(StringRowTest, LayoutListTypesStringRowsWithTheChosenLayout) {
    struct Case {
        std::string kept;
        std::string system;
        std::string typedBefore;   // under the layout the window starts with
        int choose;                // -1: no choice; 0 English (US), 1 French, 2 German
        std::vector<int> entries;  // context menu entries chosen then (undo, redo)
        std::string typedAfter;
        int selected;
        std::string stored;
        std::string shown;
        std::string notice;
        std::string record;
    };
    const Case cases[] = {
        {"", "", "", 2, {}, "yz", 2, "de", "yz", "", "01 04 08 00 1D 00 1C FF"},
        {"", "", "yz", 2, {}, "", 2, "de", "yz", "", "01 04 08 00 1D 00 1C FF"},
        {"de", "", "yz", -1, {}, "", 2, "de", "yz", "", "01 04 08 00 1D 00 1C FF"},
        {"", "de", "yz", -1, {}, "", 2, "", "yz", "", "01 04 08 00 1D 00 1C FF"},
        {"de",
         "",
         "a@",
         -1,
         {},
         "",
         2,
         "de",
         "a",
         "\"@\" needs AltGr on German (de), which a string key cannot press.",
         "01 02 08 00 04 FF"},
        {"us@", "", "yz", -1, {}, "", 0, "us@", "yz", "", "01 04 08 00 1C 00 1D FF"},
        {"de", "", "yz", 1, {}, "", 2, "de", "yz", "no layout fr", "01 04 08 00 1D 00 1C FF"},
        {"de", "", "yz", 0, {}, "", 0, "us", "yz", "", "01 04 08 00 1C 00 1D FF"},
        {"", "", "yz", 2, {1104}, "", 0, "us", "yz", "", "01 04 08 00 1C 00 1D FF"},
        {"", "", "yz", 2, {1104, 1105}, "", 2, "de", "yz", "", "01 04 08 00 1D 00 1C FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kept + " " + c.system + " " + std::to_string(c.choose));
        FakeLayoutSource source;
        source.system = c.system;
        layoutSource = &source;
        settings.WriteText("Settings", "keyLayout", c.kept);
        std::filesystem::remove(directory.Path() / "msmap.dat");
        controls.ClearList(1045);
        Start();
        EXPECT_EQ(controls.At(1045).items,
                  (std::vector<std::string>{"English (US)", "French", "German"}));
        Type(1024, c.typedBefore);
        if (c.choose >= 0) Choose(1045, c.choose);
        for (const int entry : c.entries) Click(entry);
        if (!c.typedAfter.empty()) Type(1024, c.typedAfter);
        EXPECT_EQ(controls.At(1045).selected, c.selected);
        EXPECT_EQ(settings.ReadText("Settings", "keyLayout"), c.stored);
        EXPECT_EQ(controls.GetText(1024), c.shown);
        EXPECT_EQ(controls.notice, c.notice);
        Click(1000);
        EXPECT_EQ(KeyboardRecord(1), c.record);
        window.reset();
        layoutSource = nullptr;
    }
}

}  // namespace
}  // namespace varnok
