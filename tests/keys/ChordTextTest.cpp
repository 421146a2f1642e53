#include <gtest/gtest.h>

#include "keys/ChordText.h"
#include "keys/KeyLookup.h"

namespace varnok {
namespace {

TEST(ChordText, WrittenChordsBecomeTheReportAndTextCaptureRecords) {
    struct Case {
        std::string_view written;
        KeyReport report;
        std::string_view text;
    };
    const Case cases[] = {
        {"Ctrl|C|,", {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,"},
        {"Ctrl|C", {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,"},
        {" ctrl + c ", {0x01, 0x01, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00}, "Ctrl|C|,"},
        {"Ctrl|Alt|F4|,", {0x01, 0x05, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00}, "Ctrl|Alt|F4|,"},
        // Usages keep the order written; modifiers are bits wherever they stand.
        {"B+Shift+A", {0x01, 0x02, 0x00, 0x05, 0x04, 0x00, 0x00, 0x00}, "B|Shift|A|,"},
        {"A+B+C+D+E", {0x01, 0x00, 0x00, 0x04, 0x05, 0x06, 0x07, 0x08}, "A|B|C|D|E|,"},
        {"Ctrl", {0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "Ctrl|,"},
        // The separators as keys.
        {"Ctrl++", {0x01, 0x01, 0x00, 0x2E, 0x00, 0x00, 0x00, 0x00}, "Ctrl|+|,"},
        {"++Ctrl", {0x01, 0x01, 0x00, 0x2E, 0x00, 0x00, 0x00, 0x00}, "+|Ctrl|,"},
        {"Ctrl+,", {0x01, 0x01, 0x00, 0x36, 0x00, 0x00, 0x00, 0x00}, "Ctrl|,|,"},
        {"Ctrl|,|,", {0x01, 0x01, 0x00, 0x36, 0x00, 0x00, 0x00, 0x00}, "Ctrl|,|,"},
        {",", {0x01, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x00}, ",|,"},
        // Shared names: main block, keypad with "Num"; left before right.
        {"-", {0x01, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x00, 0x00}, "-|,"},
        {"Num-", {0x01, 0x00, 0x00, 0x56, 0x00, 0x00, 0x00, 0x00}, "-|,"},
        {"Num+|Num.", {0x01, 0x00, 0x00, 0x57, 0x63, 0x00, 0x00, 0x00}, "+|.|,"},
        {"/", {0x01, 0x00, 0x00, 0x38, 0x00, 0x00, 0x00, 0x00}, "/|,"},
        {"Windows+E", {0x01, 0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00}, "Windows|E|,"},
        // Keys whose key code is not their scan byte.
        {"Num1", {0x01, 0x00, 0x00, 0x59, 0x00, 0x00, 0x00, 0x00}, "Num1|,"},
        {"Num", {0x01, 0x00, 0x00, 0x53, 0x00, 0x00, 0x00, 0x00}, "Num|,"},
        {"Del", {0x01, 0x00, 0x00, 0x4C, 0x00, 0x00, 0x00, 0x00}, "Del|,"},
        {"Zenkaku/Hankaku", {0x01, 0x00, 0x00, 0x94, 0x00, 0x00, 0x00, 0x00}, "Zenkaku/Hankaku|,"},
        // A lone PrintScreen as the window writes it.
        {"PrintScreen,", {0x01, 0x00, 0x00, 0x46, 0x00, 0x00, 0x00, 0x00}, "PrintScreen,"},
        // Names a read-back shows.
        {"Ctrl|Enter|", {0x01, 0x01, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00}, "Ctrl|Ret|,"},
        {"Window+PageUp", {0x01, 0x08, 0x00, 0x4B, 0x00, 0x00, 0x00, 0x00}, "Windows|PgUp|,"},
        {"Alt+Delete", {0x01, 0x04, 0x00, 0x4C, 0x00, 0x00, 0x00, 0x00}, "Alt|Del|,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        std::string error;
        const auto chord = ParseChordText(c.written, error);
        ASSERT_TRUE(chord.has_value()) << error;
        EXPECT_EQ(chord->report, c.report);
        EXPECT_EQ(chord->text, c.text);
    }
}

TEST(ChordText, WhatCannotBeEncodedIsRefusedWithTheReason) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "no key is named"},
        {"|,", "a key name is missing"},
        {"Ctrl||C", "missing between"},
        {"Ctrl+", "missing after"},
        {"Ctrl+Foo", "\"Foo\" is no key name"},
        {"Num*", "cannot send Num*"},
        {"Ctrl+NumIns", "cannot send NumIns"},
        {"Ctrl+A+ctrl", "Ctrl is named twice"},
        {"A+B+C+D+E+F", "at most five keys"},
        {"Ctrl++A", "\"+\" must stand alone"},
    };
    for (const auto& [written, reason] : cases) {
        SCOPED_TRACE(written);
        std::string error;
        EXPECT_FALSE(ParseChordText(written, error).has_value());
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST(ChordText, CommandItemsAreFoundByTheirNamesWithAnySpacing) {
    const std::pair<std::string_view, std::optional<std::size_t>> cases[] = {
        {"Mouse Left   Click", 1},
        {"mouse left click", 1},
        {" Mouse  Double Click ", 3},
        {"Close Window", 4},
        {"My Computer", 5},
        {"LOG OFF", 6},
        {"Default", 0},
        {"Logoff", std::nullopt},
        {"Mouse", std::nullopt},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(CommandItemByName(name), index) << name;
    }
}

}  // namespace
}  // namespace varnok
