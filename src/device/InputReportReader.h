#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/ReportDescriptorParser.h"

namespace varnok {

// What a keyboard's input report says is held down: the modifier bits (bit n for usage
// 0xE0 + n, as in a key report), the other keys' usages in the order the report lists them,
// and the mouse buttons (bit n for button n + 1).
struct HeldKeys {
    std::uint8_t modifiers = 0;
    std::vector<std::uint8_t> keys;
    std::uint8_t buttons = 0;
    bool Empty() const { return modifiers == 0 && keys.empty() && buttons == 0; }
    bool operator==(const HeldKeys&) const = default;
};

// One input report as read.
struct InputReading {
    enum class Outcome {
        Held,   // a report of the keyboard's typing or mouse fields: held says what is down
        Other,  // a report that carries none of them (consumer keys, a vendor report)
        Bad,    // not what the descriptor declares: problem says why, nothing is taken from it
    };
    Outcome outcome = Outcome::Bad;
    std::uint8_t reportId = 0;
    HeldKeys held;
    std::string problem;
};

// Reads input reports as a hidraw node or Raw Input delivers them (the report id first when
// the device numbers its reports) by the fields of the device's report descriptor: modifier
// bits and key arrays of the keyboard page, and mouse buttons. The report comes from the
// device and is untrusted: a report of an undeclared id or shorter than declared is Bad.
class InputReportReader {
public:
    explicit InputReportReader(ReportDescriptorParser::InputReports reports);

    // False when the descriptor declares no keyboard or mouse field to read.
    bool ReadsKeys() const;
    InputReading Read(std::span<const std::uint8_t> report) const;

private:
    ReportDescriptorParser::InputReports reports_;
    bool numbered_ = false;
};

}  // namespace varnok
