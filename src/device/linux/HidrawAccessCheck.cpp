#include "device/linux/HidrawAccessCheck.h"

#include <fcntl.h>

#include <cerrno>
#include <utility>

#include "device/AcceptedDeviceTable.h"
#include "device/linux/HidrawPlatform.h"
#include "device/linux/PosixHidrawSystem.h"

namespace varnok {
namespace {

HidrawSystem& RealSystem() {
    static PosixHidrawSystem system;
    return system;
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
        const auto& ids = interface.ids;
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
