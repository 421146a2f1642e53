#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "keys/KeyboardLayout.h"

namespace varnok {

// Loads an installed layout by its identifier ("00000407" German, "0000040C" French) and asks
// Windows which key types each character of the Latin, Greek and Cyrillic blocks. Nullptr,
// with the reason, for an identifier Windows does not load.
std::unique_ptr<KeyboardLayout> LoadWindowsKeyboardLayout(std::string_view identifier,
                                                          std::string& error);

}  // namespace varnok
