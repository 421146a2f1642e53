#include "device/linux/FakeHidrawSystem.h"

#include <gtest/gtest.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace varnok {

bool RefuseRealDeviceNode(const std::string& path) {
    if (path.rfind("/dev/", 0) != 0) return false;
    ADD_FAILURE() << "a unit test tried to open the real device node " << path;
    return true;
}

void AddSysfsNode(const std::filesystem::path& classDirectory, const std::string& name,
                  const std::string& uevent) {
    std::filesystem::create_directories(classDirectory / name / "device");
    std::ofstream(classDirectory / name / "device" / "uevent") << uevent;
}

void FakeHidrawSystem::AddNode(const std::string& path, FakeHidrawDevice device) {
    nodes_[path] = std::move(device);
}

int FakeHidrawSystem::Open(const std::string& path, int flags) {
    opens.emplace_back(path, flags);
    if (RefuseRealDeviceNode(path)) {
        errno = EACCES;
        return -1;
    }
    const auto node = nodes_.find(path);
    if (node == nodes_.end()) {
        errno = ENOENT;
        return -1;
    }
    if (node->second.openError != 0) {
        errno = node->second.openError;
        return -1;
    }
    openNodes_[nextFd_] = path;
    return nextFd_++;
}

int FakeHidrawSystem::Close(int fd) {
    closes.push_back(fd);
    if (openNodes_.erase(fd) == 0) {
        errno = EBADF;
        return -1;
    }
    return 0;
}

int FakeHidrawSystem::Ioctl(int fd, unsigned long request, void* argument) {
    auto* bytes = static_cast<std::uint8_t*>(argument);
    const std::size_t size = _IOC_SIZE(request);
    ioctls.push_back({fd, request, std::vector<std::uint8_t>(bytes, bytes + size)});

    const auto open = openNodes_.find(fd);
    if (open == openNodes_.end()) {
        errno = EBADF;
        return -1;
    }
    const FakeHidrawDevice& device = nodes_.at(open->second);
    if (device.refusedRequests.count(request) != 0) {
        errno = EIO;
        return -1;
    }

    if (request == HIDIOCGRAWINFO) {
        hidraw_devinfo info{};
        info.bustype = BUS_USB;
        info.vendor = static_cast<std::int16_t>(device.vendorId);
        info.product = static_cast<std::int16_t>(device.productId);
        std::memcpy(argument, &info, sizeof info);
        return 0;
    }
    if (request == HIDIOCGRDESCSIZE) {
        const int claimed =
            device.claimedDescriptorSize.value_or(static_cast<int>(device.descriptor.size()));
        std::memcpy(argument, &claimed, sizeof claimed);
        return 0;
    }
    if (request == HIDIOCGRDESC) {
        // As the kernel: the caller's size field says how much to copy, at most 4095 bytes.
        hidraw_report_descriptor descriptor;
        std::memcpy(&descriptor.size, argument, sizeof descriptor.size);
        if (descriptor.size > HID_MAX_DESCRIPTOR_SIZE - 1) {
            errno = EINVAL;
            return -1;
        }
        const std::size_t copied = std::min<std::size_t>(descriptor.size, device.descriptor.size());
        std::memcpy(bytes + offsetof(hidraw_report_descriptor, value), device.descriptor.data(),
                    copied);
        return 0;
    }
    const bool featureRequest = _IOC_TYPE(request) == 'H' &&
                                _IOC_DIR(request) == (_IOC_READ | _IOC_WRITE) &&
                                (_IOC_NR(request) == 0x06 || _IOC_NR(request) == 0x07);
    if (featureRequest) {
        const std::size_t moved =
            std::min<std::size_t>(size, static_cast<std::size_t>(device.featureTransferLength));
        if (_IOC_NR(request) == 0x07) std::memcpy(argument, device.featureReply.data(), moved);
        return static_cast<int>(moved);
    }
    errno = ENOTTY;
    return -1;
}

}  // namespace varnok
