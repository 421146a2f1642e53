#include "store/GbkCodec.h"

#include <algorithm>
#include <cerrno>

namespace varnok {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kDefaultCharacter = "?";

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsGbkTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// How many bytes one unconvertible GBK character takes: a lead byte with a trail byte is one
// (unassigned) character, anything else is a single stray byte.
std::size_t GbkSkipLength(std::string_view rest) {
    if (rest.size() >= 2 && IsGbkLeadByte(static_cast<unsigned char>(rest[0])) &&
        IsGbkTrailByte(static_cast<unsigned char>(rest[1]))) {
        return 2;
    }
    return 1;
}

// How many bytes one unconvertible UTF-8 character takes: a well-formed sequence that GBK
// lacks is skipped whole, a malformed byte alone.
std::size_t Utf8SkipLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (length > rest.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

// Runs iconv over the whole input. Where it stops at a character it cannot convert, the
// replacement goes out instead and skipLength says how much input that character took.
template <typename SkipLength>
std::string Convert(iconv_t converter, std::string_view input, std::string_view replacement,
                    SkipLength skipLength) {
    std::string output;
    if (converter == kNoConverter) {
        for (char c : input) {
            if (static_cast<unsigned char>(c) < 0x80) {
                output += c;
            } else {
                output += replacement;
            }
        }
        return output;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char chunk[256];
    while (!input.empty()) {
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        output.append(chunk, out);
        input.remove_prefix(input.size() - inLeft);
        if (result != static_cast<std::size_t>(-1) || error == E2BIG) {
            continue;
        }
        // EILSEQ: a character that cannot be converted; EINVAL: one cut off at the end.
        output += replacement;
        if (error == EINVAL) {
            break;
        }
        input.remove_prefix(std::min(input.size(), skipLength(input)));
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    return output;
}

}  // namespace

GbkCodec::GbkCodec() : toUtf8_(iconv_open("UTF-8", "GBK")), toGbk_(iconv_open("GBK", "UTF-8")) {}

GbkCodec::~GbkCodec() {
    if (toUtf8_ != kNoConverter) {
        iconv_close(toUtf8_);
    }
    if (toGbk_ != kNoConverter) {
        iconv_close(toGbk_);
    }
}

std::string GbkCodec::ToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) {
        return std::string(gbk);
    }
    return Convert(toUtf8_, gbk, kReplacementCharacter, GbkSkipLength);
}

std::string GbkCodec::ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    return Convert(toGbk_, utf8, kDefaultCharacter, Utf8SkipLength);
}

std::size_t GbkCodec::CutLength(std::string_view gbk, std::size_t limit) {
    std::size_t length = 0;
    while (length < gbk.size()) {
        const std::size_t step = IsGbkLeadByte(static_cast<unsigned char>(gbk[length])) ? 2 : 1;
        if (length + step > limit) {
            break;
        }
        length += step;
    }
    return std::min(length, gbk.size());
}

}  // namespace varnok
