// HID report descriptors as a device may send them: each top-level collection's feature report
// length agrees with its report sizes and always fits the 16 bits it is reported in.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "device/ReportDescriptorParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const std::span<const std::uint8_t> descriptor(bytes, size);
    const auto collections = ReportDescriptorParser::TopLevelCollections(descriptor);
    if (!collections) return 0;
    for (const ReportDescriptorParser::Collection& collection : *collections) {
        std::uint64_t longest = 0;
        for (const auto& [id, count] : collection.featureBits) {
            longest = std::max(longest, (count + 7) / 8 + 1);
        }
        Require(longest <= UINT16_MAX, "the length fits in 16 bits");
        Require(ReportDescriptorParser::FeatureReportByteLength(collection) == longest,
                "the length is the collection's longest report's bytes plus its id");
    }
    return 0;
}
