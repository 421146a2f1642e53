#include "device/linux/HidrawKeyboardInput.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <span>
#include <system_error>

#include "device/AcceptedDeviceTable.h"
#include "device/InputReportReader.h"
#include "device/KeyboardLink.h"
#include "device/ReportDescriptorParser.h"
#include "device/linux/HidrawPlatform.h"
#include "store/linux/SystemErrorText.h"

namespace varnok {
namespace {

const std::filesystem::path kClassDirectory = "/sys/class/hidraw";
const std::filesystem::path kInputDirectory = "/dev/input";
// hidraw hands out one report per read; no report is longer than this.
constexpr std::size_t kLongestReport = 4096;

// The node's report descriptor; empty when it cannot be read.
std::vector<std::uint8_t> ReportDescriptor(int fd) {
    int size = 0;
    hidraw_report_descriptor descriptor{};
    if (ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size < 0 ||
        static_cast<std::size_t>(size) > sizeof descriptor.value) {
        return {};
    }
    descriptor.size = static_cast<std::uint32_t>(size);
    if (ioctl(fd, HIDIOCGRDESC, &descriptor) < 0) return {};
    return {descriptor.value, descriptor.value + size};
}

}  // namespace

std::unique_ptr<HidrawKeyboardInput> HidrawKeyboardInput::Open(std::string& error,
                                                               std::vector<std::string>& refused) {
    HidrawPlatform platform;
    const auto interfaces = platform.EnumerateInterfaces();
    if (!interfaces) {
        error = "the HID devices cannot be listed: " + DescribeHidError(platform.LastError());
        return nullptr;
    }
    std::unique_ptr<HidrawKeyboardInput> input(new HidrawKeyboardInput());
    bool configuration = false;
    for (const HidInterface& hidInterface : *interfaces) {
        // Only the keyboard's nodes, known by their ids before anything is opened.
        const auto& ids = hidInterface.ids;
        if (!ids || !IsAcceptedDevice(ids->first, ids->second)) continue;
        const int fd = open(hidInterface.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            const int reason = errno;
            if (reason == EACCES || reason == EPERM) {
                refused.push_back(hidInterface.path + " refuses this user (" +
                                  SystemErrorText(reason) + ")");
            }
            continue;
        }
        std::vector<std::uint8_t> descriptor = ReportDescriptor(fd);
        const auto collections = ReportDescriptorParser::TopLevelCollections(descriptor);
        const auto inputs = ReportDescriptorParser::InputReportsOf(descriptor);
        std::vector<HidCollection> lengths;
        for (const auto& collection :
             collections.value_or(std::vector<ReportDescriptorParser::Collection>{})) {
            lengths.push_back({collection.usagePage, collection.usage,
                               ReportDescriptorParser::FeatureReportByteLength(collection)});
        }
        configuration = configuration || KeyboardLink::FindQualifyingCollection(lengths);
        if (!inputs || !InputReportReader(*inputs).ReadsKeys()) {
            close(fd);
            continue;
        }
        input->hidrawFds_.push_back(fd);
        input->descriptors_.push_back(std::move(descriptor));
        input->HoldEventNodes(std::filesystem::path(hidInterface.path).filename().string());
    }
    if (!refused.empty()) {
        error = "a node of the keyboard refuses this user";
        return nullptr;
    }
    if (!configuration) {
        error = "no keyboard found";
        return nullptr;
    }
    if (input->hidrawFds_.empty()) {
        error = "the keyboard declares no key or mouse input that Varnok can read";
        return nullptr;
    }
    return input;
}

void HidrawKeyboardInput::HoldEventNodes(const std::string& hidrawName) {
    // The kernel's input devices of this HID device, and their event nodes.
    std::error_code failed;
    const std::filesystem::path inputs = kClassDirectory / hidrawName / "device" / "input";
    std::vector<std::string> events;
    for (std::filesystem::directory_iterator device(inputs, failed), end; !failed && device != end;
         device.increment(failed)) {
        std::error_code inner;
        for (std::filesystem::directory_iterator entry(device->path(), inner), last;
             !inner && entry != last; entry.increment(inner)) {
            const std::string name = entry->path().filename().string();
            if (name.starts_with("event")) events.push_back(name);
        }
    }
    std::sort(events.begin(), events.end());
    for (const std::string& event : events) {
        const std::string node = (kInputDirectory / event).string();
        const int fd = open(node.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            notices_.push_back("keys will also act on the desktop: " + node +
                               " refuses this user (" + SystemErrorText(errno) +
                               "); install the udev rule 70-varnok.rules and replug the keyboard");
            continue;
        }
        if (ioctl(fd, EVIOCGRAB, 1) < 0) {
            notices_.push_back("keys will also act on the desktop: " + node + " cannot be held (" +
                               SystemErrorText(errno) + ")");
            close(fd);
            continue;
        }
        eventFds_.push_back(fd);
    }
}

HidrawKeyboardInput::~HidrawKeyboardInput() {
    // Closing an event node ends its hold.
    for (const int fd : eventFds_) close(fd);
    for (const int fd : hidrawFds_) close(fd);
}

KeyboardInput::Wait HidrawKeyboardInput::Next(int timeoutMilliseconds, std::size_t& interface,
                                              std::vector<std::uint8_t>& report,
                                              std::string& error) {
    std::vector<pollfd> polled;
    for (const int fd : hidrawFds_) polled.push_back({fd, POLLIN, 0});
    const int ready = poll(polled.data(), polled.size(), timeoutMilliseconds);
    if (ready < 0) {
        if (errno == EINTR) return Wait::Timeout;
        error = SystemErrorText(errno);
        return Wait::Failed;
    }
    for (std::size_t i = 0; i < polled.size(); ++i) {
        if (polled[i].revents == 0) continue;
        std::array<std::uint8_t, kLongestReport> buffer{};
        const ssize_t length = read(polled[i].fd, buffer.data(), buffer.size());
        if (length < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (length < 0 || (polled[i].revents & (POLLERR | POLLHUP)) != 0) {
            error = "the keyboard went away (" + SystemErrorText(length < 0 ? errno : ENODEV) + ")";
            return Wait::Failed;
        }
        interface = i;
        report.assign(buffer.begin(), buffer.begin() + length);
        return Wait::Report;
    }
    return Wait::Timeout;
}

}  // namespace varnok
