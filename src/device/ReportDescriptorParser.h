#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace varnok {

// Reads the top-level collections of a HID report descriptor and the feature report sizes of
// each, so that a hidraw node, which carries every collection of its interface, can be judged
// collection by collection as Windows judges the HID device it makes of each; and where each
// data field of the input reports lies, so that the key tester can read what a key sends.
// The descriptor comes from the device and is untrusted: every item is bounds-checked, and a
// descriptor that does not parse cleanly yields nullopt, never a guess.
class ReportDescriptorParser {
public:
    // Data bits of each feature report, keyed by report id (0 for a device without report ids).
    using FeatureBits = std::map<std::uint8_t, std::uint64_t>;

    // A collection opened outside every other one, with the feature reports declared in it.
    struct Collection {
        std::uint16_t usagePage = 0;
        std::uint16_t usage = 0;
        FeatureBits featureBits;
        bool operator==(const Collection&) const = default;
    };

    // In descriptor order. nullopt when the descriptor is malformed, when a feature or input
    // report lies outside every collection, or when a report's length exceeds 16 bits.
    static std::optional<std::vector<Collection>> TopLevelCollections(
        std::span<const std::uint8_t> descriptor);

    // One Input item's data fields: count fields of size bits each, in one input report.
    struct InputField {
        std::uint8_t reportId = 0;  // 0 for a device without report ids
        // Where the first field starts, in bits after the report id byte (if any).
        std::uint32_t bitOffset = 0;
        std::uint32_t size = 0;
        std::uint32_t count = 0;
        std::uint16_t usagePage = 0;
        // The usage of the first field (a variable item) or of the logical minimum (an array).
        std::uint16_t usageMinimum = 0;
        std::int32_t logicalMinimum = 0;
        bool array = false;  // each field holds a usage index, not one usage's state
        bool operator==(const InputField&) const = default;
    };
    struct InputReports {
        std::vector<InputField> fields;  // data fields in descriptor order; padding left out
        // Each input report's data bits, keyed by report id (0 without report ids).
        std::map<std::uint8_t, std::uint32_t> reportBits;
    };

    // The same parse as TopLevelCollections, nullopt exactly when it gives nullopt.
    static std::optional<InputReports> InputReportsOf(std::span<const std::uint8_t> descriptor);

    // A collection's longest feature report in data bytes (bits rounded up) plus one byte for
    // the report id, which Windows counts also for a device without report ids; 0 when the
    // collection has no feature report. Fits 16 bits for every collection parsed above.
    static std::uint16_t FeatureReportByteLength(const Collection& collection);
};

}  // namespace varnok
