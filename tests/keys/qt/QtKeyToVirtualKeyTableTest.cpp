#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <string_view>
#include <vector>

#include "keys/linux/VirtualKeyFromEvdevTable.h"
#include "keys/qt/QtKeyToVirtualKeyTable.h"

namespace varnok {
namespace {

// A later row for the same key would never be found; a row must win its own lookups.
TEST(QtKeyToVirtualKeyTable, EveryRowIsTheOneItsLookupFinds) {
    for (const QtKeyVirtualKeyRow& row : QtKeyToVirtualKeyTable) {
        for (const bool onKeypad : {false, true}) {
            const bool applies =
                row.where == KeypadMatch::Either || (row.where == KeypadMatch::Keypad) == onKeypad;
            if (!applies) continue;
            EXPECT_EQ(VirtualKeyOfQtKey(row.key, onKeypad), row.virtualKey)
                << "Qt key 0x" << std::hex << row.key << (onKeypad ? " on the keypad" : "");
        }
    }
}

// Every character of the US keyboard's symbol keys, plain and shifted, gives the virtual key of
// the key it is printed on. Qt's codes for ASCII symbols are the characters themselves.
TEST(QtKeyToVirtualKeyTable, UsSymbolsGiveTheVirtualKeyOfTheirKey) {
    constexpr std::string_view plain = "`1234567890-=[]\\;',./";
    constexpr std::string_view shifted = "~!@#$%^&*()_+{}|:\"<>?";
    const std::vector<std::uint16_t> keys = {
        KEY_GRAVE, KEY_1,         KEY_2,          KEY_3,         KEY_4,         KEY_5,
        KEY_6,     KEY_7,         KEY_8,          KEY_9,         KEY_0,         KEY_MINUS,
        KEY_EQUAL, KEY_LEFTBRACE, KEY_RIGHTBRACE, KEY_BACKSLASH, KEY_SEMICOLON, KEY_APOSTROPHE,
        KEY_COMMA, KEY_DOT,       KEY_SLASH};
    ASSERT_EQ(plain.size(), keys.size());
    ASSERT_EQ(shifted.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto expected = VirtualKeyOfEvdevKey(keys[i]);
        EXPECT_EQ(VirtualKeyOfQtKey(plain[i], false), expected) << plain[i];
        EXPECT_EQ(VirtualKeyOfQtKey(shifted[i], false), expected) << shifted[i];
    }
    for (int letter = 0; letter < 26; ++letter) {
        EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_A + letter, false), 0x41 + letter);
    }
}

TEST(QtKeyToVirtualKeyTable, KeypadKeysFollowNumLockAsQtReportsIt) {
    struct Case {
        int key;
        bool onKeypad;
        std::optional<std::uint8_t> virtualKey;
    };
    const std::vector<Case> cases = {
        {Qt::Key_5, false, 0x35},
        {Qt::Key_5, true, 0x65},
        {Qt::Key_0, true, 0x60},
        {Qt::Key_9, true, 0x69},
        {Qt::Key_Asterisk, false, 0x38},
        {Qt::Key_Asterisk, true, 0x6A},
        {Qt::Key_Plus, false, 0xBB},
        {Qt::Key_Plus, true, 0x6B},
        {Qt::Key_Minus, false, 0xBD},
        {Qt::Key_Minus, true, 0x6D},
        {Qt::Key_Period, false, 0xBE},
        {Qt::Key_Period, true, 0x6E},
        {Qt::Key_Comma, false, 0xBC},
        {Qt::Key_Comma, true, 0x6E},
        {Qt::Key_Slash, false, 0xBF},
        {Qt::Key_Slash, true, 0x6F},
        {Qt::Key_Enter, true, 0x0D},
        {Qt::Key_Return, false, 0x0D},
        // NumLock off
        {Qt::Key_Insert, true, 0x2D},
        {Qt::Key_End, true, 0x23},
        {Qt::Key_Down, true, 0x28},
        {Qt::Key_PageDown, true, 0x22},
        {Qt::Key_Left, true, 0x25},
        {Qt::Key_Clear, true, 0x0C},
        {Qt::Key_Right, true, 0x27},
        {Qt::Key_Home, true, 0x24},
        {Qt::Key_Up, true, 0x26},
        {Qt::Key_PageUp, true, 0x21},
        {Qt::Key_Delete, true, 0x2E},
        // Keys Windows has no virtual key for
        {Qt::Key_VolumeUp, false, {}},
        {Qt::Key_unknown, false, {}},
        {Qt::Key_Eacute, false, {}},
        {0, false, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VirtualKeyOfQtKey(c.key, c.onKeypad), c.virtualKey)
            << "Qt key 0x" << std::hex << c.key << (c.onKeypad ? " on the keypad" : "");
    }
}

// A virtual key no physical key gives would be a typo; Clear exists only as keypad 5 with
// NumLock off.
TEST(QtKeyToVirtualKeyTable, EveryVirtualKeyIsGivenByAKeyOfTheKeyboard) {
    for (const QtKeyVirtualKeyRow& row : QtKeyToVirtualKeyTable) {
        if (row.key == Qt::Key_Clear) continue;
        EXPECT_TRUE(EvdevKeyOfVirtualKey(row.virtualKey).has_value())
            << "Qt key 0x" << std::hex << row.key << " VK 0x" << int(row.virtualKey);
    }
}

}  // namespace
}  // namespace varnok
