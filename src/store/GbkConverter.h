#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// The system's own conversion between UTF-8 and code page 936 (GBK): iconv on Linux, the
// Windows code page functions on Windows. It converts a text whole or not at all; what to do
// with the characters it cannot convert is GbkCodec's business, the same on every system.
class GbkConverter {
public:
    GbkConverter();
    ~GbkConverter();
    GbkConverter(const GbkConverter&) = delete;
    GbkConverter& operator=(const GbkConverter&) = delete;

    // nullopt when the bytes hold anything that is not a GBK character the system knows.
    std::optional<std::string> ToUtf8(std::string_view gbk);
    // nullopt when the text is not well-formed UTF-8 or holds a character GBK lacks.
    std::optional<std::string> ToGbk(std::string_view utf8);

private:
    // What the system keeps open between conversions (the iconv descriptors on Linux).
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace varnok
