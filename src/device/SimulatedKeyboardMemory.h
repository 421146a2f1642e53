#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/HidPlatform.h"

namespace varnok {

// The key table inside the simulated keyboard: at most one record per key slot 0..6, each
// kept exactly as the keyboard received it, from the slot byte to the closing FF:
//   s 00 FF                          empty slot
//   s 08 type b1..b7 FF              keyboard or mouse report (11 bytes)
//   s n 08 payload(n) FF             string of n payload bytes, n at most 28
// On disk it is a text file, one record per line in hex, ascending by slot, "#" comments.
class SimulatedKeyboardMemory {
public:
    static constexpr std::uint8_t kSlotCount = 7;
    static constexpr std::size_t kMaxStringPayload = 28;

    // The length of the record that starts with these three bytes, judged the way the
    // keyboard judges it before the rest has arrived; nullopt when they start no slot record.
    // The length may exceed what the table stores (an over-long string is still consumed to
    // its end so that its tail is not mistaken for new records).
    static std::optional<std::size_t> RecordLength(std::uint8_t b0, std::uint8_t b1,
                                                   std::uint8_t b2);
    static bool IsValidRecord(std::span<const std::uint8_t> record);

    // Replaces the record of the slot the record names; false (table unchanged) when the
    // record is not valid.
    bool Store(std::span<const std::uint8_t> record);
    // The slot's record; empty when the keyboard never received one.
    std::span<const std::uint8_t> Record(std::uint8_t slot) const;

    // The index-th report the keyboard answers for the page of a slot after it was selected:
    // report 0 carries d0..d6 as the read-back expects them (all FF for an empty slot; n 08
    // and the first five payload bytes for a string; report bytes 1..7 for a keyboard or
    // mouse record), each further report the next 7 string payload bytes. Past the end of
    // the page, and for pages that are no slot, the data bytes are FF.
    FeatureReport PageReport(std::uint8_t page, std::size_t index) const;

    std::string ToText() const;
    // Parses the text file format; nullopt and a message naming the line when malformed.
    static std::optional<SimulatedKeyboardMemory> FromText(const std::string& text,
                                                           std::string& error);

    // A missing file is an empty table. Nullopt and a message for a file that cannot be read
    // or is malformed.
    static std::optional<SimulatedKeyboardMemory> Load(const std::filesystem::path& path,
                                                       std::string& error);
    // Replaces the file whole (see ReplaceFile), so an interrupted write never leaves a
    // half-written table behind.
    bool Save(const std::filesystem::path& path, std::string& error) const;

    friend bool operator==(const SimulatedKeyboardMemory&,
                           const SimulatedKeyboardMemory&) = default;

private:
    std::array<std::vector<std::uint8_t>, kSlotCount> records_;
};

}  // namespace varnok
