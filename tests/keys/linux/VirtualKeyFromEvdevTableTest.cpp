#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "keys/KeyLookup.h"
#include "keys/linux/EvdevToSet1Table.h"
#include "keys/linux/VirtualKeyFromEvdevTable.h"

namespace varnok {
namespace {

TEST(VirtualKeyFromEvdevTable, ListsTheKeysOfTheSet1TableInItsOrder) {
    ASSERT_EQ(VirtualKeyFromEvdevTable.size(), EvdevToSet1Table.size());
    for (std::size_t i = 0; i < EvdevToSet1Table.size(); ++i) {
        EXPECT_EQ(VirtualKeyFromEvdevTable[i].evdevCode, EvdevToSet1Table[i].evdevCode)
            << "row " << i;
    }
}

// Letters and digits are named by the characters printed on the US keyboard, row by row.
TEST(VirtualKeyFromEvdevTable, CharacterKeysFollowTheUsPositions) {
    const std::vector<std::pair<std::uint16_t, std::string_view>> rows = {
        {KEY_1, "1234567890"}, {KEY_Q, "QWERTYUIOP"}, {KEY_A, "ASDFGHJKL"}, {KEY_Z, "ZXCVBNM"}};
    for (const auto& [first, characters] : rows) {
        for (std::size_t i = 0; i < characters.size(); ++i) {
            EXPECT_EQ(VirtualKeyOfEvdevKey(first + i), std::uint8_t(characters[i]))
                << characters[i];
        }
    }
    const std::vector<std::pair<std::uint16_t, std::uint8_t>> punctuation = {
        {KEY_GRAVE, 0xC0},     {KEY_MINUS, 0xBD},      {KEY_EQUAL, 0xBB},
        {KEY_LEFTBRACE, 0xDB}, {KEY_RIGHTBRACE, 0xDD}, {KEY_BACKSLASH, 0xDC},
        {KEY_SEMICOLON, 0xBA}, {KEY_APOSTROPHE, 0xDE}, {KEY_COMMA, 0xBC},
        {KEY_DOT, 0xBE},       {KEY_SLASH, 0xBF},      {KEY_102ND, 0xE2},
    };
    for (const auto& [evdevCode, virtualKey] : punctuation) {
        EXPECT_EQ(VirtualKeyOfEvdevKey(evdevCode), virtualKey) << "evdev " << evdevCode;
    }
    const std::uint16_t keypadDigits[] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,
                                          KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(VirtualKeyOfEvdevKey(keypadDigits[digit]), 0x60 + digit) << "keypad " << digit;
    }
    for (int f = 0; f < 12; ++f) {
        const std::uint16_t evdevCode = f < 10 ? KEY_F1 + f : KEY_F11 + (f - 10);
        EXPECT_EQ(VirtualKeyOfEvdevKey(evdevCode), 0x70 + f) << "F" << f + 1;
    }
}

// Windows tells these keys apart only by their scan bytes; every other key has a virtual key
// of its own.
TEST(VirtualKeyFromEvdevTable, KeysShareAVirtualKeyOnlyWhereWindowsMergesThem) {
    const std::set<std::set<std::uint16_t>> expectedSharing = {
        {KEY_LEFTSHIFT, KEY_RIGHTSHIFT}, {KEY_LEFTCTRL, KEY_RIGHTCTRL}, {KEY_LEFTALT, KEY_RIGHTALT},
        {KEY_ENTER, KEY_KPENTER},        {KEY_102ND, KEY_RO},           {KEY_BACKSLASH, KEY_YEN},
    };
    std::map<std::uint8_t, std::set<std::uint16_t>> keysOfVirtualKey;
    for (const EvdevVirtualKeyRow& row : VirtualKeyFromEvdevTable) {
        keysOfVirtualKey[row.virtualKey].insert(row.evdevCode);
    }
    std::set<std::set<std::uint16_t>> sharing;
    for (const auto& [virtualKey, keys] : keysOfVirtualKey) {
        if (keys.size() > 1) sharing.insert(keys);
    }
    EXPECT_EQ(sharing, expectedSharing);
}

// The capture names a key by its virtual key, after replacing the virtual keys of the Japanese
// keys by codes of their own chosen by scan byte. Only the ISO key beside left Shift stays
// unnamed, as it does on Windows.
TEST(VirtualKeyFromEvdevTable, EveryKeyButTheIsoExtraKeyIsNamedByTheCapture) {
    const std::set<std::uint8_t> replacedByScanByte = {0x7D, 0x79, 0x70, 0x7B, 0x73, 0x76};
    std::set<std::uint16_t> unnamed;
    for (std::size_t i = 0; i < VirtualKeyFromEvdevTable.size(); ++i) {
        if (replacedByScanByte.contains(EvdevToSet1Table[i].scanByte)) continue;
        if (!CaptureName(VirtualKeyFromEvdevTable[i].virtualKey)) {
            unnamed.insert(VirtualKeyFromEvdevTable[i].evdevCode);
        }
    }
    EXPECT_EQ(unnamed, std::set<std::uint16_t>{KEY_102ND});
}

TEST(VirtualKeyFromEvdevTable, FindsTheLeftOrMainKeyOfAVirtualKey) {
    const std::vector<std::pair<std::uint8_t, std::optional<std::uint16_t>>> cases = {
        {0x10, KEY_LEFTSHIFT},
        {0x11, KEY_LEFTCTRL},
        {0x12, KEY_LEFTALT},
        {0x0D, KEY_ENTER},
        {0xDC, KEY_BACKSLASH},
        {0xE2, KEY_102ND},
        {0x5C, KEY_RIGHTMETA},
        {0x24, KEY_HOME},
        {0x67, KEY_KP7},
        {0x03, {}},
        {0x0C, {}},
        {0xFF, {}},
    };
    for (const auto& [virtualKey, evdevCode] : cases) {
        EXPECT_EQ(EvdevKeyOfVirtualKey(virtualKey), evdevCode) << "VK " << int(virtualKey);
    }
    EXPECT_EQ(VirtualKeyOfEvdevKey(KEY_VOLUMEUP), std::nullopt);
}

}  // namespace
}  // namespace varnok
