#include "device/InputReportReader.h"

#include <algorithm>
#include <utility>

namespace varnok {
namespace {

constexpr std::uint16_t kKeyboardPage = 0x07;
constexpr std::uint16_t kButtonPage = 0x09;
constexpr std::uint16_t kFirstModifier = 0xE0;
constexpr std::uint16_t kLastModifier = 0xE7;
// Usages 1..3 of the keyboard page report an error (too many keys), not a key.
constexpr std::uint16_t kFirstKeyUsage = 0x04;
constexpr std::uint16_t kLastButton = 8;

using Field = ReportDescriptorParser::InputField;

bool IsKeyField(const Field& field) {
    return field.usagePage == kKeyboardPage || (field.usagePage == kButtonPage && !field.array);
}

// Bits [offset, offset + size) of data, least significant first; size is at most 32.
std::uint32_t Bits(std::span<const std::uint8_t> data, std::uint64_t offset, std::uint32_t size) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < size; ++i) {
        const std::uint64_t bit = offset + i;
        if ((data[bit / 8] >> (bit % 8)) & 1U) value |= 1U << i;
    }
    return value;
}

void TakeField(const Field& field, std::span<const std::uint8_t> data, HeldKeys& held) {
    for (std::uint32_t i = 0; i < field.count; ++i) {
        const std::uint32_t value =
            Bits(data, std::uint64_t{field.bitOffset} + std::uint64_t{i} * field.size, field.size);
        if (field.array) {
            // An array field holds the index of a usage from the logical minimum on; a value
            // outside the declared range, or a usage no key has, means no key.
            const std::int64_t index = std::int64_t{value} - field.logicalMinimum;
            const std::int64_t usage = std::int64_t{field.usageMinimum} + index;
            if (field.usagePage != kKeyboardPage || index < 0 || usage < kFirstKeyUsage ||
                usage > 0xFF) {
                continue;
            }
            if (usage >= kFirstModifier && usage <= kLastModifier) {
                held.modifiers |= static_cast<std::uint8_t>(1U << (usage - kFirstModifier));
            } else if (std::find(held.keys.begin(), held.keys.end(), usage) == held.keys.end()) {
                held.keys.push_back(static_cast<std::uint8_t>(usage));
            }
        } else if (value != 0) {
            const std::uint32_t usage = field.usageMinimum + i;
            if (field.usagePage == kButtonPage && usage >= 1 && usage <= kLastButton) {
                held.buttons |= static_cast<std::uint8_t>(1U << (usage - 1));
            } else if (field.usagePage == kKeyboardPage && usage >= kFirstModifier &&
                       usage <= kLastModifier) {
                held.modifiers |= static_cast<std::uint8_t>(1U << (usage - kFirstModifier));
            } else if (field.usagePage == kKeyboardPage && usage >= kFirstKeyUsage &&
                       usage <= 0xFF &&
                       std::find(held.keys.begin(), held.keys.end(), usage) == held.keys.end()) {
                held.keys.push_back(static_cast<std::uint8_t>(usage));
            }
        }
    }
}

}  // namespace

InputReportReader::InputReportReader(ReportDescriptorParser::InputReports reports)
    : reports_(std::move(reports)),
      numbered_(!reports_.reportBits.empty() && !reports_.reportBits.contains(0)) {}

bool InputReportReader::ReadsKeys() const {
    return std::any_of(reports_.fields.begin(), reports_.fields.end(), IsKeyField);
}

InputReading InputReportReader::Read(std::span<const std::uint8_t> report) const {
    InputReading reading;
    if (numbered_) {
        if (report.empty()) {
            reading.problem = "an empty report";
            return reading;
        }
        reading.reportId = report[0];
        report = report.subspan(1);
    }
    const auto declared = reports_.reportBits.find(reading.reportId);
    if (declared == reports_.reportBits.end()) {
        reading.problem = "report id " + std::to_string(reading.reportId) +
                          ", which the keyboard's descriptor does not declare";
        return reading;
    }
    const std::size_t needed = (std::size_t{declared->second} + 7) / 8;
    if (report.size() < needed) {
        reading.problem = std::to_string(report.size()) +
                          " data bytes where the descriptor declares " + std::to_string(needed);
        return reading;
    }

    reading.outcome = InputReading::Outcome::Other;
    for (const Field& field : reports_.fields) {
        // A field wider than 32 bits holds nothing a key or button would report.
        if (field.reportId != reading.reportId || !IsKeyField(field) || field.size > 32) continue;
        reading.outcome = InputReading::Outcome::Held;
        TakeField(field, report, reading.held);
    }
    return reading;
}

}  // namespace varnok
