#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keys/StringPayload.h"
#include "keys/TypableString.h"

namespace varnok {
namespace {

// What a keyboard with the US layout types for a marker and usage pair, written from the HID
// usage tables: the reference the payload bytes are checked against. 0 when the pair types no
// printable character.
char UsLayoutTypes(std::uint8_t marker, std::uint8_t usage) {
    const bool shift = marker == kShiftedMarker;
    if (usage >= 0x04 && usage <= 0x1D) {
        return static_cast<char>((shift ? 'A' : 'a') + (usage - 0x04));
    }
    if (usage >= 0x1E && usage <= 0x27) {
        return (shift ? "!@#$%^&*()" : "1234567890")[usage - 0x1E];
    }
    struct Key {
        std::uint8_t usage;
        char plain;
        char shifted;
    };
    const Key keys[] = {
        {0x2C, ' ', 0},   {0x2D, '-', '_'},  {0x2E, '=', '+'}, {0x2F, '[', '{'},
        {0x30, ']', '}'}, {0x31, '\\', '|'}, {0x33, ';', ':'}, {0x34, '\'', '"'},
        {0x35, '`', '~'}, {0x36, ',', '<'},  {0x37, '.', '>'}, {0x38, '/', '?'},
        {0x54, '/', 0},   {0x55, '*', 0},    {0x56, '-', 0},   {0x57, '+', 0},
    };
    for (const Key& key : keys) {
        if (key.usage == usage) return shift ? key.shifted : key.plain;
    }
    return 0;
}

// Every printable ASCII character is on a US keyboard: the string key must type each one
// as itself and read it back as itself, never drop it.
TEST(TypableString, EveryPrintableAsciiCharacterIsTypedAsItself) {
    for (char character = 0x20; character <= 0x7E; ++character) {
        const std::string text(1, character);
        SCOPED_TRACE(text);
        const TypableString check = CheckTypableString(text);
        EXPECT_TRUE(check.TypesWholeText());
        EXPECT_EQ(check.typed, text);
        const std::vector<std::uint8_t> payload = EncodeStringPayload(text);
        ASSERT_EQ(payload.size(), 2u);
        EXPECT_TRUE(payload[0] == kPlainMarker || payload[0] == kShiftedMarker);
        EXPECT_EQ(UsLayoutTypes(payload[0], payload[1]), character);
        EXPECT_EQ(DecodeStringPayload(payload), text);
    }
}

TEST(TypableString, RefusesWhatTheKeyboardCannotTypeAndSaysWhy) {
    struct Case {
        std::string text;
        std::string typed;
        std::optional<StringRefusal> refusal;
        std::string refused;
        std::size_t index;
    };
    using enum StringRefusal;
    const Case cases[] = {
        {"Hello World_1", "Hello World_1", std::nullopt, "", 0},
        {"", "", std::nullopt, "", 0},
        {"abcdefghijklmn", "abcdefghijklmn", std::nullopt, "", 0},
        {"abcdefghijklmnO", "abcdefghijklmn", PastCharacterLimit, "O", 14},
        {"Hi 中文", "Hi ", NoKeyForCharacter, "中", 3},
        {"中abcdefghijklmnop", "abcdefghijklmn", NoKeyForCharacter, "中", 0},  // first wins
        {"abcdefghijklmnö", "abcdefghijklmn", NoKeyForCharacter, "ö", 14},
        {"a\nb", "ab", NoKeyForCharacter, "U+000A", 1},
        {"\x01", "", NoKeyForCharacter, "U+0001", 0},
        {"a\xFF"
         "b",
         "ab", NoKeyForCharacter, "\xEF\xBF\xBD", 1},
        {"\xC0\xAF", "", NoKeyForCharacter, "\xEF\xBF\xBD", 0},  // an overlong "/" is no "/"
        {"\xE4\xB8"
         "c",
         "c", NoKeyForCharacter, "\xEF\xBF\xBD", 0},                 // cut-off sequence
        {"\xED\xA0\x80", "", NoKeyForCharacter, "\xEF\xBF\xBD", 0},  // a surrogate
        {"\t\x1B\x7F", "\t\x1B\x7F", std::nullopt, "", 0},           // Tab, Esc and Del are keys
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TypableString check = CheckTypableString(c.text);
        EXPECT_EQ(check.typed, c.typed);
        EXPECT_EQ(check.refusal, c.refusal);
        EXPECT_EQ(check.refusedCharacter, c.refused);
        EXPECT_EQ(check.refusedIndex, c.index);
        // What the check says the keyboard types is what the saved payload reads back as.
        EXPECT_EQ(DecodeStringPayload(EncodeStringPayload(c.text)), c.typed);
    }
}

TEST(TypableString, AnEditIsTakenWhenTheResultIsTypedOrWhenItOnlyRemoves) {
    struct Case {
        std::string before;
        std::string after;
        bool taken;
    };
    const Case cases[] = {
        {"Hello", "Hello!", true},
        {"Hello", "Hello中", false},
        {"Hello", "中Hello", false},
        {"abcdefghijklmn", "abcdefghijklmnX", false},  // a 15th character
        {"abcdefghijklmn", "Xabcdefghijklmn", false},  // even when it goes in first
        {"abcdefghijklmn", "abcdefghijklm", true},
        {"Mouse Left   Click", "Mouse Left   Clic", true},  // too long as given: may shorten
        {"Mouse Left   Click", "Mouse Left   Clickx", false},
        {"Mouse Left   Click", "Mouse Left  Click", true},
        {"Mouse Left   Click", "Mouse  Left   Click", false},
        {"Hi 中文", "Hi 文", true},
        {"Hi 中文", "Hi", true},
        {"Hi 中文", "Hi 中文中", false},
        {"Hi 中文", "Hi 中x", false},  // a replacement is no removal
        {"abc", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TakesStringEdit(c.before, c.after), c.taken) << c.before << " -> " << c.after;
    }
}

TEST(TypableString, ReasonsInBothLanguages) {
    struct Case {
        std::string text;
        std::int32_t language;
        std::string reason;
    };
    const Case cases[] = {
        {"a中", 0, "The keyboard has no key for \"中\"."},
        {"a中", 1, "键盘上没有能输入\"中\"的键。"},
        {"abcdefghijklmnop", 0, "A string key holds at most 14 characters."},
        {"abcdefghijklmnop", 1, "字符串键最多只能有14个字符。"},
        {"abc", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StringRefusalText(CheckTypableString(c.text), c.language), c.reason) << c.text;
    }
}

}  // namespace
}  // namespace varnok
