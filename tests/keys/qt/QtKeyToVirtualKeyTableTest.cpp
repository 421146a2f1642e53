#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <algorithm>
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

// The two tables were written apart: every Qt key must give the virtual key of the physical
// key that types it on a US keyboard. Keypad rows are checked with NumLock on (keypad 7 is
// Key_7) and off (keypad 7 is Key_Home, the virtual key of the Home key).
TEST(QtKeyToVirtualKeyTable, EveryKeyAgreesWithThePhysicalKeyThatTypesIt) {
    struct Pair {
        int key;
        bool onKeypad;
        std::uint16_t evdevCode;
    };
    std::vector<Pair> pairs = {
        {Qt::Key_Asterisk, true, KEY_KPASTERISK},
        {Qt::Key_Plus, true, KEY_KPPLUS},
        {Qt::Key_Minus, true, KEY_KPMINUS},
        {Qt::Key_Period, true, KEY_KPDOT},
        {Qt::Key_Comma, true, KEY_KPDOT},
        {Qt::Key_Slash, true, KEY_KPSLASH},
        {Qt::Key_Enter, true, KEY_KPENTER},
        {Qt::Key_NumLock, false, KEY_NUMLOCK},
        {Qt::Key_Insert, true, KEY_INSERT},
        {Qt::Key_Delete, true, KEY_DELETE},
        {Qt::Key_Home, true, KEY_HOME},
        {Qt::Key_End, true, KEY_END},
        {Qt::Key_PageUp, true, KEY_PAGEUP},
        {Qt::Key_PageDown, true, KEY_PAGEDOWN},
        {Qt::Key_Left, true, KEY_LEFT},
        {Qt::Key_Up, true, KEY_UP},
        {Qt::Key_Right, true, KEY_RIGHT},
        {Qt::Key_Down, true, KEY_DOWN},
        {Qt::Key_Escape, false, KEY_ESC},
        {Qt::Key_Print, false, KEY_SYSRQ},
        {Qt::Key_SysReq, false, KEY_SYSRQ},
        {Qt::Key_ScrollLock, false, KEY_SCROLLLOCK},
        {Qt::Key_Pause, false, KEY_PAUSE},
        {Qt::Key_Tab, false, KEY_TAB},
        {Qt::Key_Backtab, false, KEY_TAB},
        {Qt::Key_Backspace, false, KEY_BACKSPACE},
        {Qt::Key_Return, false, KEY_ENTER},
        {Qt::Key_Space, false, KEY_SPACE},
        {Qt::Key_CapsLock, false, KEY_CAPSLOCK},
        {Qt::Key_Shift, false, KEY_LEFTSHIFT},
        {Qt::Key_Control, false, KEY_LEFTCTRL},
        {Qt::Key_Alt, false, KEY_LEFTALT},
        {Qt::Key_AltGr, false, KEY_RIGHTALT},
        {Qt::Key_Meta, false, KEY_LEFTMETA},
        {Qt::Key_Super_L, false, KEY_LEFTMETA},
        {Qt::Key_Super_R, false, KEY_RIGHTMETA},
        {Qt::Key_Menu, false, KEY_COMPOSE},
        {Qt::Key_Muhenkan, false, KEY_MUHENKAN},
        {Qt::Key_Henkan, false, KEY_HENKAN},
        {Qt::Key_Hiragana_Katakana, false, KEY_KATAKANAHIRAGANA},
        {Qt::Key_Zenkaku_Hankaku, false, KEY_ZENKAKUHANKAKU},
    };
    const std::uint16_t keypadDigits[] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,
                                          KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};
    for (int digit = 0; digit < 10; ++digit) {
        pairs.push_back({Qt::Key_0 + digit, true, keypadDigits[digit]});
    }
    for (int f = 0; f < 12; ++f) {
        pairs.push_back(
            {Qt::Key_F1 + f, false, std::uint16_t(f < 10 ? KEY_F1 + f : KEY_F11 + f - 10)});
    }
    for (const Pair& pair : pairs) {
        EXPECT_EQ(VirtualKeyOfQtKey(pair.key, pair.onKeypad), VirtualKeyOfEvdevKey(pair.evdevCode))
            << "Qt key 0x" << std::hex << pair.key << (pair.onKeypad ? " on the keypad" : "");
    }

    // Together with the letters and symbols above, the pairs cover every row; Clear exists
    // only as keypad 5 with NumLock off.
    for (const QtKeyVirtualKeyRow& row : QtKeyToVirtualKeyTable) {
        const bool character = row.key < 0x80;
        const bool paired = std::any_of(pairs.begin(), pairs.end(),
                                        [&](const Pair& p) { return p.key == row.key; });
        EXPECT_TRUE(character || paired || row.key == Qt::Key_Clear)
            << "Qt key 0x" << std::hex << row.key << " unchecked";
    }
    EXPECT_EQ(VirtualKeyOfQtKey(Qt::Key_Clear, true), 0x0C);
    for (const int unknown :
         {int(Qt::Key_VolumeUp), int(Qt::Key_unknown), int(Qt::Key_Eacute), 0}) {
        EXPECT_EQ(VirtualKeyOfQtKey(unknown, false), std::nullopt) << std::hex << unknown;
    }
}

}  // namespace
}  // namespace varnok
