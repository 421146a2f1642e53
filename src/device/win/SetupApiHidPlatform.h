#pragma once

#include <map>

#include "device/HidPlatform.h"

namespace varnok {

// The HID platform on Windows: the HID interfaces that the device installer services list as
// present, in their order, opened as files and spoken to through hid.dll. Each collection of
// a device is an interface of its own on Windows. Handles are small numbers standing for the
// system's file handles, which the platform owns until Close.
class SetupApiHidPlatform : public HidPlatform {
public:
    SetupApiHidPlatform() = default;
    // Closes every handle still open.
    ~SetupApiHidPlatform() override;
    SetupApiHidPlatform(const SetupApiHidPlatform&) = delete;
    SetupApiHidPlatform& operator=(const SetupApiHidPlatform&) = delete;

    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override;
    HidHandle Open(const std::string& path) override;
    bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                       std::uint16_t& productId) override;
    bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) override;
    bool SetFeature(HidHandle handle, const FeatureReport& report) override;
    bool GetFeature(HidHandle handle, FeatureReport& report) override;
    void Close(HidHandle handle) override;
    void Pause(int milliseconds) override;
    // The system's words for the last error of the call that failed.
    HidError LastError() const override { return lastError_; }

private:
    // The system's handle behind a number; nullptr, with the reason kept, when the number is
    // not open.
    void* SystemHandle(HidHandle handle);
    // Keeps the calling thread's last system error as the reason of the call that just
    // failed; false.
    bool Fail();

    std::map<HidHandle, void*> handles_;
    HidHandle nextHandle_ = 0;
    HidError lastError_;
};

}  // namespace varnok
