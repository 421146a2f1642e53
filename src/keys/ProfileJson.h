#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "keys/KeyboardLayout.h"
#include "keys/Profile.h"

namespace varnok {

// A profile on disk, JSON, version 1:
//   {
//     "format": "varnok-profile",
//     "version": 1,
//     "language": "English",              "English" or "Chinese"
//     "keyCount": 3,                      rows shown, 1..6
//     "layout": "de",                     optional: the layout String keys are encoded for
//     "keys": [                           rows 1..6, and 0 (the hidden key) when it is defined
//       {"key": 1, "function": "Normal", "text": "Ctrl|C|,", "definition": "01 01 00 06 00 00 00
//       00"},
//       {"key": 2, "function": "String", "text": "hello", "definition": "00 0B 00 08 00 0F 00 0F 00
//       12"},
//       {"key": 3, "function": "Once", "text": "", "definition": ""}
//     ]
//   }
// function is "Normal", "Once" or "String"; definition the key report of a Normal or Once key
// (8 bytes, without the Once flag) or the string payload of a String key, in hex; a key with
// an empty definition holds nothing. Rows not listed hold nothing and are Normal. Without
// "layout" (profiles written before layouts, or for US QWERTY) strings are US QWERTY's.
constexpr int kProfileVersion = 1;
// A full profile takes a few KB; a file larger than this is refused before it is read whole.
constexpr std::size_t kMaxProfileSize = std::size_t{1} << 20;

std::string WriteProfileJson(const Profile& profile);

// Reads and checks the whole profile before anything uses it: its JSON, its format and
// version, and each key against what the store and the keyboard can hold. Nullopt and the
// place and reason in error ("keys[2].text: ...", "line 4, column 7: ...") otherwise. A String
// key is checked against the layout the profile names, made by layoutByName; a profile naming
// one is refused where there is none to make it.
std::optional<Profile> ReadProfileJson(std::string_view text, std::string& error,
                                       const KeyboardLayoutByName& layoutByName = {});

}  // namespace varnok
