#include "device/linux/HidrawPlatform.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "device/linux/HidUevent.h"
#include "device/linux/PosixHidrawSystem.h"
#include "device/linux/ReportDescriptorParser.h"

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

std::optional<std::vector<HidInterface>> HidrawPlatform::EnumerateInterfaces() {
    std::error_code error;
    std::vector<std::pair<std::uint32_t, std::string>> nodes;
    for (std::filesystem::directory_iterator entry(classDirectory_, error), end;
         !error && entry != end; entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (const auto number = NodeNumber(name)) nodes.emplace_back(*number, std::move(name));
    }
    if (error) return std::nullopt;

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
    return fd < 0 ? kNoHidHandle : fd;
}

bool HidrawPlatform::GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                                   std::uint16_t& productId) {
    if (handle < 0) return false;
    hidraw_devinfo info{};
    if (system_.Ioctl(handle, HIDIOCGRAWINFO, &info) < 0) return false;
    // The kernel keeps the ids in signed 16-bit fields; the bits are the USB ids.
    vendorId = static_cast<std::uint16_t>(info.vendor);
    productId = static_cast<std::uint16_t>(info.product);
    return true;
}

bool HidrawPlatform::GetCollections(HidHandle handle, std::vector<HidCollection>& collections) {
    if (handle < 0) return false;
    int size = 0;
    if (system_.Ioctl(handle, HIDIOCGRDESCSIZE, &size) < 0) return false;
    hidraw_report_descriptor descriptor{};
    if (size < 0 || static_cast<std::size_t>(size) > sizeof descriptor.value) return false;
    descriptor.size = static_cast<std::uint32_t>(size);
    if (system_.Ioctl(handle, HIDIOCGRDESC, &descriptor) < 0) return false;

    const auto parsed = ReportDescriptorParser::TopLevelCollections(
        std::span<const std::uint8_t>(descriptor.value, static_cast<std::size_t>(size)));
    if (!parsed) return false;
    collections.clear();
    for (const ReportDescriptorParser::Collection& collection : *parsed) {
        collections.push_back({collection.usagePage, collection.usage,
                               ReportDescriptorParser::FeatureReportByteLength(collection)});
    }
    return true;
}

bool HidrawPlatform::SetFeature(HidHandle handle, const FeatureReport& report) {
    if (handle < 0) return false;
    FeatureReport buffer = report;
    return system_.Ioctl(handle, HIDIOCSFEATURE(kFeatureReportSize), buffer.data()) ==
           static_cast<int>(kFeatureReportSize);
}

bool HidrawPlatform::GetFeature(HidHandle handle, FeatureReport& report) {
    if (handle < 0) return false;
    // Work on a copy so that a failed or short transfer leaves the caller's report as it was.
    FeatureReport buffer = report;
    if (system_.Ioctl(handle, HIDIOCGFEATURE(kFeatureReportSize), buffer.data()) !=
        static_cast<int>(kFeatureReportSize)) {
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
