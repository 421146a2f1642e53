#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace varnok {

// Reads the feature report sizes out of a HID report descriptor, so that a hidraw node can be
// judged by the same FeatureReportByteLength that the Windows HID parser reports for it.
// The descriptor comes from the device and is untrusted: every item is bounds-checked, and a
// descriptor that does not parse cleanly yields nullopt, never a guess.
class ReportDescriptorParser {
public:
    // Data bits of each feature report, keyed by report id (0 for a device without report ids).
    using FeatureBits = std::map<std::uint8_t, std::uint64_t>;

    static std::optional<FeatureBits> FeatureReportBits(std::span<const std::uint8_t> descriptor);

    // The longest feature report's data bytes (bits rounded up) plus one byte for the report id,
    // which Windows counts also for a device without report ids; 0 when the device has no
    // feature report. nullopt when the descriptor is malformed or the length exceeds 16 bits.
    static std::optional<std::uint16_t> FeatureReportByteLength(
        std::span<const std::uint8_t> descriptor);
};

}  // namespace varnok
