#pragma once

#include <string>

#include "keys/Profile.h"

namespace varnok {

// The keys of a profile for people, one line per key: the key number, its function, the text
// the window shows (in double quotes, or "-" for a key without a definition) and the
// definition bytes in hex:
//   1  Normal  "Ctrl|C|,"            01 01 00 06 00 00 00 00
//   2  String  "hello"               00 0B 00 08 00 0F 00 0F 00 12
//   3  Normal  -
std::string FormatKeyLines(const Profile& profile);

}  // namespace varnok
