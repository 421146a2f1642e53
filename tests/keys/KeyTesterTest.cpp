#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "device/HexBytes.h"
#include "device/InputReportReader.h"
#include "device/ReportDescriptorParser.h"
#include "device/ReportDescriptors.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyDefinitionText.h"
#include "keys/KeySlotsModel.h"
#include "keys/KeyTester.h"
#include "keys/KeyTesterTexts.h"

namespace varnok {
namespace {

// A report as it arrives and when (milliseconds); none: the front end finds the tester's
// deadline passed with no report and says so (Quiet).
struct Arrival {
    std::int64_t at;
    const char* report;
};

// The keyboard as sold with a mouse collection: typing under report id 1 (modifiers, a reserved
// byte, six keys), consumer keys under 2, mouse buttons and movement under 3, and the
// configuration channel. Rows: key 1 Normal Ctrl+Alt+Del, key 2 a Once left click, key 3 the
// string "Hi!", key 4 Normal Ctrl+C.
TEST(KeyTester, NamesEachPressAndTheKeyThatDefinesIt) {
    const struct {
        const char* label;
        std::vector<Arrival> reports;
        std::vector<std::string> lines;
        // The descriptor, when not the keyboard's above.
        std::vector<std::uint8_t> descriptor = {};
    } cases[] = {
        {"a chord, down and up",
         {{0, "01 05 00 4C 00 00 00 00 00"}, {8, "01 00 00 00 00 00 00 00 00"}},
         {"Ctrl|Alt|Del|,  as key 1 defines"}},
        {"a chord whose keys go down one by one",
         {{0, "01 01 00 00 00 00 00 00 00"},
          {30, "01 01 00 06 00 00 00 00 00"},
          {90, "01 01 00 00 00 00 00 00 00"},
          {120, "01 00 00 00 00 00 00 00 00"}},
         {"Ctrl|C|,  as key 4 defines"}},
        {"a Once click, however long it is held",
         {{0, "03 01 00 00"}, {900, "03 00 00 00"}},
         {"Mouse Left   Click  as key 2 defines"}},
        {"a string with a capital and a shifted sign",
         {{0, "01 02 00 0B 00 00 00 00 00"},
          {8, "01 00 00 00 00 00 00 00 00"},
          {16, "01 00 00 0C 00 00 00 00 00"},
          {24, "01 00 00 00 00 00 00 00 00"},
          {32, "01 02 00 1E 00 00 00 00 00"},
          {40, "01 00 00 00 00 00 00 00 00"}},
         {"typed Hi!  as key 3 defines"}},
        {"typed text no key defines",
         {{0, "01 00 00 04 00 00 00 00 00"},
          {8, "01 00 00 00 00 00 00 00 00"},
          {16, "01 00 00 05 00 00 00 00 00"},
          {24, "01 00 00 00 00 00 00 00 00"}},
         {"typed ab  no key defines this"}},
        {"presses far apart are presses of their own",
         {{0, "01 00 00 04 00 00 00 00 00"},
          {8, "01 00 00 00 00 00 00 00 00"},
          {1000, "01 01 00 19 00 00 00 00 00"},
          {1008, "01 00 00 00 00 00 00 00 00"}},
         {"A|,  no key defines this", "Ctrl|V|,  no key defines this"}},
        {"a press still under way at its run's deadline joins the run",
         {{0, "01 00 00 04 00 00 00 00 00"},
          {8, "01 00 00 00 00 00 00 00 00"},
          {200, "01 00 00 05 00 00 00 00 00"},
          {300, nullptr},
          {320, "01 00 00 05 00 00 00 00 00"},
          {400, "01 00 00 00 00 00 00 00 00"}},
         {"typed ab  no key defines this"}},
        {"two quick left clicks are a double click",
         {{0, "03 01 00 00"}, {8, "03 00 00 00"}, {60, "03 01 00 00"}, {68, "03 00 00 00"}},
         {"Mouse Double Click  no key defines this"}},
        {"a right click moving the pointer",
         {{0, "03 02 05 FB"}, {8, "03 00 00 00"}},
         {"Mouse Right  Click  no key defines this"}},
        {"a short report and an undeclared id are counted, never read",
         {{0, "01 05 00"}, {5, "09 00 00"}, {10, ""}},
         {"ignored report 01 05 00: 2 data bytes where the descriptor declares 8 (1 so far)",
          "ignored report 09 00 00: report id 9, which the keyboard's descriptor does not declare "
          "(2 so far)",
          "ignored report : an empty report (3 so far)"}},
        {"a bad report inside a press leaves the press as the good ones say",
         {{0, "01 01 00 06 00 00 00 00 00"}, {4, "01 01 00 19"}, {8, "01 00 00 00 00 00 00 00 00"}},
         {"ignored report 01 01 00 19: 3 data bytes where the descriptor declares 8 (1 so far)",
          "Ctrl|C|,  as key 4 defines"}},
        {"a keyboard that numbers no report",
         {{0, "01 00 06 00 00 00 00 00"}, {8, "00 00 00 00 00 00 00 00"}, {9, "00 00"}},
         {"Ctrl|C|,  as key 4 defines",
          "ignored report 00 00: 2 data bytes where the descriptor declares 8 (1 so far)"},
         descriptors::Join({descriptors::kBootKeyboard})},
        {"a key no name fits, by its number (F13)",
         {{0, "01 00 00 68 00 00 00 00 00"}, {8, "01 00 00 00 00 00 00 00 00"}},
         {"0x68|,  no key defines this"}},
        {"idle reports and consumer keys make no press",
         {{0, "01 00 00 00 00 00 00 00 00"}, {8, "02 E9 00"}, {16, "02 00 00"}},
         {}},
    };

    KeySlotsModel model{SlotMap(testing::TempDir())};
    std::string reason;
    ASSERT_TRUE(DefineKeyFromText(model, 1, kNormalMode, "Ctrl+Alt+Del", reason)) << reason;
    ASSERT_TRUE(DefineKeyFromText(model, 2, kOnceMode, "Mouse Left Click", reason)) << reason;
    ASSERT_TRUE(DefineKeyFromText(model, 3, kStringMode, "Hi!", reason)) << reason;
    ASSERT_TRUE(DefineKeyFromText(model, 4, kNormalMode, "Ctrl+C", reason)) << reason;
    const std::vector<std::uint8_t> keyboard =
        descriptors::Join({descriptors::kProgrammableKeyboard, descriptors::kNumberedMouse});

    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.label);
        const auto inputs = ReportDescriptorParser::InputReportsOf(
            testCase.descriptor.empty() ? keyboard : testCase.descriptor);
        ASSERT_TRUE(inputs);
        KeyTester tester({InputReportReader(*inputs)}, model);
        std::vector<std::string> lines;
        std::vector<std::string> reportsSeen;
        const auto show = [&](const std::vector<TesterEvent>& events) {
            for (const TesterEvent& event : events) {
                lines.push_back(KeyTesterLine(event, 0));
                if (const auto* press = std::get_if<TestedPress>(&event)) {
                    for (const auto& report : press->reports)
                        reportsSeen.push_back(FormatHexBytes(report));
                }
            }
        };
        std::vector<std::string> reportsOfPresses;
        for (const Arrival& arrival : testCase.reports) {
            if (arrival.report == nullptr) {
                show(tester.Quiet(arrival.at));
                continue;
            }
            const auto bytes = ParseHexBytes(arrival.report);
            ASSERT_TRUE(bytes);
            show(tester.Take(0, *bytes, arrival.at));
            const InputReading reading = InputReportReader(*inputs).Read(*bytes);
            if (reading.outcome == InputReading::Outcome::Held &&
                (!reading.held.Empty() || !reportsOfPresses.empty())) {
                reportsOfPresses.push_back(arrival.report);
            }
        }
        show(tester.Finish());
        EXPECT_EQ(lines, testCase.lines);
        // Each press keeps its reports as they came, the release included.
        EXPECT_EQ(reportsSeen, reportsOfPresses);
    }
}

}  // namespace
}  // namespace varnok
