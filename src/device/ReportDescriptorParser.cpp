#include "device/ReportDescriptorParser.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace varnok {
namespace {

// Item prefix: bits 0-1 data size (3 means 4 bytes), bits 2-3 type, bits 4-7 tag.
constexpr std::uint8_t kLongItemPrefix = 0xFE;  // followed by data size, long tag, data
constexpr std::size_t kLongItemHeader = 3;

constexpr unsigned kTypeMain = 0;
constexpr unsigned kTypeGlobal = 1;
constexpr unsigned kTypeLocal = 2;

constexpr unsigned kMainInput = 0x8;
constexpr unsigned kMainCollection = 0xA;
constexpr unsigned kMainFeature = 0xB;
constexpr unsigned kMainEndCollection = 0xC;

constexpr unsigned kGlobalUsagePage = 0x0;
constexpr unsigned kGlobalLogicalMinimum = 0x1;
constexpr unsigned kGlobalReportSize = 0x7;
constexpr unsigned kGlobalReportId = 0x8;
constexpr unsigned kGlobalReportCount = 0x9;
constexpr unsigned kGlobalPush = 0xA;
constexpr unsigned kGlobalPop = 0xB;

constexpr unsigned kLocalUsage = 0x0;
constexpr unsigned kLocalUsageMinimum = 0x1;

// Input item bits: 0 constant (padding), 1 variable (else an array).
constexpr std::uint32_t kInputConstant = 0x1;
constexpr std::uint32_t kInputVariable = 0x2;

// Real descriptors push a level or two; the bound keeps a hostile one from growing the stack.
constexpr std::size_t kMaxPushDepth = 32;
// The longest report whose byte length, report id byte included, still fits in 16 bits.
constexpr std::uint64_t kMaxFeatureBits = (UINT16_MAX - 1) * 8ULL;

// The global items that name a collection and decide a report's size; Push and Pop save and
// restore them together.
struct GlobalState {
    std::uint16_t usagePage = 0;
    std::int32_t logicalMinimum = 0;
    std::uint8_t reportId = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
};

// The first Usage since the last main item: the one that names a collection.
struct FirstUsage {
    bool seen = false;
    bool hasPage = false;  // a 4-byte Usage carries its page in the high half
    std::uint32_t value = 0;
};

// A Logical Minimum is signed in as many bytes as the item carries.
std::int32_t Signed(std::uint32_t value, std::size_t dataSize) {
    if (dataSize == 0 || dataSize == 4) return static_cast<std::int32_t>(value);
    const unsigned bits = 8 * static_cast<unsigned>(dataSize);
    const std::uint32_t sign = 1U << (bits - 1);
    return static_cast<std::int32_t>(value ^ sign) - static_cast<std::int32_t>(sign);
}

struct Parsed {
    std::vector<ReportDescriptorParser::Collection> collections;
    ReportDescriptorParser::InputReports inputs;
};

// Walks the items once; nullopt for anything that does not parse cleanly.
std::optional<Parsed> Parse(std::span<const std::uint8_t> descriptor) {
    Parsed parsed;
    std::vector<ReportDescriptorParser::Collection>& collections = parsed.collections;
    GlobalState state;
    std::vector<GlobalState> stack;
    FirstUsage usage;
    std::optional<std::uint32_t> usageMinimum;
    std::size_t collectionDepth = 0;
    std::size_t pos = 0;

    while (pos < descriptor.size()) {
        const std::size_t left = descriptor.size() - pos;
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // No long item tag is defined; skip it by its declared length.
            if (left < kLongItemHeader || left - kLongItemHeader < descriptor[pos + 1]) {
                return std::nullopt;
            }
            pos += kLongItemHeader + descriptor[pos + 1];
            continue;
        }

        const std::size_t dataSize = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (left - 1 < dataSize) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i) {
            value |= static_cast<std::uint32_t>(descriptor[pos + 1 + i]) << (8 * i);
        }
        pos += 1 + dataSize;

