#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnok {

// What a screen reader says for a row's value box: its key and what the key holds, or that the
// box records ("Key 1, Ctrl+C", "Key 1, recording: press the keys"), in the window's language.
// key is the box's own name ("Key 1"); shown is the row's text. A chord row's text is read as a
// chord ("Ctrl|C|," is "Ctrl+C"); a String row's text as it is typed.
std::string ValueBoxAccessibleName(std::string_view key, const std::string& shown, bool chord,
                                   bool recording, std::int32_t language);

}  // namespace varnok
