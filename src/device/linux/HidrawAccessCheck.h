#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "device/linux/HidrawSystem.h"

namespace varnok {

// A hidraw node whose HID ids are the keyboard's but which this user may not open.
struct RefusedKeyboard {
    std::string node;  // the device node, /dev/hidrawN
    std::uint16_t vendorId;
    std::uint16_t productId;
    int error;  // EACCES or EPERM
};

// Tells "no keyboard" from "a keyboard this user may not open", for when discovery found none:
// the ids come from sysfs (the HID device's uevent), which anyone may read, so a node is
// opened only when it is the keyboard, and only to see whether the system lets the user in.
class HidrawAccessCheck {
public:
    // The real system: nodes listed in /sys/class/hidraw, opened under /dev.
    HidrawAccessCheck();
    // `system` must outlive the check. The directories let tests use a fake sysfs tree.
    HidrawAccessCheck(HidrawSystem& system, std::filesystem::path classDirectory,
                      std::filesystem::path deviceDirectory);

    // The keyboards that refuse this user, in node order; empty when there are none (no
    // keyboard at all, or one that opens, or one that fails for another reason).
    std::vector<RefusedKeyboard> RefusedKeyboards() const;

private:
    HidrawSystem& system_;
    std::filesystem::path classDirectory_;
    std::filesystem::path deviceDirectory_;
};

}  // namespace varnok
