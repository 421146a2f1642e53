#include <gtest/gtest.h>

#include "keys/KeyChordCapture.h"
#include "keys/SlotNames.h"
#include "store/SlotMap.h"
#include "support/WindowHarness.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr auto kDown = KeyEventKind::KeyDown;
constexpr auto kUp = KeyEventKind::KeyUp;
constexpr auto kSysDown = KeyEventKind::SysKeyDown;
constexpr auto kSysUp = KeyEventKind::SysKeyUp;

// Virtual key and set-1 scan byte of the keys the tests press.
struct Key {
    std::uint8_t virtualKey, scanByte;
};
constexpr Key kCtrl{0x11, 0x1D}, kAlt{0x12, 0x38}, kShift{0x10, 0x2A};
constexpr Key kA{0x41, 0x1E}, kB{0x42, 0x30}, kC{0x43, 0x2E}, kD{0x44, 0x20}, kE{0x45, 0x12},
    kF{0x46, 0x21}, kF4{0x73, 0x3E};

struct Message {
    KeyEventKind kind;
    Key key;
};

class KeyChordCaptureTest : public WindowHarness {
protected:
    void SetUp() override {
        settings.WriteSetting("Settings", "keynum", 5);
        settings.WriteSetting("Settings", "KeyFun6Sel", 2);
        Start();
        Focus(1024);
    }

    // Sends the messages and returns which of them the capture swallowed.
    std::vector<bool> Send(const std::vector<Message>& messages) {
        std::vector<bool> handled;
        for (const Message& m : messages) {
            handled.push_back(window->OnKeyEvent({m.kind, m.key.virtualKey, m.key.scanByte}));
        }
        return handled;
    }

    SlotData StoredData(int slot) {
        const SlotEntry* entry = window->Model().Map().Find(SlotNames[slot]);
        return entry == nullptr ? SlotData{0xEE} : entry->data;
    }
};

SlotData DataOf(const Bytes& report) {
    SlotData data{};
    std::copy(report.begin(), report.end(), data.begin());
    return data;
}

