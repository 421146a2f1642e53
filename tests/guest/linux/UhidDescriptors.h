#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "device/ReportDescriptors.h"

// The report descriptors the keyboard over uhid can present, by the name its command line
// gives them.
namespace varnok::guest {

// clang-format off

// The keyboard's typing side as the hardware presents it beside the configuration channel:
// the boot keyboard's input report under report id 1 (every report of a device that numbers
// one must carry an id).
inline constexpr std::uint8_t kNumberedKeyboard[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0xE0,        //   Usage Minimum (Left Control)
    0x29, 0xE7,        //   Usage Maximum (Right GUI)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x08,        //   Report Size (8)
    0x81, 0x01,        //   Input (Constant)
    0x95, 0x06,        //   Report Count (6)
    0x75, 0x08,        //   Report Size (8)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x65,        //   Logical Maximum (101)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0x00,        //   Usage Minimum (0)
    0x29, 0x65,        //   Usage Maximum (101)
    0x81, 0x00,        //   Input (Data, Array)
    0xC0,              // End Collection
};

// clang-format on

// "keyboard": the keyboard as sold, its typing collection, the configuration collection
// (feature report 6 of 7 data bytes) and its mouse collection (for the click keys) on one
// interface.
// "no-configuration": the same ids and typing collection, but the only vendor collection has
// 64-byte feature reports: no collection qualifies.
// "three-collections": consumer keys, the configuration collection and a 64-byte vendor
// collection; the second one qualifies.
inline std::optional<std::vector<std::uint8_t>> UhidDescriptor(std::string_view name) {
    using namespace varnok::descriptors;
    if (name == "keyboard") {
        return Join({kNumberedKeyboard, kConfigurationCollection, kNumberedMouse});
    }
    if (name == "no-configuration") return Join({kNumberedKeyboard, kLongVendorCollection});
    if (name == "three-collections") {
        return Join({kConsumerCollection, kConfigurationCollection, kLongVendorCollection});
    }
    return std::nullopt;
}

}  // namespace varnok::guest
