#include "device/win/SetupApiHidPlatform.h"

// clang-format off
#include <windows.h>
#include <setupapi.h>
// MinGW's hid.dll headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "store/win/WideText.h"

namespace varnok {

namespace {

// The device path of one listed interface; empty when the system cannot say it.
std::string InterfacePath(HDEVINFO devices, SP_DEVICE_INTERFACE_DATA& interfaceData) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(devices, &interfaceData, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        return {};
    }
    // The detail is a header followed by the path; DWORD elements keep it aligned.
    std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(devices, &interfaceData, detail, size, nullptr,
                                          nullptr)) {
        return {};
    }
    return Utf8FromWide(detail->DevicePath);
}

// "C0110001"
std::string Hex32(unsigned long value) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08lX", value);
    return digits;
}

}  // namespace

bool SetupApiHidPlatform::Fail() {
    const DWORD error = GetLastError();
    lastError_ = {SystemErrorText(error), "Windows error " + std::to_string(error)};
    return false;
}

SetupApiHidPlatform::~SetupApiHidPlatform() {
    for (const auto& [number, handle] : handles_) {
        CloseHandle(handle);
    }
}

std::optional<std::vector<HidInterface>> SetupApiHidPlatform::EnumerateInterfaces() {
    GUID hidClass;
    HidD_GetHidGuid(&hidClass);
    const HDEVINFO devices =
        SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE) {
        Fail();
        return std::nullopt;
    }
    std::vector<HidInterface> interfaces;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    for (DWORD index = 0;
         SetupDiEnumDeviceInterfaces(devices, nullptr, &hidClass, index, &interfaceData); ++index) {
        interfaces.push_back({InterfacePath(devices, interfaceData)});
    }
    SetupDiDestroyDeviceInfoList(devices);
    return interfaces;
}

HidHandle SetupApiHidPlatform::Open(const std::string& path) {
    if (path.empty()) {
        lastError_ = {"no device path", {}};
        return kNoHidHandle;
    }
    // No read or write access: the system holds keyboards for itself, and feature reports
    // need neither.
    const HANDLE file =
        CreateFileW(WideFromUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail();
        return kNoHidHandle;
    }
    const HidHandle number = nextHandle_++;
    handles_[number] = file;
    return number;
}

void* SetupApiHidPlatform::SystemHandle(HidHandle handle) {
    const auto it = handles_.find(handle);
    if (it == handles_.end()) {
        lastError_ = {"no such handle", {}};
        return nullptr;
    }
    return it->second;
}

bool SetupApiHidPlatform::GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                                        std::uint16_t& productId) {
    const HANDLE file = SystemHandle(handle);
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (file == nullptr) {
        return false;
    }
    if (!HidD_GetAttributes(file, &attributes)) {
        return Fail();
    }
    vendorId = attributes.VendorID;
    productId = attributes.ProductID;
    return true;
}

bool SetupApiHidPlatform::GetCollections(HidHandle handle,
                                         std::vector<HidCollection>& collections) {
    const HANDLE file = SystemHandle(handle);
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (file == nullptr) {
        return false;
    }
    if (!HidD_GetPreparsedData(file, &preparsed)) {
        return Fail();
    }
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS) {
        lastError_ = {"the capabilities cannot be read",
                      "HID status " + Hex32(static_cast<unsigned long>(status))};
        return false;
    }
    collections = {{caps.UsagePage, caps.Usage, caps.FeatureReportByteLength}};
    return true;
}

bool SetupApiHidPlatform::SetFeature(HidHandle handle, const FeatureReport& report) {
    const HANDLE file = SystemHandle(handle);
    FeatureReport buffer = report;
    return file != nullptr &&
           (HidD_SetFeature(file, buffer.data(), static_cast<ULONG>(buffer.size())) || Fail());
}

bool SetupApiHidPlatform::GetFeature(HidHandle handle, FeatureReport& report) {
    const HANDLE file = SystemHandle(handle);
    return file != nullptr &&
           (HidD_GetFeature(file, report.data(), static_cast<ULONG>(report.size())) || Fail());
}

void SetupApiHidPlatform::Close(HidHandle handle) {
    const auto it = handles_.find(handle);
    if (it != handles_.end()) {
        CloseHandle(it->second);
        handles_.erase(it);
    }
}

void SetupApiHidPlatform::Pause(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0));
}

}  // namespace varnok
