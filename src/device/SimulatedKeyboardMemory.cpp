#include "device/SimulatedKeyboardMemory.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "device/HexBytes.h"
#include "device/KeyboardProtocol.h"
#include "store/FileProblemTexts.h"
#include "store/QuotedText.h"
#include "store/ReplaceFile.h"

namespace varnok {
namespace {

constexpr std::size_t kKeyRecordLength = 11;
constexpr std::size_t kEmptyRecordLength = 3;
constexpr std::size_t kFirstReportPayload = 5;
// A key table holds seven short lines; anything far larger is not one.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{64} * 1024;

bool IsString(std::span<const std::uint8_t> record) {
    return record[2] == kStringMarker;
}

}  // namespace

std::optional<std::size_t> SimulatedKeyboardMemory::RecordLength(std::uint8_t b0, std::uint8_t b1,
                                                                 std::uint8_t b2) {
    if (b0 >= kSlotCount) {
        return std::nullopt;
    }
    // The string marker sits where a keyboard record has its report type, and a string of 8
    // payload bytes also has 08 in its second byte: test the third byte first.
    if (b2 == kStringMarker) {
        return std::size_t{b1} + 4;
    }
    if (b1 == 0x00) {
        return kEmptyRecordLength;
    }
    if (b1 == kKeyReportLength) {
        return kKeyRecordLength;
    }
    return std::nullopt;
}

bool SimulatedKeyboardMemory::IsValidRecord(std::span<const std::uint8_t> record) {
    if (record.size() < kEmptyRecordLength || record.back() != kRecordEnd) {
        return false;
    }
    const auto length = RecordLength(record[0], record[1], record[2]);
    if (!length || *length != record.size()) {
        return false;
    }
    return !IsString(record) || record[1] <= kMaxStringPayload;
}

bool SimulatedKeyboardMemory::Store(std::span<const std::uint8_t> record) {
    if (!IsValidRecord(record)) {
        return false;
    }
    records_[record[0]].assign(record.begin(), record.end());
    return true;
}

std::span<const std::uint8_t> SimulatedKeyboardMemory::Record(std::uint8_t slot) const {
    if (slot >= kSlotCount) {
        return {};
    }
    return records_[slot];
}

FeatureReport SimulatedKeyboardMemory::PageReport(std::uint8_t page, std::size_t index) const {
    FeatureReport report;
    report.fill(0xFF);
    report[0] = kKeyboardReportId;
    const auto record = Record(page);
    const bool empty = record.empty() || (record[1] == 0x00 && !IsString(record));
    if (empty) {
        return report;
    }
    const auto data = std::span(report).subspan(1);
    if (!IsString(record)) {
        if (index == 0) {
            std::copy_n(record.begin() + 3, kReportDataBytes, data.begin());
        }
        return report;
    }
    // A string page: the first report carries the length, the marker and 5 payload bytes,
    // every further report the next 7.
    const auto payload = record.subspan(3, record[1]);
    std::span<std::uint8_t> target = data;
    std::size_t offset = 0;
    if (index == 0) {
        data[0] = record[1];
        data[1] = kStringMarker;
        target = data.subspan(2);
    } else {
        offset = kFirstReportPayload + (index - 1) * kReportDataBytes;
        if (offset >= payload.size()) {
            return report;
        }
    }
    std::fill(target.begin(), target.end(), 0x00);
    const auto part = payload.subspan(offset, std::min(target.size(), payload.size() - offset));
    std::copy(part.begin(), part.end(), target.begin());
    return report;
}

std::string SimulatedKeyboardMemory::ToText() const {
    std::string text = "# Key table of the simulated keyboard: one record per slot, in hex.\n";
    for (const auto& record : records_) {
        if (!record.empty()) {
            text += FormatHexBytes(record) + '\n';
        }
    }
    return text;
}

std::optional<SimulatedKeyboardMemory> SimulatedKeyboardMemory::FromText(const std::string& text,
                                                                         std::string& error) {
    SimulatedKeyboardMemory table;
    // A line ends at LF, CR LF or a lone CR (an editor's old Mac line ends): each is one line.
    std::size_t next = 0;
    for (int number = 1; next < text.size(); ++number) {
        const std::size_t end = std::min(text.find_first_of("\r\n", next), text.size());
        const std::string line = text.substr(next, end - next);
        next = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        const std::string where = "line " + std::to_string(number) + ": ";
        const auto bytes = ParseHexBytes(line);
        if (!bytes) {
            error = where + "expected two-digit hex bytes separated by spaces";
            return std::nullopt;
        }
        if (!IsValidRecord(*bytes)) {
            error = where +
                    "not a key record (slot 0 to 6, then 00, 08 and an 8-byte report, or a "
                    "string length up to 28, 08 and the string; ending in FF)";
            return std::nullopt;
        }
        if (!table.Record((*bytes)[0]).empty()) {
            error = where + "a second record for slot " + std::to_string((*bytes)[0]);
            return std::nullopt;
        }
        table.Store(*bytes);
    }
    return table;
}

std::optional<SimulatedKeyboardMemory> SimulatedKeyboardMemory::Load(
    const std::filesystem::path& path, std::string& error) {
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (status.type() == std::filesystem::file_type::not_found) {
        return SimulatedKeyboardMemory{};
    }
    if (code || status.type() != std::filesystem::file_type::regular) {
        error = PathInMessage(path) + ": not a readable key table file";
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, code);
    if (code || size > kMaxFileSize) {
        error = PathInMessage(path) + ": too large to be a key table file";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string contents(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(contents.data(), static_cast<std::streamsize>(size))) {
        error = PathInMessage(path) + ": cannot be read";
        return std::nullopt;
    }
    auto table = FromText(contents, error);
    if (!table) {
        error = PathInMessage(path) + ": " + error;
    }
    return table;
}

bool SimulatedKeyboardMemory::Save(const std::filesystem::path& path, std::string& error) const {
    const std::string text = ToText();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const FileResult result = ReplaceFile(path, {bytes, text.size()}); !result) {
        error = "the key table cannot be written: " + DescribeFileResult(result, 0);
        return false;
    }
    return true;
}

}  // namespace varnok