TEST_F(KeyChordCaptureTest, ChordsBecomeRowTextsAndReports) {
    struct Case {
        std::string name;
        std::vector<Message> messages;
        std::string text;
        Bytes report;
    };
    const Case cases[] = {
        {"Ctrl then C",
         {{kDown, kCtrl}, {kDown, kC}, {kUp, kC}, {kUp, kCtrl}},
         "Ctrl|C|,",
         {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}},
        {"held key repeats",
         {{kDown, kA}, {kDown, kA}, {kDown, kA}, {kUp, kA}},
         "A|,",
         {0x01, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00}},
        {"sixth key refused",
         {{kDown, kA}, {kDown, kB}, {kDown, kC}, {kDown, kD}, {kDown, kE}, {kDown, kF}, {kUp, kF}},
         "A|B|C|D|E|,",
         {0x01, 0x00, 0x00, 0x04, 0x05, 0x06, 0x07, 0x08}},
        {"PrintScreen arrives as a release alone",
         {{kUp, {0x2C, 0x37}}},
         "PrintScreen,",
         {0x01, 0x00, 0x00, 0x46, 0x00, 0x00, 0x00, 0x00}},
        {"keypad 1 by its virtual key",
         {{kDown, {0x61, 0x4F}}, {kUp, {0x61, 0x4F}}},
         "Num1|,",
         {0x01, 0x00, 0x00, 0x59, 0x00, 0x00, 0x00, 0x00}},
        {"NumLock",
         {{kDown, {0x90, 0x45}}, {kUp, {0x90, 0x45}}},
         "Num|,",
         {0x01, 0x00, 0x00, 0x53, 0x00, 0x00, 0x00, 0x00}},
        {"Delete is not keypad .",
         {{kDown, {0x2E, 0x53}}, {kUp, {0x2E, 0x53}}},
         "Del|,",
         {0x01, 0x00, 0x00, 0x4C, 0x00, 0x00, 0x00, 0x00}},
        {"keypad . with NumLock on",
         {{kDown, {0x6E, 0x53}}, {kUp, {0x6E, 0x53}}},
         ".|,",
         {0x01, 0x00, 0x00, 0x63, 0x00, 0x00, 0x00, 0x00}},
        {"Alt + F4 as system keys",
         {{kSysDown, kAlt}, {kSysDown, kF4}, {kSysUp, kF4}, {kSysUp, kAlt}},
         "Alt|F4|,",
         {0x01, 0x04, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00}},
        {"Japanese Yen key by its scan byte",
         {{kDown, {0xDC, 0x7D}}, {kUp, {0xDC, 0x7D}}},
         "OEM_5|,",
         {0x01, 0x00, 0x00, 0x89, 0x00, 0x00, 0x00, 0x00}},
        {"keypad * is named but has no usage",
         {{kDown, {0x6A, 0x37}}, {kUp, {0x6A, 0x37}}},
         "Num*|,",
         {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    // Row 1 records since SetUp; a click into it again would cancel that.
    int slot = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case records into rows 2..5 and 1 in turn, replacing what the row held; no key
        // of a recording reaches the box as typing.
        Focus(1023 + slot);
        const std::vector<bool> handled = Send(c.messages);
        EXPECT_EQ(handled, std::vector<bool>(c.messages.size(), true));
        EXPECT_EQ(window->Model().Text(slot), c.text);
        EXPECT_EQ(controls.GetText(1023 + slot), c.text);
        EXPECT_EQ(Reports(slot), c.report);
        EXPECT_EQ(StoredData(slot), DataOf(c.report));
        EXPECT_TRUE(controls.messages.empty());
        EXPECT_FALSE(window->Activity().IsRecording());
        slot = slot % 5 + 1;
    }
}

TEST_F(KeyChordCaptureTest, GroupKeyBoxesAddTheirModifiers) {
    controls.SetChecked(1006, true);  // Ctrl
    Send({{kDown, kA}, {kUp, kA}});
    EXPECT_EQ(window->Model().Text(1), "Ctrl|A|,");
    EXPECT_EQ(Reports(1), (Bytes{0x01, 0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00}));

    // Pressing a checked modifier itself adds it once.
    Focus(1025);
    Send({{kDown, kCtrl}, {kDown, kB}, {kUp, kB}, {kUp, kCtrl}});
    EXPECT_EQ(window->Model().Text(2), "Ctrl|B|,");
    EXPECT_EQ(Reports(2), (Bytes{0x01, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00}));

    // All three boxes: Alt, Ctrl, Shift in that order.
    controls.SetChecked(1016, true);
    controls.SetChecked(1007, true);
    Focus(1026);
    Send({{kDown, kC}, {kUp, kC}});
    EXPECT_EQ(window->Model().Text(3), "Alt|Ctrl|Shift|C|,");
    EXPECT_EQ(Reports(3), (Bytes{0x01, 0x07, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(KeyChordCaptureTest, ARecordingEndsWithItsChordAndTheNextReplacesIt) {
    Send({{kDown, kCtrl}, {kDown, kC}, {kUp, kC}, {kUp, kCtrl}});
    // The chord is complete: further keys are the window's, not the row's.
    Send({{kDown, kB}, {kUp, kB}});
    EXPECT_EQ(window->Model().Text(1), "Ctrl|C|,");
    EXPECT_EQ(Reports(1), (Bytes{0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}));

    // Recording again replaces the chord, without a word.
    Focus(1024);
    Send({{kDown, kB}, {kUp, kB}});
    EXPECT_EQ(window->Model().Text(1), "B|,");
    EXPECT_EQ(Reports(1), (Bytes{0x01, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KeyChordCaptureTest, AChordReplacesAReportStoredWithoutItsText) {
    // msmap.dat may hold an entry with an empty text and a report: a profile imported so, or
    // a file whose String row was left again. The slot is not defined, so it takes a chord,
    // and the keyboard must get that chord, not the report the row never showed.
    struct Case {
        std::string name;
        SlotData stored;
    };
    const Case cases[] = {
        {"a left click", SlotData{0x04, 0x81, 0, 0, 0, 0, 0, 0xFF}},
        {"no report at all", SlotData{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            SlotMap seed(directory.Path());
            seed.Set("key1", "", c.stored, 0);
            ASSERT_TRUE(seed.Save());
        }
        Start();
        Focus(1024);
        Send({{kDown, kCtrl}, {kDown, kC}, {kUp, kC}, {kUp, kCtrl}});
        const Bytes ctrlC{0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00};
        EXPECT_EQ(window->Model().Text(1), "Ctrl|C|,");
        EXPECT_EQ(Reports(1), ctrlC);
        EXPECT_EQ(StoredData(1), DataOf(ctrlC));

        Click(1000);
        const auto record = keyboard.Table().Record(1);
        EXPECT_EQ(Bytes(record.begin(), record.end()),
                  (Bytes{0x01, 0x08, 0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0, 0xFF}));
    }
}

TEST_F(KeyChordCaptureTest, ClearingKeyEmptiesTheRow) {
    Send({{kDown, kA}});
    EXPECT_EQ(window->Model().Text(1), "A|");
    Send({{kDown, {0x03, 0x46}}});
    EXPECT_EQ(window->Model().Text(1), "");
    // Still recording, the box says so.
    EXPECT_EQ(controls.GetText(1024), "Press the keys...");
}

TEST_F(KeyChordCaptureTest, StringRowLetsKeysThroughToTheValueBox) {
    Focus(1029);
    controls.SetText(1029, "ab");
    const std::vector<bool> handled =
        Send({{kDown, kShift}, {kDown, kA}, {kUp, kA}, {kUp, kShift}, {kDown, {0x08, 0x0E}}});

    EXPECT_EQ(handled, (std::vector<bool>{false, false, false, false, false}));
    EXPECT_EQ(controls.GetText(1029), "ab");
    EXPECT_TRUE(Reports(6).empty());
    EXPECT_EQ(window->Model().DefinedCount(6), 0);
}

}  // namespace
}  // namespace varnok
