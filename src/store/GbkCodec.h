#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace varnok {

// Converts texts between UTF-8, as they are held in memory, and GBK (code page 936), as
// msmap.dat stores them on every platform. Conversion never fails: bytes that are not valid
// GBK become U+FFFD, and characters that GBK cannot represent become "?", as Windows turns
// them into its default character.
class GbkCodec {
public:
    GbkCodec();
    ~GbkCodec();
    GbkCodec(const GbkCodec&) = delete;
    GbkCodec& operator=(const GbkCodec&) = delete;

    std::string ToUtf8(std::string_view gbk);
    std::string ToGbk(std::string_view utf8);

    // The length of the longest prefix of a GBK text that holds at most limit bytes without
    // splitting a double-byte character.
    static std::size_t CutLength(std::string_view gbk, std::size_t limit);

private:
    iconv_t toUtf8_;
    iconv_t toGbk_;
};

}  // namespace varnok
