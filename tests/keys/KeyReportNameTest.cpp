#include <gtest/gtest.h>

#include <string>

#include "keys/KeyChordCapture.h"
#include "keys/KeyReportName.h"
#include "keys/VirtualKeyTable.h"
#include "support/TempDirectory.h"

namespace varnok {
namespace {

TEST(KeyReportName, NamesReportsAsTheCaptureNamesThem) {
    const std::pair<KeyReport, std::string> cases[] = {
        {{0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0}, "Ctrl|C|,"},
        {{0x01, 0x05, 0x00, 0x4C, 0, 0, 0, 0}, "Ctrl|Alt|Del|,"},
        {{0x01, 0xFF, 0x00, 0x00, 0, 0, 0, 0}, "Ctrl|Shift|Alt|Windows|Ctrl|Shift|Alt|Windows|,"},
        {{0x01, 0x00, 0x00, 0x28, 0x2C, 0x31, 0x2E, 0x57}, "Ret|SPACE|\\|+|+|,"},
        // Keys sharing a capture name: "/ ?" and keypad "/"; keypad 5 (CLEAR without NumLock).
        {{0x01, 0x00, 0x00, 0x38, 0x54, 0x55, 0x5D, 0x53}, "?|/|Num*|Num5|Num|,"},
        {{0x01, 0x00, 0x00, 0x46, 0, 0, 0, 0}, "PrintScreen,"},
        {{0x01, 0x01, 0x00, 0x46, 0, 0, 0, 0}, "Ctrl|PrintScreen|,"},
        // 32 (non-US #) no captured key sends and no name fits: its number.
        {{0x01, 0x00, 0x00, 0x32, 0x66, 0x89, 0, 0}, "0x32|Power|OEM_5|,"},
        {{0x01, 0x00, 0x00, 0x04, 0xFF, 0x05, 0, 0}, "A|,"},  // FF ends the keys
        {{0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0}, ""},
        {{0x01, 0x04, 0x00, 0x3D, 0, 0, 0, 0}, "Close Window"},
        {{0x01, 0x08, 0x00, 0x0F, 0, 0, 0, 0}, "Log   off"},
        {{0x01, 0x04, 0x00, 0x3D, 0x04, 0, 0, 0}, "Alt|F4|A|,"},
        {{0x04, 0x80, 0x00, 0x00, 0, 0, 0, 0xFF}, "Mouse Double Click"},
        {{0x04, 0x83, 0x00, 0x00, 0, 0, 0, 0xFF}, ""},
    };
    for (const auto& [report, text] : cases) {
        EXPECT_EQ(NameKeyReport(report), text) << text;
    }
}

class OneRowHost : public CaptureHost {
public:
    int CurrentSlot() const override { return 1; }
    GroupKeys CheckedGroupKeys() override { return {}; }
    void ShowRowTexts() override {}
    void ShowMessage(MessageId) override {}
};

// Every key the capture takes, pressed alone: the report it records is named as the row
// showed it, but where the report cannot tell the key from another or is a ready-made action.
TEST(KeyReportName, EveryCapturedKeyReadsAsItWasCaptured) {
    const std::pair<std::uint8_t, std::string> namedOtherwise[] = {
        {0x0C, "Num5|,"},  // CLEAR: keypad 5 without NumLock
        {0x6F, "?|,"},     // keypad "/" is captured as the usage of "/ ?"
        {0x1B, "Esc"},     // Escape alone is the ready-made action of that name
        {0x6A, ""},        // keypad "*" and the separator record no usage
        {0x6C, ""},
    };
    for (const VirtualKeyRow& key : VirtualKeyTable) {
        SCOPED_TRACE(key.name);
        TempDirectory directory;
        KeySlotsModel model{SlotMap(directory.Path())};
        CaptureState state;
        OneRowHost host;
        KeyChordCapture capture(model, state, host);
        capture.OnKeyEvent({KeyEventKind::KeyDown, key.virtualKey, key.keyCode});
        capture.OnKeyEvent({KeyEventKind::KeyUp, key.virtualKey, key.keyCode});
        ASSERT_EQ(model.Reports(1).RecordedReports().size(), 1u);

        std::string expected = model.Text(1);
        for (const auto& [virtualKey, text] : namedOtherwise) {
            if (virtualKey == key.virtualKey) expected = text;
        }
        EXPECT_EQ(NameKeyReport(model.Reports(1).RecordedReports().front()), expected);
    }
}

}  // namespace
}  // namespace varnok
