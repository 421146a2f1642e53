// HID report descriptors as a device may send them: the feature report length agrees with
// the report sizes and always fits the 16 bits it is reported in.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "device/linux/ReportDescriptorParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const std::span<const std::uint8_t> descriptor(bytes, size);
    const auto bits = ReportDescriptorParser::FeatureReportBits(descriptor);
    const auto length = ReportDescriptorParser::FeatureReportByteLength(descriptor);
    Require(bits.has_value() == length.has_value(), "both readings agree on malformed input");
    if (!bits) return 0;
    std::uint64_t longest = 0;
    for (const auto& [id, count] : *bits) longest = std::max(longest, (count + 7) / 8 + 1);
    Require(longest <= UINT16_MAX, "the length fits in 16 bits");
    Require(*length == longest, "the length is the longest report's bytes plus its id");
    return 0;
}
