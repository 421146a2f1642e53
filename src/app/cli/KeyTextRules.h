#pragma once

#include <string>
#include <string_view>

namespace varnok {

// What the store and the keyboard can hold of a key's text. Each check is true when the text
// passes; otherwise it says why in reason.

// A row text: UTF-8 that GBK can represent, at most 25 bytes in GBK, as msmap.dat keeps it.
bool CheckRowText(std::string_view text, std::string& reason);

// The text of a String key: at most 14 characters, each one the keyboard can type.
bool CheckTypedString(std::string_view text, std::string& reason);

}  // namespace varnok
