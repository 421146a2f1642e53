#include "device/KeyboardLink.h"

#include <algorithm>
#include <vector>

#include "device/AcceptedDeviceTable.h"
#include "device/KeyboardProtocol.h"

namespace varnok {

KeyboardLink::KeyboardLink(HidPlatform& platform)
    : platform_(platform), lastSelectedPage_(kNoPage) {}

KeyboardLink::~KeyboardLink() {
    Close();
}

bool KeyboardLink::Open() {
    failure_.reset();
    if (IsOpen()) {
        return true;
    }
    // A new search means the device may have been replugged: assume nothing is selected.
    lastSelectedPage_ = kNoPage;
    collection_.reset();
    path_.clear();
    const auto interfaces = platform_.EnumerateInterfaces();
    if (!interfaces) {
        return Fail(KeyboardFailure::Step::Listing, {});
    }
    // Every interface counts, not only the first few: on Linux each hidraw node is one, and a
    // desktop often has more than ten. An interface that cannot be read is skipped rather than
    // ending the search, so that one broken device cannot hide the keyboard.
    for (const HidInterface& hidInterface : *interfaces) {
        if (TakeIfKeyboard(hidInterface)) {
            failure_.reset();
            return true;
        }
    }
    return false;
}

bool KeyboardLink::TakeIfKeyboard(const HidInterface& hidInterface) {
    if (hidInterface.path.empty()) {
        return false;
    }
    // Ids known beforehand spare every other device an open.
    if (hidInterface.ids && !IsAcceptedDevice(hidInterface.ids->first, hidInterface.ids->second)) {
        return false;
    }
    // Only an interface known to be the keyboard has a failure worth telling: on Windows,
    // where no ids are listed, any other device may refuse to be opened.
    const bool keyboard = hidInterface.ids.has_value();
    const HidHandle handle = platform_.Open(hidInterface.path);
    if (handle == kNoHidHandle) {
        if (keyboard) Fail(KeyboardFailure::Step::Opening, hidInterface.path);
        return false;
    }
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::vector<HidCollection> collections;
    std::optional<QualifyingCollection> qualifying;
    if (!platform_.GetAttributes(handle, vendorId, productId)) {
        if (keyboard) Fail(KeyboardFailure::Step::Identifying, hidInterface.path);
    } else if (IsAcceptedDevice(vendorId, productId)) {
        if (platform_.GetCollections(handle, collections)) {
            qualifying = FindQualifyingCollection(collections);
        } else {
            Fail(KeyboardFailure::Step::Identifying, hidInterface.path);
        }
    }
    if (!qualifying) {
        platform_.Close(handle);
        return false;
    }
    collection_ = qualifying;
    path_ = hidInterface.path;
    handle_ = handle;
    return true;
}

std::optional<KeyboardLink::QualifyingCollection> KeyboardLink::FindQualifyingCollection(
    std::span<const HidCollection> collections) {
    for (std::size_t index = 0; index < collections.size(); ++index) {
        // The whole length is compared: a collection with 264-byte reports does not qualify.
        if (collections[index].featureReportLength == kFeatureReportSize) {
            return QualifyingCollection{index, collections[index]};
        }
    }
    return std::nullopt;
}

void KeyboardLink::Close() {
    if (IsOpen()) {
        platform_.Close(handle_);
        handle_ = kNoHidHandle;
    }
}

bool KeyboardLink::Fail(KeyboardFailure::Step step, const std::string& path) {
    failure_ = KeyboardFailure{step, path, platform_.LastError()};
    return false;
}

bool KeyboardLink::SendReport(const FeatureReport& report) {
    if (platform_.SetFeature(handle_, report)) {
        return true;
    }
    Fail(KeyboardFailure::Step::Sending, path_);
    Close();
    return false;
}

bool KeyboardLink::WriteBlock(std::span<const std::uint8_t> block) {
    failure_.reset();
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
            return Fail(KeyboardFailure::Step::Sending, path_);
        }
        lastSelectedPage_ = page;
    }
    (*buffer)[0] = kKeyboardReportId;
    (*buffer)[1] = page;
    return platform_.GetFeature(handle_, *buffer) || Fail(KeyboardFailure::Step::Receiving, path_);
}

bool KeyboardLink::IsOpen() const {
    return handle_ != kNoHidHandle;
}

const std::optional<KeyboardLink::QualifyingCollection>& KeyboardLink::Collection() const {
    return collection_;
}

void KeyboardLink::Pause(int milliseconds) {
    platform_.Pause(milliseconds);
}

}  // namespace varnok
