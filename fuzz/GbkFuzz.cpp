// Text between msmap.dat's GBK and the window's UTF-8: decoding always gives valid UTF-8,
// and GBK the encoder wrote decodes and encodes back to itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "store/GbkCodec.h"

namespace {

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    GbkCodec codec;
    Require(IsValidUtf8(codec.ToUtf8(input)), "decoded text is valid UTF-8");

    const std::string gbk = codec.ToGbk(input);
    Require(codec.ToGbk(codec.ToUtf8(gbk)) == gbk, "encoded GBK round-trips");

    const std::size_t cut = GbkCodec::CutLength(gbk, 25);
    Require(cut <= 25 && cut <= gbk.size(), "a cut stays within its limit");
    Require(codec.ToGbk(codec.ToUtf8(gbk.substr(0, cut))) == gbk.substr(0, cut),
            "a cut never splits a character");
    return 0;
}
