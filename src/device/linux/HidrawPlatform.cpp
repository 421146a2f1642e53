#include "device/linux/HidrawPlatform.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "device/ReportDescriptorParser.h"
#include "device/linux/HidUevent.h"
#include "device/linux/PosixHidrawSystem.h"
#include "store/linux/SystemErrorText.h"

namespace varnok {
namespace {

constexpr std::string_view kNodePrefix = "hidraw";

HidrawSystem& RealSystem() {
    static PosixHidrawSystem system;
    return system;
}

// The node number of a class entry named "hidrawN"; nullopt for anything else the directory
// may hold.
std::optional<std::uint32_t> NodeNumber(std::string_view name) {
    if (!name.starts_with(kNodePrefix)) return std::nullopt;
    const std::string_view digits = name.substr(kNodePrefix.size());
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

HidrawPlatform::HidrawPlatform() : HidrawPlatform(RealSystem(), "/sys/class/hidraw", "/dev") {}

HidrawPlatform::HidrawPlatform(HidrawSystem& system, std::filesystem::path classDirectory,
                               std::filesystem::path deviceDirectory)
    : system_(system),
      classDirectory_(std::move(classDirectory)),
      deviceDirectory_(std::move(deviceDirectory)) {}

bool HidrawPlatform::FailWithErrno() {
    const int error = errno;
    return Fail(SystemErrorText(error), "errno " + std::to_string(error));
}

bool HidrawPlatform::Fail(std::string text, std::string code) {
    lastError_ = {std::move(text), std::move(code)};
    return false;
}

std::optional<std::vector<HidInterface>> HidrawPlatform::EnumerateInterfaces() {
    std::error_code error;
    std::vector<std::pair<std::uint32_t, std::string>> nodes;
    for (std::filesystem::directory_iterator entry(classDirectory_, error), end;
         !error && entry != end; entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (const auto number = NodeNumber(name)) nodes.emplace_back(*number, std::move(name));
    }
    if (error) {
        Fail(error.message(), "errno " + std::to_string(error.value()));
        return std::nullopt;
    }

    // The directory lists in no particular order; hidraw2 comes before hidraw10.
    std::sort(nodes.begin(), nodes.end());
    std::vector<HidInterface> interfaces;
    for (const auto& node : nodes) {
        interfaces.push_back(
            HidInterface{(deviceDirectory_ / node.second).string(),
                         HidUeventIds(classDirectory_ / node.second / "device" / "uevent")});
    }
    return interfaces;
}

// Read and write, since the link sends reports to the keyboard (the udev rule grants both).
// No read-only fallback: a node the user may only read is no keyboard we can configure, and
// skipping it at discovery beats taking it and failing at the first report of a save.
HidHandle HidrawPlatform::Open(const std::string& path) {
    const int fd = system_.Open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        FailWithErrno();
        return kNoHidHandle;
    }
    return fd;
}

bool HidrawPlatform::GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                                   std::uint16_t& productId) {
    if (handle < 0) return Fail("no such handle", {});
    hidraw_devinfo info{};
    if (system_.Ioctl(handle, HIDIOCGRAWINFO, &info) < 0) return FailWithErrno();
    // The kernel keeps the ids in signed 16-bit fields; the bits are the USB ids.
    vendorId = static_cast<std::uint16_t>(info.vendor);
    productId = static_cast<std::uint16_t>(info.product);
    return true;
}

bool HidrawPlatform::GetCollections(HidHandle handle, std::vector<HidCollection>& collections) {
    if (handle < 0) return Fail("no such handle", {});
    int size = 0;
    if (system_.Ioctl(handle, HIDIOCGRDESCSIZE, &size) < 0) return FailWithErrno();
    hidraw_report_descriptor descriptor{};
    if (size < 0 || static_cast<std::size_t>(size) > sizeof descriptor.value) {
        return Fail("a report descriptor of " + std::to_string(size) + " bytes", {});
    }
    descriptor.size = static_cast<std::uint32_t>(size);
    if (system_.Ioctl(handle, HIDIOCGRDESC, &descriptor) < 0) return FailWithErrno();

    const auto parsed = ReportDescriptorParser::TopLevelCollections(
        std::span<const std::uint8_t>(descriptor.value, static_cast<std::size_t>(size)));
    if (!parsed) return Fail("a malformed report descriptor", {});
    collections.clear();
    for (const ReportDescriptorParser::Collection& collection : *parsed) {
        collections.push_back({collection.usagePage, collection.usage,
                               ReportDescriptorParser::FeatureReportByteLength(collection)});
    }
    return true;
}

// The feature ioctls answer how many bytes they moved; fewer than 8 is a failure too.
bool HidrawPlatform::Transferred(int result) {
    if (result < 0) return FailWithErrno();
    if (result != static_cast<int>(kFeatureReportSize)) {
        return Fail(
            std::to_string(result) + " of " + std::to_string(kFeatureReportSize) + " bytes moved",
            {});
    }
    return true;
}

bool HidrawPlatform::SetFeature(HidHandle handle, const FeatureReport& report) {
    if (handle < 0) return Fail("no such handle", {});
    FeatureReport buffer = report;
    return Transferred(system_.Ioctl(handle, HIDIOCSFEATURE(kFeatureReportSize), buffer.data()));
}

bool HidrawPlatform::GetFeature(HidHandle handle, FeatureReport& report) {
    if (handle < 0) return Fail("no such handle", {});
    // Work on a copy so that a failed or short transfer leaves the caller's report as it was.
    FeatureReport buffer = report;
    if (!Transferred(system_.Ioctl(handle, HIDIOCGFEATURE(kFeatureReportSize), buffer.data()))) {
        return false;
    }
    report = buffer;
    return true;
}

void HidrawPlatform::Close(HidHandle handle) {
    if (handle >= 0) system_.Close(handle);
}

void HidrawPlatform::Pause(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace varnok
