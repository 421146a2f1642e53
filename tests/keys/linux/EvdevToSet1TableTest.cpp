#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <map>
#include <set>
#include <vector>

#include "keys/linux/EvdevToSet1Table.h"

namespace varnok {
namespace {

using enum Set1Prefix;

bool InKernelBaseBlock(const EvdevSet1Row& row) {
    return row.prefix == None && row.evdevCode <= KEY_F12 && row.evdevCode != KEY_ZENKAKUHANKAKU;
}

TEST(EvdevToSet1Table, ListsEachKeyOnce) {
    std::set<std::uint16_t> keys;
    for (const EvdevSet1Row& row : EvdevToSet1Table) {
        EXPECT_NE(row.evdevCode, 0) << "empty row";
        EXPECT_TRUE(keys.insert(row.evdevCode).second) << "evdev " << row.evdevCode;
    }
}

// The kernel numbered the keys of the original keyboard by their set-1 bytes, so each of them
// checks itself; the keys outside that block are listed with the bytes a set-1 reference gives.
TEST(EvdevToSet1Table, EveryKeyHasItsSet1Byte) {
    const std::map<std::uint16_t, EvdevSet1Row> outsideBaseBlock = {
        {KEY_SYSRQ, {KEY_SYSRQ, 0x37, E0}},
        {KEY_PAUSE, {KEY_PAUSE, 0x45, E1}},
        {KEY_LEFTMETA, {KEY_LEFTMETA, 0x5B, E0}},
        {KEY_RIGHTMETA, {KEY_RIGHTMETA, 0x5C, E0}},
        {KEY_COMPOSE, {KEY_COMPOSE, 0x5D, E0}},
        {KEY_RIGHTALT, {KEY_RIGHTALT, 0x38, E0}},
        {KEY_RIGHTCTRL, {KEY_RIGHTCTRL, 0x1D, E0}},
        {KEY_INSERT, {KEY_INSERT, 0x52, E0}},
        {KEY_DELETE, {KEY_DELETE, 0x53, E0}},
        {KEY_HOME, {KEY_HOME, 0x47, E0}},
        {KEY_END, {KEY_END, 0x4F, E0}},
        {KEY_PAGEUP, {KEY_PAGEUP, 0x49, E0}},
        {KEY_PAGEDOWN, {KEY_PAGEDOWN, 0x51, E0}},
        {KEY_UP, {KEY_UP, 0x48, E0}},
        {KEY_LEFT, {KEY_LEFT, 0x4B, E0}},
        {KEY_DOWN, {KEY_DOWN, 0x50, E0}},
        {KEY_RIGHT, {KEY_RIGHT, 0x4D, E0}},
        {KEY_KPSLASH, {KEY_KPSLASH, 0x35, E0}},
        {KEY_KPENTER, {KEY_KPENTER, 0x1C, E0}},
        // The Japanese keys, with the bytes whose virtual keys the capture replaces.
        {KEY_YEN, {KEY_YEN, 0x7D, None}},
        {KEY_HENKAN, {KEY_HENKAN, 0x79, None}},
        {KEY_KATAKANAHIRAGANA, {KEY_KATAKANAHIRAGANA, 0x70, None}},
        {KEY_MUHENKAN, {KEY_MUHENKAN, 0x7B, None}},
        {KEY_RO, {KEY_RO, 0x73, None}},
        {KEY_ZENKAKUHANKAKU, {KEY_ZENKAKUHANKAKU, 0x76, None}},
    };
    std::size_t listed = 0;
    std::size_t baseBlock = 0;
    for (const EvdevSet1Row& row : EvdevToSet1Table) {
        if (InKernelBaseBlock(row)) {
            ++baseBlock;
            EXPECT_EQ(row.scanByte, row.evdevCode) << "evdev " << row.evdevCode;
            continue;
        }
        const auto expected = outsideBaseBlock.find(row.evdevCode);
        ASSERT_NE(expected, outsideBaseBlock.end()) << "unexpected evdev " << row.evdevCode;
        EXPECT_EQ(row.scanByte, expected->second.scanByte) << "evdev " << row.evdevCode;
        EXPECT_EQ(row.prefix, expected->second.prefix) << "evdev " << row.evdevCode;
        ++listed;
    }
    EXPECT_EQ(listed, outsideBaseBlock.size());
    // 105 keys of the ISO keyboard, 19 of them outside the kernel's base block, and the six
    // Japanese keys.
    EXPECT_EQ(baseBlock, 105u - 19u);
}

// Windows drops the prefix, so keys share a byte exactly where a prefixed key was added beside
// an older one; every other byte names one key.
TEST(EvdevToSet1Table, KeysShareABytePreciselyWithTheirPrefixedTwin) {
    const std::set<std::set<std::uint16_t>> expectedSharing = {
        {KEY_LEFTCTRL, KEY_RIGHTCTRL}, {KEY_LEFTALT, KEY_RIGHTALT}, {KEY_ENTER, KEY_KPENTER},
        {KEY_SLASH, KEY_KPSLASH},      {KEY_KPASTERISK, KEY_SYSRQ}, {KEY_NUMLOCK, KEY_PAUSE},
        {KEY_KP7, KEY_HOME},           {KEY_KP8, KEY_UP},           {KEY_KP9, KEY_PAGEUP},
        {KEY_KP4, KEY_LEFT},           {KEY_KP6, KEY_RIGHT},        {KEY_KP1, KEY_END},
        {KEY_KP2, KEY_DOWN},           {KEY_KP3, KEY_PAGEDOWN},     {KEY_KP0, KEY_INSERT},
        {KEY_KPDOT, KEY_DELETE},
    };
    std::map<std::uint8_t, std::set<std::uint16_t>> keysOfByte;
    std::map<std::uint8_t, int> unprefixedKeysOfByte;
    for (const EvdevSet1Row& row : EvdevToSet1Table) {
        keysOfByte[row.scanByte].insert(row.evdevCode);
        if (row.prefix == None) ++unprefixedKeysOfByte[row.scanByte];
    }
    std::set<std::set<std::uint16_t>> sharing;
    for (const auto& [scanByte, keys] : keysOfByte) {
        if (keys.size() > 1) {
            sharing.insert(keys);
            EXPECT_EQ(unprefixedKeysOfByte[scanByte], 1) << "byte " << int(scanByte);
        }
    }
    EXPECT_EQ(sharing, expectedSharing);
}

TEST(EvdevToSet1Table, LooksUpKnownKeysOnly) {
    const std::vector<std::pair<std::uint16_t, std::optional<std::uint8_t>>> cases = {
        {KEY_A, 0x1E},     {KEY_RIGHTCTRL, 0x1D}, {KEY_102ND, 0x56},
        {KEY_YEN, 0x7D},   {KEY_RESERVED, {}},    {KEY_VOLUMEUP, {}},
        {KEY_KPEQUAL, {}}, {KEY_MAX, {}},         {0xFFFF, {}},
    };
    for (const auto& [evdevCode, scanByte] : cases) {
        EXPECT_EQ(ScanByteOfEvdevKey(evdevCode), scanByte) << "evdev " << evdevCode;
    }
}

}  // namespace
}  // namespace varnok
