#include "device/KeyboardLink.h"

#include <algorithm>

#include "device/AcceptedDeviceTable.h"
#include "device/KeyboardProtocol.h"

namespace varnok {

KeyboardLink::KeyboardLink(HidPlatform& platform)
    : platform_(platform), lastSelectedPage_(kNoPage) {}

KeyboardLink::~KeyboardLink() {
    Close();
}

bool KeyboardLink::Open() {
    if (IsOpen()) {
        return true;
    }
    // A new search means the device may have been replugged: assume nothing is selected.
    lastSelectedPage_ = kNoPage;
    const auto interfaces = platform_.EnumerateInterfaces();
    if (!interfaces) {
        return false;
    }
    // Every interface counts, not only the first few: on Linux each hidraw node is one, and a
    // desktop often has more than ten. An interface that cannot be read is skipped rather than
    // ending the search, so that one broken device cannot hide the keyboard.
    for (const HidInterface& hidInterface : *interfaces) {
        if (TakeIfKeyboard(hidInterface)) {
            return true;
        }
    }
    return false;
}

bool KeyboardLink::TakeIfKeyboard(const HidInterface& hidInterface) {
    if (hidInterface.path.empty()) {
        return false;
    }
    const HidHandle handle = platform_.Open(hidInterface.path);
    if (handle == kNoHidHandle) {
        return false;
    }
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t length = 0;
    bool isKeyboard = platform_.GetAttributes(handle, vendorId, productId) &&
                      IsAcceptedDevice(vendorId, productId) &&
                      platform_.GetFeatureReportLength(handle, length);
    if (isKeyboard) {
        featureReportLength_ = length;
        // The whole length is compared: a device with 264-byte reports is not the keyboard.
        isKeyboard = length == kFeatureReportSize;
    }
    if (!isKeyboard) {
        platform_.Close(handle);
        return false;
    }
    handle_ = handle;
    return true;
}

void KeyboardLink::Close() {
    if (IsOpen()) {
        platform_.Close(handle_);
        handle_ = kNoHidHandle;
    }
}

bool KeyboardLink::SendReport(const FeatureReport& report) {
    if (platform_.SetFeature(handle_, report)) {
        return true;
    }
    Close();
    return false;
}

bool KeyboardLink::WriteBlock(std::span<const std::uint8_t> block) {
    if (!IsOpen() || block.size() > kMaxBlockLength) {
        return false;
    }
    for (std::size_t offset = 0; offset < block.size(); offset += kReportDataBytes) {
        if (offset > 0) {
            platform_.Pause(kReportPauseMilliseconds);
        }
        FeatureReport report{};
        report[0] = kKeyboardReportId;
        const auto part = block.subspan(offset, std::min(kReportDataBytes, block.size() - offset));
        std::copy(part.begin(), part.end(), report.begin() + 1);
        if (!SendReport(report)) {
            return false;
        }
    }
    return true;
}

bool KeyboardLink::ReadPage(std::uint8_t page, FeatureReport* buffer) {
    if (buffer == nullptr || !Open()) {
        return false;
    }
    if (page != lastSelectedPage_) {
        const FeatureReport select{kKeyboardReportId, kPageSelectCommand, page, 0, 0, 0, 0, 0};
        if (!platform_.SetFeature(handle_, select)) {
            return false;
        }
        lastSelectedPage_ = page;
    }
    (*buffer)[0] = kKeyboardReportId;
    (*buffer)[1] = page;
    return platform_.GetFeature(handle_, *buffer);
}

bool KeyboardLink::IsOpen() const {
    return handle_ != kNoHidHandle;
}

std::uint16_t KeyboardLink::FeatureReportLength() const {
    return featureReportLength_;
}

void KeyboardLink::Pause(int milliseconds) {
    platform_.Pause(milliseconds);
}

}  // namespace varnok
