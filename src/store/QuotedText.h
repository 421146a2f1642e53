#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnok {

// A text as the program shows it between double quotes, wherever it came from (an argument, a
// profile, the keyboard, a file): '"' and '\' are escaped, and so is every control character
// (a C0 control or DEL as \x1b, a C1 control as \u0085) and every byte that is no UTF-8
// (\xff), so that nothing in it can move the cursor or recolour a terminal, and blanks, Tab and
// Esc stay visible.
std::string QuotedText(std::string_view text);

// A text that came from outside, as a message quotes it: as QuotedText, but cut to its first
// kQuotedInputCharacters characters (never inside one), then "…" and its length, so that a
// refused argument of any length costs one line.
inline constexpr std::size_t kQuotedInputCharacters = 40;
std::string QuotedInput(std::string_view text);

// A file's path as a message names it: whole, unless it is longer than any path the system
// opens (4096 bytes), when it is no file's name but something else given as one and is quoted
// shortened instead.
std::string PathInMessage(const std::filesystem::path& path);

}  // namespace varnok
