#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

namespace varnok {

// The vendor and product of a HID device from its sysfs uevent file, line
// HID_ID=BUS:VENDOR:PRODUCT (hex, as the kernel prints them: 0003:00000426:00003201); anyone
// may read it, so ids are known without opening the device. Nullopt when the file cannot be
// read or holds no such line.
std::optional<std::pair<std::uint16_t, std::uint16_t>> HidUeventIds(
    const std::filesystem::path& uevent);

}  // namespace varnok
