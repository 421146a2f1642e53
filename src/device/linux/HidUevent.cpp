#include "device/linux/HidUevent.h"

#include <charconv>
#include <fstream>
#include <string>
#include <string_view>

namespace varnok {
namespace {

// A uevent file is a few short lines; anything longer is not one.
constexpr std::streamsize kUeventLimit = 4096;

std::optional<std::uint16_t> UsbId(std::string_view hex) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (hex.empty() || error != std::errc() || end != hex.data() + hex.size() || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<std::pair<std::uint16_t, std::uint16_t>> HidUeventIds(
    const std::filesystem::path& uevent) {
    std::ifstream file(uevent);
    std::string contents(static_cast<std::size_t>(kUeventLimit), '\0');
    file.read(contents.data(), kUeventLimit);
    contents.resize(static_cast<std::size_t>(file.gcount()));

    constexpr std::string_view kKey = "HID_ID=";
    std::string_view rest = contents;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.starts_with(kKey)) continue;
        const std::string_view value = line.substr(kKey.size());
        const std::size_t first = value.find(':');
        const std::size_t second = value.find(':', first + 1);
        if (first == std::string_view::npos || second == std::string_view::npos)
            return std::nullopt;
        const auto vendor = UsbId(value.substr(first + 1, second - first - 1));
        const auto product = UsbId(value.substr(second + 1));
        if (!vendor || !product) return std::nullopt;
        return std::pair(*vendor, *product);
    }
    return std::nullopt;
}

}  // namespace varnok
