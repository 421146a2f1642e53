#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnok {

// One key of a profile: what the window shows for it and the bytes behind it.
struct ProfileKey {
    int slot = 0;               // 0..6; 0 is the hidden key, always Normal
    std::int32_t function = 0;  // 0 Normal, 1 Once, 2 String
    std::string text;           // the row text, UTF-8; empty for a key without a definition
    // The key report (8 bytes, without the Once flag) of a Normal or Once key, the string
    // payload of a String key (at most 28 bytes); empty for a key without a definition.
    std::vector<std::uint8_t> definition;

    friend bool operator==(const ProfileKey&, const ProfileKey&) = default;
};

// A configuration of the keyboard's keys as it can be kept, shared and put onto another
// keyboard or machine: every row's key, and the window's language and key count.
struct Profile {
    std::int32_t language = 0;     // 0 English, 1 Chinese
    std::int32_t keyCount = 1;     // rows shown, 1..6
    std::vector<ProfileKey> keys;  // ascending by slot, each slot at most once
    // The keyboard layout its String keys' definitions were encoded for, by the name the
    // system knows it by ("de", "us(dvorak)", "00000407"); empty for US QWERTY.
    std::string layout;

    friend bool operator==(const Profile&, const Profile&) = default;
};

}  // namespace varnok