        const unsigned type = (prefix >> 2) & 0x3;
        const unsigned tag = prefix >> 4;
        if (type == kTypeMain) {
            if (tag == kMainFeature) {
                // Windows makes a device of each top-level collection; a report outside every
                // collection belongs to none of them.
                if (collectionDepth == 0) return std::nullopt;
                std::uint64_t& total = collections.back().featureBits[state.reportId];
                total += std::uint64_t{state.reportSize} * state.reportCount;
                if (total > kMaxFeatureBits) return std::nullopt;
            } else if (tag == kMainInput) {
                if (collectionDepth == 0) return std::nullopt;
                std::uint32_t& total = parsed.inputs.reportBits[state.reportId];
                const std::uint64_t bits = std::uint64_t{state.reportSize} * state.reportCount;
                if (total + bits > kMaxFeatureBits) return std::nullopt;
                if ((value & kInputConstant) == 0 && bits > 0) {
                    const std::uint32_t first = usageMinimum.value_or(usage.value);
                    const bool hasPage = usageMinimum ? false : usage.hasPage;
                    parsed.inputs.fields.push_back(
                        {state.reportId, total, state.reportSize, state.reportCount,
                         hasPage ? static_cast<std::uint16_t>(first >> 16) : state.usagePage,
                         static_cast<std::uint16_t>(first), state.logicalMinimum,
                         (value & kInputVariable) == 0});
                }
                total += static_cast<std::uint32_t>(bits);
            } else if (tag == kMainCollection) {
                if (collectionDepth == 0) {
                    ReportDescriptorParser::Collection& opened = collections.emplace_back();
                    opened.usagePage = usage.hasPage ? static_cast<std::uint16_t>(usage.value >> 16)
                                                     : state.usagePage;
                    opened.usage = static_cast<std::uint16_t>(usage.value);
                }
                ++collectionDepth;
            } else if (tag == kMainEndCollection) {
                if (collectionDepth == 0) return std::nullopt;
                --collectionDepth;
            }
            // Local items apply to the next main item only.
            usage = {};
            usageMinimum.reset();
        } else if (type == kTypeGlobal) {
            switch (tag) {
                case kGlobalUsagePage:
                    state.usagePage = static_cast<std::uint16_t>(value);
                    break;
                case kGlobalLogicalMinimum:
                    state.logicalMinimum = Signed(value, dataSize);
                    break;
                case kGlobalReportSize:
                    state.reportSize = value;
                    break;
                case kGlobalReportCount:
                    state.reportCount = value;
                    break;
                case kGlobalReportId:
                    // Report id 0 is reserved for "no report ids"; ids are one byte on the wire.
                    if (value == 0 || value > UINT8_MAX) return std::nullopt;
                    state.reportId = static_cast<std::uint8_t>(value);
                    break;
                case kGlobalPush:
                    if (stack.size() == kMaxPushDepth) return std::nullopt;
                    stack.push_back(state);
                    break;
                case kGlobalPop:
                    if (stack.empty()) return std::nullopt;
                    state = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        } else if (type == kTypeLocal && tag == kLocalUsage && !usage.seen) {
            usage = {true, dataSize == 4, value};
        } else if (type == kTypeLocal && tag == kLocalUsageMinimum && !usageMinimum) {
            usageMinimum = value;
        }
        // Other local items and reserved short items neither name a collection nor change a
        // report's size.
    }

    // A collection left open means the descriptor was cut short.
    if (collectionDepth != 0) return std::nullopt;
    return parsed;
}

}  // namespace

std::optional<std::vector<ReportDescriptorParser::Collection>>
ReportDescriptorParser::TopLevelCollections(std::span<const std::uint8_t> descriptor) {
    auto parsed = Parse(descriptor);
    if (!parsed) return std::nullopt;
    return std::move(parsed->collections);
}

std::optional<ReportDescriptorParser::InputReports> ReportDescriptorParser::InputReportsOf(
    std::span<const std::uint8_t> descriptor) {
    auto parsed = Parse(descriptor);
    if (!parsed) return std::nullopt;
    return std::move(parsed->inputs);
}

std::uint16_t ReportDescriptorParser::FeatureReportByteLength(const Collection& collection) {
    std::uint64_t longest = 0;
    for (const auto& [id, count] : collection.featureBits) {
        longest = std::max(longest, (count + 7) / 8 + 1);
    }
    return static_cast<std::uint16_t>(longest);
}

}  // namespace varnok
