#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace varnok {

// What the key tester says about one press of the keyboard's keys, as the keyboard sent it.
struct TestedPress {
    enum class Kind {
        Chord,  // keys held together and released: named as a capture names the chord
        Click,  // a mouse button: named as the window's command items name it
        Text,   // a run of presses that each typed one character: the text typed
    };
    Kind kind = Kind::Chord;
    std::string name;
    // The row (key slot 1..6) whose definition is what arrived; none when no row defines it.
    std::optional<int> slot;
    // Every input report of the press, as it arrived.
    std::vector<std::vector<std::uint8_t>> reports;
    bool operator==(const TestedPress&) const = default;
};

// An input report the tester did not trust: its bytes, why, and how many it has ignored so far.
struct IgnoredReport {
    std::vector<std::uint8_t> report;
    std::string problem;
    int count = 0;
    bool operator==(const IgnoredReport&) const = default;
};

using TesterEvent = std::variant<TestedPress, IgnoredReport>;

}  // namespace varnok
