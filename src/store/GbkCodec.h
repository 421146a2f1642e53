#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/GbkConverter.h"

namespace varnok {

// Converts texts between UTF-8, as they are held in memory, and GBK (code page 936), as
// msmap.dat stores them. Conversion never fails: bytes that are not valid GBK become U+FFFD,
// and characters that GBK cannot represent become "?", as Windows turns them into its default
// character. Every build of Varnok converts alike; only the character tables are the system's.
class GbkCodec {
public:
    std::string ToUtf8(std::string_view gbk);
    std::string ToGbk(std::string_view utf8);

    // The length of the longest prefix of a GBK text that holds at most limit bytes without
    // splitting a double-byte character.
    static std::size_t CutLength(std::string_view gbk, std::size_t limit);

private:
    GbkConverter converter_;
};

}  // namespace varnok
