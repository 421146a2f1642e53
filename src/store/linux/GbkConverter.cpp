#include "store/GbkConverter.h"

#include <iconv.h>

#include <cerrno>

namespace varnok {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::optional<std::string> Convert(iconv_t converter, std::string_view input) {
    if (converter == kNoConverter) {
        return std::nullopt;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string output;
    char chunk[256];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        output.append(chunk, out);
        // E2BIG only says the chunk is full; anything else is a character iconv cannot take.
        if (result == static_cast<std::size_t>(-1) && error != E2BIG) {
            return std::nullopt;
        }
    }
    return output;
}

}  // namespace

struct GbkConverter::State {
    iconv_t toUtf8 = iconv_open("UTF-8", "GBK");
    iconv_t toGbk = iconv_open("GBK", "UTF-8");

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (toUtf8 != kNoConverter) {
            iconv_close(toUtf8);
        }
        if (toGbk != kNoConverter) {
            iconv_close(toGbk);
        }
    }
};

GbkConverter::GbkConverter() : state_(std::make_unique<State>()) {}

GbkConverter::~GbkConverter() = default;

std::optional<std::string> GbkConverter::ToUtf8(std::string_view gbk) {
    return Convert(state_->toUtf8, gbk);
}

std::optional<std::string> GbkConverter::ToGbk(std::string_view utf8) {
    return Convert(state_->toGbk, utf8);
}

}  // namespace varnok
