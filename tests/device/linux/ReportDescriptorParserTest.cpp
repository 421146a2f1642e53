#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "device/linux/ReportDescriptorParser.h"
#include "device/linux/ReportDescriptors.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Bits = ReportDescriptorParser::FeatureBits;

template <std::size_t N>
Bytes Of(const std::uint8_t (&descriptor)[N]) {
    return Bytes(descriptor, descriptor + N);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A vendor collection around the given items, with report 6 as the current report.
Bytes VendorCollection(const Bytes& items) {
    return Concat({{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06}, items, {0xC0}});
}

Bytes Repeat(std::uint8_t byte, std::size_t count) {
    return Bytes(count, byte);
}

struct DescriptorCase {
    std::string name;
    Bytes descriptor;
    std::optional<Bits> bits;  // nullopt: the descriptor must be rejected
    std::uint16_t length;      // FeatureReportByteLength when accepted
};

std::vector<DescriptorCase> DescriptorCases() {
    return {
        {"boot keyboard has no feature report", Of(descriptors::kBootKeyboard), Bits{}, 0},
        {"empty descriptor", {}, Bits{}, 0},
        {"keyboard with vendor report 6", Of(descriptors::kProgrammableKeyboard), Bits{{6, 56}}, 8},
        {"longest of several reports wins", Of(descriptors::kSeveralFeatureReports),
         Bits{{2, 24}, {3, 504}, {4, 12}, {6, 56}}, 64},
        {"parts of one report add up", Of(descriptors::kSplitFeatureReport), Bits{{6, 56}}, 8},
        {"report id byte counted without ids", Of(descriptors::kNoReportIds), Bits{{0, 56}}, 8},
        {"pop restores report id and layout", Of(descriptors::kPushPop), Bits{{6, 56}, {7, 512}},
         65},
        {"long items skipped whole", Of(descriptors::kLongItems), Bits{{6, 56}}, 8},
        {"odd bits round up", VendorCollection({0x75, 0x01, 0x95, 0x09, 0xB1, 0x02}), Bits{{6, 9}},
         3},
        {"4-byte item data is little-endian",
         VendorCollection({0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x07, 0x00, 0x00, 0x00, 0xB1, 0x02}),
         Bits{{6, 56}}, 8},
        {"longest length that fits 16 bits",
         VendorCollection({0x75, 0x08, 0x96, 0xFE, 0xFF, 0xB1, 0x02}), Bits{{6, 65534 * 8}}, 65535},
        {"nested push and pop",
         VendorCollection(
             Concat({Repeat(0xA4, 8), Repeat(0xB4, 8), {0x75, 0x08, 0x95, 0x07, 0xB1, 0x02}})),
         Bits{{6, 56}}, 8},

        {"length beyond 16 bits", VendorCollection({0x75, 0x08, 0x96, 0xFF, 0xFF, 0xB1, 0x02}),
         std::nullopt, 0},
        {"size times count overflows 32 bits",
         VendorCollection({0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02}),
         std::nullopt, 0},
        {"many items add up past 16 bits",
         VendorCollection(Concat({{0x75, 0x08, 0x96, 0x00, 0x80}, Repeat(0xB0, 2)})), std::nullopt,
         0},
        {"item data cut off",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x26, 0xFF},
         std::nullopt,
         0},
        {"4-byte item data cut off", {0x97, 0x07, 0x00, 0x00}, std::nullopt, 0},
        {"long item data cut off", VendorCollection({0xFE, 0x08, 0xF0, 0x01, 0x02}), std::nullopt,
         0},
        {"long item header cut off", {0xA1, 0x01, 0xC0, 0xFE, 0x01}, std::nullopt, 0},
        {"collection left open",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06},
         std::nullopt,
         0},
        {"end collection without collection", {0xC0}, std::nullopt, 0},
        {"report id 0 is reserved", VendorCollection({0x85, 0x00}), std::nullopt, 0},
        {"report id beyond one byte", VendorCollection({0x86, 0x06, 0x01}), std::nullopt, 0},
        {"pop without push", VendorCollection({0xB4}), std::nullopt, 0},
        {"unbounded push", VendorCollection(Repeat(0xA4, 1000)), std::nullopt, 0},
    };
}

TEST(ReportDescriptorParser, FeatureReportSizes) {
    for (const DescriptorCase& c : DescriptorCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReportDescriptorParser::FeatureReportBits(c.descriptor), c.bits);
        const std::optional<std::uint16_t> length =
            ReportDescriptorParser::FeatureReportByteLength(c.descriptor);
        if (c.bits) {
            EXPECT_EQ(length, c.length);
        } else {
            EXPECT_EQ(length, std::nullopt);
        }
    }
}

// Every prefix of every descriptor above, and random corruptions of them, must parse or be
// rejected without reading outside the buffer (each input sits in an exactly sized heap block,
// so AddressSanitizer sees the first byte past the end).
TEST(ReportDescriptorParser, TruncatedAndCorruptedDescriptorsAreSafe) {
    std::mt19937 random(20261207);
    for (const DescriptorCase& c : DescriptorCases()) {
        SCOPED_TRACE(c.name);
        for (std::size_t size = 0; size <= c.descriptor.size(); ++size) {
            const Bytes prefix(c.descriptor.begin(), c.descriptor.begin() + size);
            const auto bits = ReportDescriptorParser::FeatureReportBits(prefix);
            EXPECT_EQ(bits.has_value(),
                      ReportDescriptorParser::FeatureReportByteLength(prefix).has_value());
        }
        for (int round = 0; round < 500 && !c.descriptor.empty(); ++round) {
            Bytes corrupted = c.descriptor;
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int e = 0; e < edits; ++e) {
                corrupted[random() % corrupted.size()] = static_cast<std::uint8_t>(random());
            }
            corrupted.resize(random() % (corrupted.size() + 1));
            const Bytes exact(corrupted.begin(), corrupted.end());
            ReportDescriptorParser::FeatureReportByteLength(exact);
        }
    }
}

}  // namespace
}  // namespace varnok
