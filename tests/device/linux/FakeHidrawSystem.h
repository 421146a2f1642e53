#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "device/HidPlatform.h"
#include "device/linux/HidrawSystem.h"

namespace varnok {

// What one fake hidraw node holds. Tests copy a sane device and break one field.
struct FakeHidrawDevice {
    std::uint16_t vendorId = 0x0426;
    std::uint16_t productId = 0x3201;
    std::vector<std::uint8_t> descriptor;
    std::optional<int> claimedDescriptorSize;  // HIDIOCGRDESCSIZE's answer when it lies
    std::set<unsigned long> refusedRequests;   // ioctls that fail with EIO
    int featureTransferLength = 8;             // bytes the feature ioctls say they moved
    FeatureReport featureReply{};              // what HIDIOCGFEATURE hands back
    int openError = 0;                         // errno of a refused open (EACCES, ...)
};

// A kernel in memory: nodes at made-up paths, and a record of every call the backend makes.
// Opening anything under the real /dev fails the running test, so no unit test can reach a
// device plugged into the machine that runs it.
class FakeHidrawSystem : public HidrawSystem {
public:
    struct IoctlCall {
        int fd;
        unsigned long request;
        std::vector<std::uint8_t> argument;  // the argument's bytes as the caller passed them
    };

    void AddNode(const std::string& path, FakeHidrawDevice device);

    int Open(const std::string& path, int flags) override;
    int Close(int fd) override;
    int Ioctl(int fd, unsigned long request, void* argument) override;

    std::vector<std::pair<std::string, int>> opens;  // path and flags
    std::vector<int> closes;
    std::vector<IoctlCall> ioctls;

private:
    std::map<std::string, FakeHidrawDevice> nodes_;
    std::map<int, std::string> openNodes_;
    int nextFd_ = 3;
};

// Lists a node in a fake sysfs class directory, as the kernel does: classDirectory/NAME/device
// holds the HID device's uevent file with these contents.
void AddSysfsNode(const std::filesystem::path& classDirectory, const std::string& name,
                  const std::string& uevent);

// Fails the running test when `path` names a node under the real /dev.
bool RefuseRealDeviceNode(const std::string& path);

}  // namespace varnok
