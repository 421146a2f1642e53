#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// Bytes as people read them in traces and key table files: two upper-case hex digits per
// byte, separated by single spaces ("06 BB 03").
std::string FormatHexBytes(std::span<const std::uint8_t> bytes);

// The reverse, for text a person may have edited: tokens of exactly two hex digits in either
// case, separated by spaces or tabs. Nullopt for anything else.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text);

}  // namespace varnok
