#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/HexBytes.h"
#include "device/InputReportReader.h"
#include "device/ReportDescriptorParser.h"
#include "device/win/RawInputReports.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyDefinitionText.h"
#include "keys/KeySlotsModel.h"
#include "keys/KeyTester.h"
#include "keys/KeyTesterTexts.h"

namespace varnok {
namespace {

using RawEvent = RawInputReports::RawEvent;

// A key as Windows' keyboard driver reports it: set 1 make code, E0/E1 prefix flags, and the
// virtual key where it matters (0xFF for the keys Windows makes up).
RAWKEYBOARD Key(USHORT code, USHORT flags, USHORT virtualKey = 0) {
    RAWKEYBOARD key{};
    key.MakeCode = code;
    key.Flags = flags;
    key.VKey = virtualKey;
    return key;
}
RawEvent Down(USHORT code, USHORT prefix = 0) {
    return Key(code, prefix | RI_KEY_MAKE);
}
RawEvent Up(USHORT code, USHORT prefix = 0) {
    return Key(code, prefix | RI_KEY_BREAK);
}
RawEvent Buttons(USHORT flags) {
    RAWMOUSE mouse{};
    mouse.usButtonFlags = flags;
    return mouse;
}

// What the keyboard's own device hands Raw Input, batch by batch as it arrives together, the
// reports made of it (interface: bytes) and what the key tester then says. Keys: 1 Normal
// Ctrl+Alt+Del, 2 a Once left click, 3 the string "Hi".
TEST(RawInputReports, TurnsTheKeyboardsRawInputIntoItsReports) {
    const struct {
        const char* label;
        std::vector<std::vector<RawEvent>> batches;
        std::vector<std::string> reports;
        std::vector<std::string> lines;
    } cases[] = {
        {"a chord's report, whose keys Windows splits, is one report again",
         {{Down(0x1D), Down(0x38), Down(0x53, RI_KEY_E0)},
          {Up(0x53, RI_KEY_E0), Up(0x38), Up(0x1D)}},
         {"0: 05 00 4C 00 00 00 00 00", "0: 00 00 00 00 00 00 00 00"},
         {"Ctrl|Alt|Del|,  as key 1 defines"}},
        {"a string with a capital, each character down and up",
         {{Down(0x2A), Down(0x23)}, {Up(0x23), Up(0x2A)}, {Down(0x17)}, {Up(0x17)}},
         {"0: 02 00 0B 00 00 00 00 00", "0: 00 00 00 00 00 00 00 00", "0: 00 00 0C 00 00 00 00 00",
          "0: 00 00 00 00 00 00 00 00"},
         {"typed Hi  as key 3 defines"}},
        {"right-hand modifiers and E0 keys are keys of their own; a tap that came at once is two",
         {{Down(0x1D, RI_KEY_E0), Down(0x38, RI_KEY_E0), Down(0x53), Up(0x53)},
          {Up(0x38, RI_KEY_E0), Up(0x1D, RI_KEY_E0)}},
         {"0: 50 00 63 00 00 00 00 00", "0: 50 00 00 00 00 00 00 00", "0: 00 00 00 00 00 00 00 00"},
         {"Ctrl|Alt|.|,  no key defines this"}},
        {"a held key's repeats and the keys Windows makes up add nothing",
         {{Key(0x2A, RI_KEY_E0, 0xFF), Down(0x47, RI_KEY_E0)},
          {Down(0x47, RI_KEY_E0)},
          {Up(0x47, RI_KEY_E0), Key(0x2A, RI_KEY_E0 | RI_KEY_BREAK, 0xFF)},
          {Down(0x1D, RI_KEY_E1), Key(0x45, RI_KEY_MAKE, 0xFF)},
          {Up(0x1D, RI_KEY_E1), Key(0x45, RI_KEY_BREAK, 0xFF)}},
         {"0: 00 00 4A 00 00 00 00 00", "0: 00 00 00 00 00 00 00 00", "0: 00 00 48 00 00 00 00 00",
          "0: 00 00 00 00 00 00 00 00"},
         {"Home|,  no key defines this", "Paus|,  no key defines this"}},
        {"a left click, and a right click whose down and up came in one message",
         {{Buttons(RI_MOUSE_LEFT_BUTTON_DOWN)},
          {Buttons(RI_MOUSE_LEFT_BUTTON_UP)},
          {Buttons(RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_UP)}},
         {"1: 01 00 00", "1: 00 00 00", "1: 02 00 00", "1: 00 00 00"},
         {"Mouse Left   Click  as key 2 defines", "Mouse Right  Click  no key defines this"}},
        {"codes of no key report's usage, releases of what is not held, pointer moves",
         {{Down(0x5A), Up(0x1E), Buttons(0), Buttons(RI_MOUSE_MIDDLE_BUTTON_UP)}},
         {},
         {}},
    };

    KeySlotsModel model{SlotMap(testing::TempDir())};
    std::string reason;
    ASSERT_TRUE(DefineKeyFromText(model, 1, kNormalMode, "Ctrl+Alt+Del", reason)) << reason;
    ASSERT_TRUE(DefineKeyFromText(model, 2, kOnceMode, "Mouse Left Click", reason)) << reason;
    ASSERT_TRUE(DefineKeyFromText(model, 3, kStringMode, "Hi", reason)) << reason;

    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.label);
        std::vector<InputReportReader> readers;
        for (const auto& descriptor : RawInputReports::Descriptors()) {
            const auto inputs = ReportDescriptorParser::InputReportsOf(descriptor);
            ASSERT_TRUE(inputs);
            readers.emplace_back(*inputs);
        }
        KeyTester tester(std::move(readers), model);
        RawInputReports raw;
        std::vector<std::string> reports, lines;
        const auto show = [&](const std::vector<TesterEvent>& events) {
            for (const TesterEvent& event : events) lines.push_back(KeyTesterLine(event, 0));
        };
        // Presses of a case come 8 ms apart, as the keyboard sends them.
        std::int64_t at = 0;
        for (const auto& batch : testCase.batches) {
            for (const auto& made : raw.Take(batch)) {
                reports.push_back(std::to_string(made.interface) + ": " +
                                  FormatHexBytes(made.bytes));
                show(tester.Take(made.interface, made.bytes, at += 8));
            }
        }
        show(tester.Finish());
        EXPECT_EQ(reports, testCase.reports);
        EXPECT_EQ(lines, testCase.lines);
    }
}

}  // namespace
}  // namespace varnok
