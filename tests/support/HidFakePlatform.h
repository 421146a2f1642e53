#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "device/HidPlatform.h"

namespace varnok {

// One HID interface as plain data. Tests copy a sane keyboard and break one field.
struct HidFakeDevice {
    std::string path = "/dev/hidraw0";
    // Lists the ids with the interface, as Linux's sysfs does.
    bool listsIds = false;
    bool opens = true;
    bool attributesReadable = true;
    std::uint16_t vendorId = 0x0426;
    std::uint16_t productId = 0x0001;
    bool capabilitiesReadable = true;
    // The keyboard's vendor collection with its 8-byte feature reports.
    std::vector<HidCollection> collections = {{0xFF00, 0x0001, 8}};
};

// A scripted HID system for discovery tests: it lists the devices in order, accepts every
// report and remembers which interfaces were opened and which are still open.
class HidFakePlatform : public HidPlatform {
public:
    explicit HidFakePlatform(std::vector<HidFakeDevice> devices);

    std::optional<std::vector<HidInterface>> EnumerateInterfaces() override;
    HidHandle Open(const std::string& path) override;
    bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                       std::uint16_t& productId) override;
    bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) override;
    bool SetFeature(HidHandle handle, const FeatureReport& report) override;
    bool GetFeature(HidHandle handle, FeatureReport& report) override;
    void Close(HidHandle handle) override;
    void Pause(int milliseconds) override;
    HidError LastError() const override { return error; }

    std::vector<HidFakeDevice> devices;
    // The reason every failure gives.
    HidError error;
    bool enumerationFails = false;
    int enumerations = 0;
    // Handles are indexes into devices.
    std::vector<HidHandle> opened;
    std::set<HidHandle> openHandles;
    // The device index each report went to.
    std::vector<HidHandle> reportTargets;
    // Get requests as the caller filled them in.
    std::vector<FeatureReport> getRequests;

private:
    const HidFakeDevice* DeviceOf(HidHandle handle) const;
};

}  // namespace varnok
