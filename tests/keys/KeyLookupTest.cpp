#include <gtest/gtest.h>

#include <set>

#include "keys/CharacterTable.h"
#include "keys/KeyLookup.h"

namespace varnok {
namespace {

struct KeyCodeCase {
    std::uint8_t keyCode;
    bool found;
    bool isModifier;
    std::uint8_t value;
};

TEST(KeyLookup, KeyCodeToUsageTakesTheFirstRow) {
    const KeyCodeCase cases[] = {
        {0x1E, true, false, 0x04},  // a
        {0x1C, true, false, 0x28},  // Enter, not keypad Enter
        {0x00, true, false, 0x32},  // usage 0x32 before Power
        {0x35, true, false, 0x38},  // "/", not keypad "/"
        {0x1D, true, true, 0x01},   // left Ctrl, never right
        {0x38, true, true, 0x04},   // left Alt, never right
        {0x2A, true, true, 0x02},   // left Shift
        {0x36, true, true, 0x20},   // right Shift
        {0x5B, true, true, 0x08},   // left Windows
        {0x5C, true, true, 0x80},   // right Windows
        {0x54, true, false, 0x4C},  // Delete
        {0x53, true, false, 0x63},  // keypad .
        {0x8A, true, false, 0x53},  // NumLock
        {0x4C, true, false, 0x5D},  // keypad 5 with NumLock off
        {0x95, true, false, 0x5D},  // keypad 5
        {0x76, true, false, 0x94},  // Zenkaku/Hankaku
        {0x9A, false, false, 0},    // keypad * as captured: no usage
        {0xFF, false, false, 0},
    };
    for (const KeyCodeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "key code " << std::hex << int(c.keyCode));
        const auto usage = KeyCodeToUsage(c.keyCode);
        ASSERT_EQ(usage.has_value(), c.found);
        if (c.found) {
            EXPECT_EQ(usage->isModifier, c.isModifier);
            EXPECT_EQ(usage->value, c.value);
        }
    }
}

TEST(KeyLookup, NoKeyCodeGivesRightCtrlOrRightAltWhoseBitIsTheOnceFlag) {
    for (int keyCode = 0; keyCode <= 0xFF; ++keyCode) {
        const auto usage = KeyCodeToUsage(static_cast<std::uint8_t>(keyCode));
        if (usage && usage->isModifier) {
            EXPECT_EQ(usage->value & 0x50, 0) << "key code " << keyCode;
        }
    }
}

TEST(KeyLookup, UsageToKeyCodeTakesTheFirstRow) {
    const std::pair<std::uint8_t, std::optional<std::uint8_t>> cases[] = {
        {0x5D, 0x95},  // keypad 5, not the NumLock-off code
        {0x28, 0x1C}, {0x58, 0x1C}, {0x32, 0x00}, {0x66, 0x00},         {0xE6, 0x38},
        {0x4C, 0x54}, {0x63, 0x53}, {0x53, 0x8A}, {0x00, std::nullopt}, {0x67, std::nullopt},
    };
    for (const auto& [usage, keyCode] : cases) {
        EXPECT_EQ(UsageToKeyCode(usage), keyCode) << "usage " << int(usage);
    }
}

TEST(KeyLookup, CharacterLookupsPreferPlainAndFirstRows) {
    struct Case {
        char32_t character;
        bool found;
        bool shifted;
        std::uint8_t keyCode;
    };
    const Case cases[] = {
        {U'a', true, false, 0x1E},  {U'A', true, true, 0x1E},     {U'!', true, true, 0x02},
        {U'-', true, false, 0x4A},  {U'_', true, true, 0x0C},     {U'1', true, false, 0x02},
        {U'0', true, false, 0x0B},  {U'*', true, false, 0x7A},    {U'+', true, false, 0x4E},
        {U'\t', true, false, 0x0F}, {U'\x7F', true, false, 0x53}, {U'~', true, true, 0x29},
        {U'中', false, false, 0},   {U'\0', false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "character " << std::uint32_t(c.character));
        const auto key = CharToKeyCode(c.character);
        ASSERT_EQ(key.has_value(), c.found);
        if (c.found) {
            EXPECT_EQ(key->shifted, c.shifted);
            EXPECT_EQ(key->keyCode, c.keyCode);
        }
    }

    const std::tuple<std::uint8_t, bool, std::optional<char32_t>> reverse[] = {
        {0x0C, false, U'-'},  // what the keyboard types for the main-row key without Shift
        {0x0C, true, U'_'},         {0x91, false, U'1'}, {0x02, true, U'!'},
        {0x09, true, std::nullopt}, {0x1E, true, U'A'},  {0x00, false, std::nullopt},
    };
    for (const auto& [keyCode, shifted, character] : reverse) {
        EXPECT_EQ(KeyCodeToChar(keyCode, shifted), character)
            << "key code " << int(keyCode) << " shifted " << shifted;
    }
}

// Every character a string key can type must reach the keyboard as a plain usage and read
// back as itself; a character that fell out of the chain would silently vanish from strings.
TEST(KeyLookup, EveryTypableCharacterSurvivesTheWayToTheKeyboardAndBack) {
    std::set<char32_t> characters;
    for (const CharacterRow& row : CharacterTable) {
        characters.insert(row.plain);
        if (row.shifted != kNoCharacter) characters.insert(row.shifted);
    }
    EXPECT_EQ(characters.size(), 53u + 45u);  // keypad digits and main-row "-" repeat

    std::set<char32_t> withoutUsage;
    for (char32_t character : characters) {
        const auto key = CharToKeyCode(character);
        ASSERT_TRUE(key);
        const auto usage = KeyCodeToUsage(key->keyCode);
        if (!usage || usage->isModifier) {
            withoutUsage.insert(character);
            continue;
        }
        const auto keyCode = UsageToKeyCode(usage->value);
        ASSERT_TRUE(keyCode);
        EXPECT_EQ(KeyCodeToChar(*keyCode, key->shifted), character)
            << "character " << std::uint32_t(character);
    }
    EXPECT_TRUE(withoutUsage.empty());
}

TEST(KeyLookup, NamesOfUsagesAndCapturedKeys) {
    const std::pair<std::uint8_t, const char*> usages[] = {
        {0x59, "1"},      {0x5A, "2"},       {0x5B, "3"},    {0x5C, "4"},     {0x5D, "5"},
        {0x5E, "6"},      {0x5F, "7"},       {0x60, "8"},    {0x61, "9"},     {0x62, "0"},
        {0xE3, "Window"}, {0xE7, "Windows"}, {0xE4, "Ctrl"}, {0x32, ""},      {0x00, ""},
        {0x67, ""},       {0x4F, "→"},       {0x50, "←"},    {0x51, "↓"},     {0x52, "↑"},
        {0x63, "Del"},    {0x2A, "Back"},    {0x31, "|"},    {0x66, "Power"},
    };
    for (const auto& [usage, name] : usages) {
        EXPECT_EQ(UsageName(usage), name) << "usage " << int(usage);
    }

    const std::pair<std::uint8_t, std::optional<std::string>> captured[] = {
        {0x03, std::nullopt},  // the clearing key has no name
        {0x41, "A"},          {0x39, "9"},
        {0x5B, "Windows"},    {0x5C, "Windows"},
        {0x6A, "Num*"},       {0x2C, "PrintScreen"},
        {0xDC, "\\"},         {0xBB, "+"},
        {0x90, "Num"},        {0xF0, "Zenkaku/Hankaku"},
        {0x0D, "Ret"},        {0x40, std::nullopt},
        {0xFF, std::nullopt},
    };
    for (const auto& [virtualKey, name] : captured) {
        EXPECT_EQ(CaptureName(virtualKey), name) << "virtual key " << int(virtualKey);
    }
}

}  // namespace
}  // namespace varnok
