// A key chord written as text (command line, profiles): what parses gives a text that parses
// to the same chord and the same text. The window names some keypad keys like their
// main-block twins ("+" for both), so a chord with keypad keys is left out of the check.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "keys/ChordText.h"

namespace {

// The keypad's usages, Keypad / to Keypad . (HID usage page 7).
constexpr std::uint8_t kFirstKeypadUsage = 0x54;
constexpr std::uint8_t kLastKeypadUsage = 0x63;

bool HasKeypadKey(const varnok::KeyReport& report) {
    return std::any_of(
        report.begin() + varnok::kFirstUsageByte, report.end(),
        [](std::uint8_t usage) { return usage >= kFirstKeypadUsage && usage <= kLastKeypadUsage; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace varnok;
    const std::string_view written(reinterpret_cast<const char*>(bytes), size);
    std::string error;
    const auto chord = ParseChordText(written, error);
    if (!chord) {
        Require(!error.empty(), "a refusal says why");
        return 0;
    }
    if (HasKeypadKey(chord->report)) return 0;
    const auto again = ParseChordText(chord->text, error);
    Require(again.has_value(), "the chord's own text parses");
    Require(again->report == chord->report, "parse-write-parse gives the same report");
    Require(again->text == chord->text, "parse-write-parse gives the same text");
    return 0;
}
