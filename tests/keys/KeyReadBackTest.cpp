#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/FunctionModeNames.h"
#include "keys/KeyReadBack.h"
#include "keys/StringPayloadAssembler.h"

namespace varnok {
namespace {

TEST(KeyReadBack, ClassifiesTheFirstPage) {
    const struct {
        std::uint8_t slot;
        ReadBackData data;
        ReadBackKind kind;
    } cases[] = {
        {1, {0xFF, 0x08, 0x01, 0x02, 0x03, 0x04, 0x05}, ReadBackKind::Empty},  // FF wins
        {1, {0xFF, 0, 0, 0, 0, 0, 0}, ReadBackKind::Empty},
        {1, {0x04, 0x08, 0x00, 0x04, 0xAB, 0x1E, 0}, ReadBackKind::String},
        {1, {0x81, 0x08, 0, 0, 0, 0, 0}, ReadBackKind::String},  // the string test comes first
        {1, {0x00, 0x08, 0, 0, 0, 0, 0}, ReadBackKind::String},
        {1, {0x81, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Mouse},
        {0, {0x82, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Mouse},
        {1, {0x80, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Mouse},
        // A mouse click saved in a Once row: the Once flag joins the button code.
        {1, {0xC1, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Mouse},
        {6, {0xC2, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Mouse},
        // Without FF at the end the same bits are a chord: right Windows alone, with left
        // Ctrl or left Shift, Normal or Once, in a row or in slot 0 (never Once: C1 there is
        // Ctrl + right Alt + right Windows).
        {1, {0x80, 0, 0, 0, 0, 0, 0}, ReadBackKind::Keyboard},
        {0, {0x81, 0, 0, 0, 0, 0, 0}, ReadBackKind::Keyboard},
        {6, {0xC2, 0, 0, 0, 0, 0, 0}, ReadBackKind::Keyboard},
        {3, {0xC0, 0, 0, 0, 0xFF, 0x04, 0x05}, ReadBackKind::Keyboard},
        {0, {0xC1, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Keyboard},
        {1, {0xC1, 0, 0x04, 0, 0, 0, 0}, ReadBackKind::Keyboard},
        {1, {0x05, 0x00, 0x3D, 0, 0, 0, 0}, ReadBackKind::Keyboard},
        {1, {0x00, 0, 0, 0, 0, 0, 0}, ReadBackKind::Keyboard},
        {1, {0x41, 0, 0, 0, 0, 0, 0xFF}, ReadBackKind::Keyboard},  // Once Ctrl, no mouse code
    };
    for (const auto& [slot, data, kind] : cases) {
        EXPECT_EQ(ClassifyReadBack(slot, data), kind)
            << int(slot) << ": " << int(data[0]) << " " << int(data[1]) << " " << int(data[2]);
    }
}

TEST(KeyReadBack, InterpretsKeyboardAndMouseDefinitions) {
    struct Case {
        std::uint8_t slot;
        ReadBackData data;
        std::string text;
        KeyReport report;
        std::optional<std::int32_t> mode;
    };
    const Case cases[] = {
        {3,
         {0x44, 0x00, 0x3D, 0, 0, 0, 0},
         "Close Window",
         {0x01, 0x04, 0x00, 0x3D, 0, 0, 0, 0},
         kOnceMode},
        {6,
         {0x01, 0x00, 0x06, 0, 0, 0, 0},
         "Ctrl|C|,",
         {0x01, 0x01, 0x00, 0x06, 0, 0, 0, 0},
         kNormalMode},
        {0,
         {0x44, 0x00, 0x3D, 0, 0, 0, 0},
         "Alt|Alt|F4|,",
         {0x01, 0x44, 0x00, 0x3D, 0, 0, 0, 0},
         std::nullopt},  // slot 0 has no mode and keeps the bit
        {2,
         {0x82, 0, 0, 0, 0, 0, 0xFF},
         "Mouse Right  Click",
         {0x04, 0x82, 0, 0, 0, 0, 0, 0xFF},
         kNormalMode},  // a row holding a mouse click acts as long as it is held
        {4,
         {0x80, 0, 0, 0, 0, 0, 0xFF},
         "Mouse Double Click",
         {0x04, 0x80, 0, 0, 0, 0, 0, 0xFF},
         kNormalMode},
        {0,
         {0x81, 0, 0, 0, 0, 0, 0xFF},
         "Mouse Left   Click",
         {0x04, 0x81, 0, 0, 0, 0, 0, 0xFF},
         std::nullopt},
        {1,
         {0xC1, 0, 0, 0, 0, 0, 0xFF},
         "Mouse Left   Click",
         {0x04, 0x81, 0, 0, 0, 0, 0, 0xFF},
         kOnceMode},  // a mouse click saved in a Once row: the click, acting once
        {5,
         {0xC1, 0, 0x04, 0, 0, 0, 0},
         "Ctrl|Windows|A|,",
         {0x01, 0x81, 0, 0x04, 0, 0, 0, 0},
         kOnceMode},  // with a key it is a chord
        {2,
         {0xC0, 0, 0, 0, 0, 0, 0},
         "Windows|,",
         {0x01, 0x80, 0, 0, 0, 0, 0, 0},
         kOnceMode},  // right Windows alone, acting once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const KeyReadBack key = InterpretKeyReadBack(c.slot, c.data);
        EXPECT_EQ(key.text, c.text);
        EXPECT_EQ(key.report, c.report);
        EXPECT_EQ(key.functionMode, c.mode);
    }
}

TEST(KeyReadBack, AssemblesStringPayloadsWithinTheirBuffer) {
    struct Case {
        std::string name;
        std::vector<ReadBackData> pages;  // the first page, then what further reads return
        std::size_t reads;                // pages taken
        std::size_t payloadSize;
        std::string text;
    };
    // After the five bytes of the first page a continuation starts mid-pair (A) or on a
    // marker (B), turn about.
    const ReadBackData first = {0xFF, 0x08, 0x00, 0x04, 0x00, 0x05, 0x00};  // a b + marker
    const ReadBackData a = {0x06, 0x00, 0x07, 0x00, 0x08, 0x00, 0x09};      // c d e f
    const ReadBackData b = {0x00, 0x0A, 0x00, 0x0B, 0x00, 0x0C, 0x00};      // g h i + marker
    auto declaring = [&](std::uint8_t length) {
        ReadBackData page = first;
        page[0] = length;
        return page;
    };
    const Case cases[] = {
        {"fits the first page", {{0x04, 0x08, 0x00, 0x04, 0xAB, 0x1E, 0x77}}, 1, 4, "a!"},
        {"empty string", {{0x00, 0x08, 0x00, 0x04, 0, 0, 0}}, 1, 0, ""},
        {"12 bytes: one further read", {declaring(12), a, b}, 2, 12, "abcdef"},
        {"28 bytes: four further reads", {declaring(28), a, b, a, b, a}, 5, 28, "abcdefghicdefg"},
        {"255 declared: five further reads, 28 bytes kept",
         {first, a, b, a, b, a, b},
         6,
         28,
         "abcdefghicdefg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StringPayloadAssembler assembler(c.pages.front());
        std::size_t reads = 1;
        while (assembler.WantsContinuation()) {
            ASSERT_LT(reads, c.pages.size());
            assembler.AddContinuation(c.pages[reads++]);
        }
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(assembler.Payload().size(), c.payloadSize);
        EXPECT_EQ(assembler.Text(), c.text);
    }
}

}  // namespace
}  // namespace varnok
