#pragma once

#include <array>
#include <cstdint>

namespace varnok {

// A vendor/product pair the keyboard is sold under, as its HID attributes report it.
struct AcceptedDevice {
    std::uint16_t vendorId;
    std::uint16_t productId;
    bool anyProduct;  // every product of this vendor is the keyboard
};

// clang-format off
inline constexpr std::array<AcceptedDevice, 6> AcceptedDeviceTable{{
    // vendor   product   any product
    {  0x03F9,  0x3201,   false },
    {  0x0403,  0x6014,   false },
    {  0x040C,  0x3112,   false },
    {  0x041E,  0x3121,   false },
    {  0x0426,  0x0000,   true  },
    {  0x046F,  0x3324,   false },
}};
// clang-format on

constexpr bool IsAcceptedDevice(std::uint16_t vendorId, std::uint16_t productId) {
    for (const AcceptedDevice& device : AcceptedDeviceTable) {
        if (device.vendorId == vendorId && (device.anyProduct || device.productId == productId)) {
            return true;
        }
    }
    return false;
}

}  // namespace varnok
