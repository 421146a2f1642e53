#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "keys/KeyReport.h"

namespace varnok {

// A key chord as a slot holds it: the key report and the text the window shows for it.
struct KeyChord {
    KeyReport report;
    std::string text;
};

// Reads a chord written as text: as the window writes it, each key name followed by "|" and
// the chord closed by "," ("Ctrl|Alt|F4|,"; the closing "," may be left out), or with the
// names joined by "+" ("Ctrl+C", "Ctrl++" for Ctrl and plus). Key names are those the window
// gives captured keys, in any case, or those a read-back shows ("Enter", "PageUp"); a name
// the keypad shares with the main block ("+", "-", ".") is the main-block key, and "Num+",
// "Num-", "Num.", "Num/" the keypad's. The
// result is what capturing the same keys, pressed in the order written, records: the usages
// in that order, the modifiers as bits, and the window's own names in the text. Nullopt and
// the reason in error for an unknown name, a key the keyboard cannot store, a key named
// twice, or more than five keys.
std::optional<KeyChord> ParseChordText(std::string_view written, std::string& error);

}  // namespace varnok
