#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/HidError.h"

namespace varnok {

// Every feature report this program exchanges is 8 bytes: byte 0 is the report id, and the
// length counts it.
constexpr std::size_t kFeatureReportSize = 8;
using FeatureReport = std::array<std::uint8_t, kFeatureReportSize>;

using HidHandle = int;
constexpr HidHandle kNoHidHandle = -1;

// One present HID interface. An empty path means the interface is listed but its path could
// not be read.
struct HidInterface {
    std::string path;
    // The vendor and product ids, when the system tells them without opening the interface
    // (Linux's sysfs does): a search then opens only interfaces with the keyboard's ids.
    std::optional<std::pair<std::uint16_t, std::uint16_t>> ids = std::nullopt;
};

// One top-level collection of an interface. Windows makes a HID device of each, and the
// keyboard's check (8-byte feature reports) is made on that device, so an interface qualifies
// through any one of its collections.
struct HidCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // The longest feature report's length in bytes, counting the report id byte, as Windows
    // reports FeatureReportByteLength; 0 when the collection has no feature report.
    std::uint16_t featureReportLength = 0;
    bool operator==(const HidCollection&) const = default;
};

// What the keyboard link needs of the operating system's HID services. One backend per
// platform (Linux hidraw, the simulated keyboard, later Windows), chosen by the build or by
// the command line; the link itself never talks to the system directly.
class HidPlatform {
public:
    virtual ~HidPlatform() = default;

    // The present HID interfaces in the system's enumeration order; nullopt when the list
    // cannot be obtained.
    virtual std::optional<std::vector<HidInterface>> EnumerateInterfaces() = 0;
    // Opens an interface for feature reports; kNoHidHandle when it cannot be opened.
    virtual HidHandle Open(const std::string& path) = 0;
    virtual bool GetAttributes(HidHandle handle, std::uint16_t& vendorId,
                               std::uint16_t& productId) = 0;
    // The interface's top-level collections in descriptor order (on Windows, where each
    // collection is an interface of its own, exactly one); false when the capabilities cannot
    // be read.
    virtual bool GetCollections(HidHandle handle, std::vector<HidCollection>& collections) = 0;
    // True when the device accepted the report.
    virtual bool SetFeature(HidHandle handle, const FeatureReport& report) = 0;
    // report[0] holds the report id (and report[1] whatever the caller put there) on entry;
    // on success the 8 bytes the device returned.
    virtual bool GetFeature(HidHandle handle, FeatureReport& report) = 0;
    virtual void Close(HidHandle handle) = 0;
    // Blocks the calling thread; the simulated keyboard's tests run it on a virtual clock.
    virtual void Pause(int milliseconds) = 0;
    // Why the last call that failed (nullopt, kNoHidHandle, false) did, as the system said
    // it; read right after the failure, on the same thread.
    virtual HidError LastError() const = 0;
};

}  // namespace varnok
