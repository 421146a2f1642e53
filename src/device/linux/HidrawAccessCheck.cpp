#include "device/linux/HidrawAccessCheck.h"

#include <fcntl.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <optional>
#include <string_view>
#include <utility>

#include "device/AcceptedDeviceTable.h"
#include "device/linux/HidrawPlatform.h"
#include "device/linux/PosixHidrawSystem.h"

namespace varnok {
namespace {

// A uevent file is a few short lines; anything longer is not one.
constexpr std::streamsize kUeventLimit = 4096;

HidrawSystem& RealSystem() {
    static PosixHidrawSystem system;
    return system;
}

std::optional<std::uint16_t> UsbId(std::string_view hex) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (hex.empty() || error != std::errc() || end != hex.data() + hex.size() || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

// The vendor and product of the node's HID device, from its uevent line
// HID_ID=BUS:VENDOR:PRODUCT (hex, as the kernel prints them: 0003:00000426:00003201).
std::optional<std::pair<std::uint16_t, std::uint16_t>> HidIds(const std::filesystem::path& uevent) {
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

}  // namespace

HidrawAccessCheck::HidrawAccessCheck()
    : HidrawAccessCheck(RealSystem(), "/sys/class/hidraw", "/dev") {}

HidrawAccessCheck::HidrawAccessCheck(HidrawSystem& system, std::filesystem::path classDirectory,
                                     std::filesystem::path deviceDirectory)
    : system_(system),
      classDirectory_(std::move(classDirectory)),
      deviceDirectory_(std::move(deviceDirectory)) {}

std::vector<RefusedKeyboard> HidrawAccessCheck::RefusedKeyboards() const {
    std::vector<RefusedKeyboard> refused;
    // The nodes as discovery lists them, so both agree on what a node is and in which order.
    HidrawPlatform platform(system_, classDirectory_, deviceDirectory_);
    const auto interfaces = platform.EnumerateInterfaces();
    if (!interfaces) return refused;
    for (const HidInterface& interface : *interfaces) {
        const std::filesystem::path node = interface.path;
        const auto ids = HidIds(classDirectory_ / node.filename() / "device" / "uevent");
        if (!ids || !IsAcceptedDevice(ids->first, ids->second)) continue;
        // The flags discovery opens with: read access alone would not do for a save.
        const int fd = system_.Open(interface.path, O_RDWR | O_CLOEXEC);
        const int error = errno;
        if (fd >= 0) {
            system_.Close(fd);
        } else if (error == EACCES || error == EPERM) {
            refused.push_back({interface.path, ids->first, ids->second, error});
        }
    }
    return refused;
}

}  // namespace varnok
