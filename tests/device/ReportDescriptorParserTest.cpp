#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "device/ReportDescriptorParser.h"
#include "device/ReportDescriptors.h"

namespace varnok {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Bits = ReportDescriptorParser::FeatureBits;
using Collection = ReportDescriptorParser::Collection;

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

// A top-level collection as parsed, and the FeatureReportByteLength Windows gives its device.
struct Expected {
    Collection collection;
    std::uint16_t length;
};

Expected Vendor(Bits bits, std::uint16_t length) {
    return {{0xFF00, 0x0001, std::move(bits)}, length};
}

struct DescriptorCase {
    std::string name;
    Bytes descriptor;
    std::optional<std::vector<Expected>> collections;  // nullopt: the descriptor is rejected
};

std::vector<DescriptorCase> DescriptorCases() {
    using namespace descriptors;
    const Expected consumer{{0x000C, 0x0001, {}}, 0};
    return {
        {"boot keyboard has no feature report", Of(kBootKeyboard), {{{{0x0001, 0x0006, {}}, 0}}}},
        {"empty descriptor", {}, std::vector<Expected>{}},
        {"keyboard with vendor report 6",
         Of(kProgrammableKeyboard),
         {{{{0x0001, 0x0006, {}}, 0}, consumer, Vendor({{6, 56}}, 8)}}},
        {"three collections sharing an interface",
         Join({kConsumerCollection, kConfigurationCollection, kLongVendorCollection}),
         {{consumer, Vendor({{6, 56}}, 8), {{0xFF01, 0x0001, {{7, 512}}}, 65}}}},
        {"the same without its long collection",
         Join({kConsumerCollection, kConfigurationCollection}),
         {{consumer, Vendor({{6, 56}}, 8)}}},
        {"each collection counts its own reports",
         Join({kConfigurationCollection, kConfigurationCollection}),
         {{Vendor({{6, 56}}, 8), Vendor({{6, 56}}, 8)}}},
        {"longest of several reports wins",
         Of(kSeveralFeatureReports),
         {{Vendor({{2, 24}, {3, 504}, {4, 12}, {6, 56}}, 64)}}},
        {"parts of one report add up", Of(kSplitFeatureReport), {{Vendor({{6, 56}}, 8)}}},
        {"report id byte counted without ids",
         Of(kNoReportIds),
         {{{{0xFFA0, 0x0001, {{0, 56}}}, 8}}}},
        {"pop restores report id and layout", Of(kPushPop), {{Vendor({{6, 56}, {7, 512}}, 65)}}},
        {"push and pop across collections",
         Of(kPushPopAcrossCollections),
         {{Vendor({{7, 512}}, 65), {{0xFF01, 0x0003, {{6, 56}}}, 8}, {{0xFF00, 0x0005, {}}, 0}}}},
        {"first usage names a collection, and only the next one",
         {0x05, 0x01, 0x09, 0x06, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0xA1, 0x01, 0xC0},
         {{{{0x0001, 0x0006, {}}, 0}, {{0x0001, 0x0000, {}}, 0}}}},
        {"4-byte usage carries its page, for its own collection only",
         {0x06, 0x00, 0xFF, 0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01, 0xC0, 0xA1, 0x01, 0xC0},
         {{consumer, {{0xFF00, 0x0000, {}}, 0}}}},
        {"long items skipped whole", Of(kLongItems), {{Vendor({{6, 56}}, 8)}}},
        {"odd bits round up",
         VendorCollection({0x75, 0x01, 0x95, 0x09, 0xB1, 0x02}),
         {{Vendor({{6, 9}}, 3)}}},
        {"4-byte item data is little-endian",
         VendorCollection({0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x07, 0x00, 0x00, 0x00, 0xB1, 0x02}),
         {{Vendor({{6, 56}}, 8)}}},
        {"longest length that fits 16 bits",
         VendorCollection({0x75, 0x08, 0x96, 0xFE, 0xFF, 0xB1, 0x02}),
         {{Vendor({{6, 65534 * 8}}, 65535)}}},
        {"nested push and pop",
         VendorCollection(
             Concat({Repeat(0xA4, 8), Repeat(0xB4, 8), {0x75, 0x08, 0x95, 0x07, 0xB1, 0x02}})),
         {{Vendor({{6, 56}}, 8)}}},

        {"feature report outside every collection",
         {0x75, 0x08, 0x95, 0x07, 0xB1, 0x02},
         std::nullopt},
        {"length beyond 16 bits", VendorCollection({0x75, 0x08, 0x96, 0xFF, 0xFF, 0xB1, 0x02}),
         std::nullopt},
        {"size times count overflows 32 bits",
         VendorCollection({0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02}),
         std::nullopt},
        {"many items add up past 16 bits",
         VendorCollection(Concat({{0x75, 0x08, 0x96, 0x00, 0x80}, Repeat(0xB0, 2)})), std::nullopt},
        {"item data cut off", {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x26, 0xFF}, std::nullopt},
        {"4-byte item data cut off", {0x97, 0x07, 0x00, 0x00}, std::nullopt},
        {"long item data cut off", VendorCollection({0xFE, 0x08, 0xF0, 0x01, 0x02}), std::nullopt},
        {"long item header cut off", {0xA1, 0x01, 0xC0, 0xFE, 0x01}, std::nullopt},
        {"collection left open",
         {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06},
         std::nullopt},
        {"end collection without collection", {0xC0}, std::nullopt},
        {"report id 0 is reserved", VendorCollection({0x85, 0x00}), std::nullopt},
        {"report id beyond one byte", VendorCollection({0x86, 0x06, 0x01}), std::nullopt},
        {"pop without push", VendorCollection({0xB4}), std::nullopt},
        {"unbounded push", VendorCollection(Repeat(0xA4, 1000)), std::nullopt},
    };
}

TEST(ReportDescriptorParser, TopLevelCollectionsAndTheirFeatureReportLengths) {
    for (const DescriptorCase& c : DescriptorCases()) {
        SCOPED_TRACE(c.name);
        const auto parsed = ReportDescriptorParser::TopLevelCollections(c.descriptor);
        ASSERT_EQ(parsed.has_value(), c.collections.has_value());
        if (!parsed) continue;
        std::vector<Collection> collections;
        std::vector<std::uint16_t> lengths;
        std::vector<std::uint16_t> parsedLengths;
        for (const Expected& expected : *c.collections) {
            collections.push_back(expected.collection);
            lengths.push_back(expected.length);
        }
        for (const Collection& collection : *parsed) {
            parsedLengths.push_back(ReportDescriptorParser::FeatureReportByteLength(collection));
        }
        EXPECT_EQ(*parsed, collections);
        EXPECT_EQ(parsedLengths, lengths);
    }
}

// Every prefix of every descriptor above, and random corruptions of them, must parse or be
// rejected without reading outside the buffer (each input sits in an exactly sized heap block,
// so AddressSanitizer sees the first byte past the end).
TEST(ReportDescriptorParser, TruncatedAndCorruptedDescriptorsAreSafe) {
    const auto parse = [](const Bytes& descriptor) {
        const auto collections = ReportDescriptorParser::TopLevelCollections(descriptor);
        if (collections) {
            for (const Collection& c : *collections)
                ReportDescriptorParser::FeatureReportByteLength(c);
        }
        return collections;
    };
    std::mt19937 random(20261207);
    for (const DescriptorCase& c : DescriptorCases()) {
        SCOPED_TRACE(c.name);
        for (std::size_t size = 0; size < c.descriptor.size(); ++size) {
            const Bytes prefix(c.descriptor.begin(), c.descriptor.begin() + size);
            // Every descriptor above ends in End Collection: a cut one has its last collection
            // open, or never opened it.
            const auto collections = parse(prefix);
            if (collections && c.collections) {
                EXPECT_LT(collections->size(), c.collections->size()) << size;
            }
        }
        for (int round = 0; round < 500 && !c.descriptor.empty(); ++round) {
            Bytes corrupted = c.descriptor;
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int e = 0; e < edits; ++e) {
                corrupted[random() % corrupted.size()] = static_cast<std::uint8_t>(random());
            }
            corrupted.resize(random() % (corrupted.size() + 1));
            const Bytes exact(corrupted.begin(), corrupted.end());
            parse(exact);
        }
    }
}

}  // namespace
}  // namespace varnok
