#include "support/HidFakePlatform.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/PrivateTestState.h"

namespace varnok {

// Every test that saves keys does so in a state folder of its own.
[[maybe_unused]] static const bool kPrivateState = UsePrivateTestState();

HidFakePlatform::HidFakePlatform(std::vector<HidFakeDevice> devices)
    : devices(std::move(devices)) {}

std::optional<std::vector<HidInterface>> HidFakePlatform::EnumerateInterfaces() {
    ++enumerations;
    if (enumerationFails) {
        return std::nullopt;
    }
    std::vector<HidInterface> interfaces;
    for (const HidFakeDevice& device : devices) {
        interfaces.push_back({device.path});
        if (device.listsIds) interfaces.back().ids = std::pair{device.vendorId, device.productId};
    }
    return interfaces;
}

HidHandle HidFakePlatform::Open(const std::string& path) {
    for (std::size_t index = 0; index < devices.size(); ++index) {
        if (devices[index].path == path && devices[index].opens) {
            const auto handle = static_cast<HidHandle>(index);
            opened.push_back(handle);
            openHandles.insert(handle);
            return handle;
        }
    }
    return kNoHidHandle;
}

const HidFakeDevice* HidFakePlatform::DeviceOf(HidHandle handle) const {
    if (openHandles.count(handle) == 0) {
        ADD_FAILURE() << "use of handle " << handle << ", which is not open";
        return nullptr;
    }
    return &devices[static_cast<std::size_t>(handle)];
}

bool HidFakePlatform::GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                                    std::uint16_t& productId) {
    const HidFakeDevice* device = DeviceOf(handle);
    if (device == nullptr || !device->attributesReadable) {
        return false;
    }
    vendorId = device->vendorId;
    productId = device->productId;
    return true;
}

bool HidFakePlatform::GetCollections(HidHandle handle, std::vector<HidCollection>& collections) {
    const HidFakeDevice* device = DeviceOf(handle);
    if (device == nullptr || !device->capabilitiesReadable) {
        return false;
    }
    collections = device->collections;
    return true;
}

bool HidFakePlatform::SetFeature(HidHandle handle, const FeatureReport&) {
    reportTargets.push_back(handle);
    return DeviceOf(handle) != nullptr;
}

bool HidFakePlatform::GetFeature(HidHandle handle, FeatureReport& report) {
    reportTargets.push_back(handle);
    getRequests.push_back(report);
    return DeviceOf(handle) != nullptr;
}

void HidFakePlatform::Close(HidHandle handle) {
    if (openHandles.erase(handle) == 0) {
        ADD_FAILURE() << "close of handle " << handle << ", which is not open";
    }
}

void HidFakePlatform::Pause(int) {}

}  // namespace varnok
