#include <gtest/gtest.h>

#include <set>

#include "keys/ChordText.h"
#include "keys/linux/EvdevToSet1Table.h"
#include "keys/linux/VirtualKeyFromEvdevTable.h"
#include "support/WindowHarness.h"

namespace varnok {
namespace {

class ChordTextCaptureTest : public WindowHarness {};

// Every key of the keyboard, pressed into a row of the window: the text the window shows,
// written back as a chord, gives the report the window recorded. Keys that share a name with
// an earlier key (right Shift, keypad Enter) read as the earlier one and are not compared.
TEST_F(ChordTextCaptureTest, TheWindowsTextOfEveryKeyReadsBackAsItsReport) {
    Start();
    std::set<std::string> seen;
    int compared = 0;
    for (const EvdevSet1Row& key : EvdevToSet1Table) {
        const auto virtualKey = VirtualKeyOfEvdevKey(key.evdevCode);
        ASSERT_TRUE(virtualKey.has_value());
        // Each key into a new recording, which replaces the last one.
        Focus(1024);
        // PrintScreen reaches a window as a release alone.
        if (*virtualKey != 0x2C) Press(*virtualKey, key.scanByte);
        Release(*virtualKey, key.scanByte);
        const std::string text = window->Model().Text(1);
        if (text.empty() || !seen.insert(text).second) continue;

        SCOPED_TRACE(text);
        std::string error;
        const auto chord = ParseChordText(text, error);
        const std::vector<std::uint8_t> recorded = Reports(1);
        // Named keys without a usage (keypad *) record an empty report and are refused.
        if (recorded == std::vector<std::uint8_t>{0x01, 0, 0, 0, 0, 0, 0, 0}) {
            EXPECT_FALSE(chord.has_value());
            continue;
        }
        ASSERT_TRUE(chord.has_value()) << error;
        EXPECT_EQ(std::vector<std::uint8_t>(chord->report.begin(), chord->report.end()), recorded);
        EXPECT_EQ(chord->text, text);
        ++compared;
    }
    // Every key but Escape, which alone cancels a recording.
    EXPECT_GE(compared, 99);
}

}  // namespace
}  // namespace varnok
