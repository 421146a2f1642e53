#pragma once

#include <filesystem>
#include <string>

#include "device/HidPlatform.h"
#include "device/linux/HidrawSystem.h"

namespace varnok {

// The HID platform on Linux: every HID interface the kernel exposes as a hidraw node, in the
// numeric order of the nodes, each with its ids from sysfs where it tells them, with the
// keyboard's feature reports moved by the hidraw ioctls.
// A handle is the node's file descriptor.
class HidrawPlatform : public HidPlatform {
public:
    // The real system: nodes listed in /sys/class/hidraw, opened under /dev.
    HidrawPlatform();
    // `system` must outlive the platform. The directories let tests use a fake sysfs tree.
    HidrawPlatform(HidrawSystem& system, std::filesystem::path classDirectory,
                   std::filesystem::path deviceDirectory);

    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override;
    HidHandle Open(const std::string& path) override;
    bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                       std::uint16_t& productId) override;
    bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) override;
    bool SetFeature(HidHandle handle, const FeatureReport& report) override;
    bool GetFeature(HidHandle handle, FeatureReport& report) override;
    void Close(HidHandle handle) override;
    void Pause(int milliseconds) override;
    // The system's words for the errno of the call that failed, or what a short transfer
    // moved.
    HidError LastError() const override { return lastError_; }

private:
    // Keeps errno as the reason of the call that just failed; false.
    bool FailWithErrno();
    bool Fail(std::string text, std::string code);
    // True when a feature ioctl's result says it moved the whole report.
    bool Transferred(int result);

    HidrawSystem& system_;
    std::filesystem::path classDirectory_;
    std::filesystem::path deviceDirectory_;
    HidError lastError_;
};

}  // namespace varnok
