#include <gtest/gtest.h>

#include <string>

#include "store/GbkCodec.h"

namespace varnok {
namespace {

struct ConversionCase {
    const char* label;
    std::string gbk;
    std::string utf8;
};

TEST(GbkCodec, ConvertsValidTextBothWays) {
    std::string longUtf8;
    std::string longGbk;
    for (int i = 0; i < 200; ++i) {  // longer than one conversion chunk in either direction
        longUtf8 += "中文";
        longGbk += "\xD6\xD0\xCE\xC4";
    }
    const ConversionCase cases[] = {
        {"ASCII is the same in both", "Ctrl|C|,", "Ctrl|C|,"},
        {"empty text", "", ""},
        {"Chinese double-byte characters", "\xD6\xD0\xCE\xC4", "中文"},
        {"mixed with ASCII", "A\xCA\xF3\xB1\xEA,b", "A鼠标,b"},
        {"the euro sign of code page 936", "\x80", "€"},
        {"long text", longGbk, longUtf8},
    };
    GbkCodec codec;
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(codec.ToUtf8(c.gbk), c.utf8);
        EXPECT_EQ(codec.ToGbk(c.utf8), c.gbk);
    }
}

TEST(GbkCodec, ReplacesBytesThatAreNotGbk) {
    const ConversionCase cases[] = {
        {"a stray byte", "A\xFFZ", "A\uFFFDZ"},
        {"an unassigned double-byte pair is one character", "\xAA\xA1Z", "\uFFFDZ"},
        {"a lead byte before a byte that cannot follow it", "\xD6,", "\uFFFD,"},
        {"a lead byte cut off at the end", "\xD6\xD0\xCE", "中\uFFFD"},
        {"only a lead byte", "\xD6", "\uFFFD"},
    };
    GbkCodec codec;
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(codec.ToUtf8(c.gbk), c.utf8);
    }
}

TEST(GbkCodec, ReplacesWhatGbkCannotHoldWithOneQuestionMarkEach) {
    const ConversionCase cases[] = {
        {"a character outside GBK", "a?b", "a\U0001F600b"},
        {"several in a row", "??\xD6\xD0", "\u00E5\u00F8中"},
        {"a malformed UTF-8 byte", "a?z", "a\xC0z"},
        {"a sequence cut off at the end", "\xD6\xD0?", "中\xE6\x96"},
        {"a private-use character, which some systems give GBK's empty cells", "a?", "a\uE000"},
    };
    GbkCodec codec;
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(codec.ToGbk(c.utf8), c.gbk);
    }
}

struct CutCase {
    const char* label;
    std::string gbk;
    std::size_t limit;
    std::size_t expected;
};

TEST(GbkCodec, CutNeverSplitsADoubleByteCharacter) {
    const CutCase cases[] = {
        {"shorter than the limit", "abc", 25, 3},
        {"ASCII at the limit", "abcdef", 4, 4},
        {"a double-byte character ending at the limit", "ab\xD6\xD0", 4, 4},
        {"a double-byte character across the limit", "abc\xD6\xD0", 4, 3},
        {"only double-byte characters, odd limit", "\xD6\xD0\xCE\xC4", 3, 2},
        {"trail bytes in the ASCII range are part of their character", "\x81\x40\x81\x40", 3, 2},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(GbkCodec::CutLength(c.gbk, c.limit), c.expected);
    }
}

}  // namespace
}  // namespace varnok
