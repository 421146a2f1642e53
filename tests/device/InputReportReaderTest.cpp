#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/HexBytes.h"
#include "device/InputReportReader.h"
#include "device/ReportDescriptorParser.h"
#include "device/ReportDescriptors.h"

// GCC 12 at -O3 (the Windows build) takes the copies of this table's empty key lists for writes
// into nothing, a known false alarm of its stringop checks.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif

namespace varnok {
namespace {

// A report comes from the device: one a byte shorter than its descriptor declares is Bad and
// taken nothing from, even where the buffer it lies in holds a key in the byte after it. Each
// report is read as the first `length` bytes of its buffer.
TEST(InputReportReader, AReportShorterThanDeclaredIsBadAndNeverReadPastItsEnd) {
    using descriptors::Join;
    const struct {
        const char* label;
        std::vector<std::uint8_t> descriptor;
        std::vector<std::uint8_t> buffer;
        std::size_t length;
        InputReading::Outcome outcome;
        HeldKeys held;
        std::string problem;
    } cases[] = {
        {"a numbered keyboard report, whole",
         Join({descriptors::kProgrammableKeyboard}),
         {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x19},
         9,
         InputReading::Outcome::Held,
         {0x01, {0x06, 0x19}},
         ""},
        {"a numbered keyboard report one byte short",
         Join({descriptors::kProgrammableKeyboard}),
         {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x19},
         8,
         InputReading::Outcome::Bad,
         {},
         "7 data bytes where the descriptor declares 8"},
        {"a boot keyboard's report one byte short",
         Join({descriptors::kBootKeyboard}),
         {0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x19},
         7,
         InputReading::Outcome::Bad,
         {},
         "7 data bytes where the descriptor declares 8"},
        {"a mouse report one byte short",
         Join({descriptors::kProgrammableKeyboard, descriptors::kNumberedMouse}),
         {0x03, 0x01, 0x05, 0xFB},
         3,
         InputReading::Outcome::Bad,
         {},
         "2 data bytes where the descriptor declares 3"},
        {"a byte more than declared is left unread",
         Join({descriptors::kProgrammableKeyboard}),
         {0x01, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05},
         10,
         InputReading::Outcome::Held,
         {0x00, {0x04}},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto inputs = ReportDescriptorParser::InputReportsOf(c.descriptor);
        ASSERT_TRUE(inputs);
        const InputReading reading =
            InputReportReader(*inputs).Read(std::span(c.buffer).first(c.length));
        EXPECT_EQ(reading.outcome, c.outcome) << "outcome " << int(reading.outcome);
        EXPECT_EQ(reading.held, c.held)
            << "modifiers " << int(reading.held.modifiers) << ", keys "
            << FormatHexBytes(reading.held.keys) << ", buttons " << int(reading.held.buttons);
        EXPECT_EQ(reading.problem, c.problem);
    }
}

}  // namespace
}  // namespace varnok
