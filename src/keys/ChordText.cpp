#include "keys/ChordText.h"

#include <algorithm>
#include <array>
#include <vector>

#include "keys/KeyLookup.h"
#include "keys/UsageTable.h"
#include "keys/VirtualKeyTable.h"
#include "store/QuotedText.h"

namespace varnok {

namespace {

// The capture takes at most five key names per chord, and a report holds five usages.
constexpr std::size_t kMaxKeysInChord = 5;
constexpr std::uint8_t kVirtualKeyPrintScreen = 0x2C;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

const VirtualKeyRow* RowOfVirtualKey(std::uint8_t virtualKey) {
    for (const VirtualKeyRow& row : VirtualKeyTable) {
        if (row.virtualKey == virtualKey) return &row;
    }
    return nullptr;
}

bool IsKeypadKey(std::uint8_t virtualKey) {
    return virtualKey >= 0x60 && virtualKey <= 0x6F;
}

// The keypad's "+", "-", "." and "/" show as the plain character, like the main-block keys
// that share their names; written with "Num" in front, as the capture names the keypad
// digits, they name the keypad key.
// clang-format off
struct KeypadAlias { std::string_view name; std::uint8_t virtualKey; };
constexpr std::array<KeypadAlias, 4> kKeypadAliases{{
    {"Num+", 0x6B}, {"Num-", 0x6D}, {"Num.", 0x6E}, {"Num/", 0x6F},
}};
// clang-format on

// The capture's row for a key name: among the capture's own names, the main-block key where
// a keypad key shares the name; then the keypad aliases; then the names a read-back shows,
// by way of the key that sends the usage.
const VirtualKeyRow* FindKeyName(std::string_view name) {
    const VirtualKeyRow* found = nullptr;
    for (const VirtualKeyRow& row : VirtualKeyTable) {
        if (!SameIgnoringCase(row.name, name)) continue;
        if (found == nullptr || IsKeypadKey(found->virtualKey)) found = &row;
        if (!IsKeypadKey(found->virtualKey)) return found;
    }
    if (found != nullptr) return found;
    for (const KeypadAlias& alias : kKeypadAliases) {
        if (SameIgnoringCase(alias.name, name)) return RowOfVirtualKey(alias.virtualKey);
    }
    for (const UsageRow& row : UsageTable) {
        if (row.name.empty() || !SameIgnoringCase(row.name, name)) continue;
        const auto keyCode = UsageToKeyCode(row.usage);
        if (!keyCode) return nullptr;
        for (const VirtualKeyRow& key : VirtualKeyTable) {
            if (key.keyCode != kNoKeyCode && key.keyCode == *keyCode) return &key;
        }
        return nullptr;
    }
    return nullptr;
}

// "Ctrl|C|," and "Ctrl|C": the names between the bars; a last piece that is empty or ","
// closes the chord.
bool SplitAtBars(std::string_view written, std::vector<std::string_view>& names,
                 std::string& error) {
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t bar = written.find('|', start);
        pieces.push_back(Trim(written.substr(start, bar - start)));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    if (pieces.back().empty() || pieces.back() == ",") pieces.pop_back();
    for (std::string_view piece : pieces) {
        if (piece.empty()) {
            error = "a key name is missing between two \"|\"";
            return false;
        }
        names.push_back(piece);
    }
    return true;
}

// "Ctrl+C", "Ctrl++" (the plus key), and "PrintScreen," as the window writes a lone
// PrintScreen.
bool SplitAtPluses(std::string_view written, std::vector<std::string_view>& names,
                   std::string& error) {
    if (written.size() > 1 && written.back() == ',' && written[written.size() - 2] != '+') {
        written.remove_suffix(1);
    }
    for (std::size_t start = 0;;) {
        std::size_t plus = written.find('+', start);
        std::string_view name = Trim(written.substr(start, plus - start));
        if (name.empty() && plus != std::string_view::npos) {
            // A "+" where a name belongs is the plus key itself.
            name = written.substr(plus, 1);
            plus = written.find_first_not_of(" \t", plus + 1);
            if (plus != std::string_view::npos && written[plus] != '+') {
                error = "\"+\" must stand alone or be joined by \"+\"";
                return false;
            }
        }
        if (name.empty()) {
            error = "a key name is missing after \"+\"";
            return false;
        }
        names.push_back(name);
        if (plus == std::string_view::npos) return true;
        start = plus + 1;
    }
}

}  // namespace

std::optional<KeyChord> ParseChordText(std::string_view written, std::string& error) {
    written = Trim(written);
    if (written.empty()) {
        error = "no key is named";
        return std::nullopt;
    }
    std::vector<std::string_view> names;
    const bool split = written.find('|') != std::string_view::npos
                           ? SplitAtBars(written, names, error)
                           : SplitAtPluses(written, names, error);
    if (!split) return std::nullopt;
    if (names.empty()) {
        error = "no key is named";
        return std::nullopt;
    }
    if (names.size() > kMaxKeysInChord) {
        error = "a chord holds at most five keys";
        return std::nullopt;
    }

    KeyChord chord{{kKeyboardReportType}, {}};
    std::size_t usageByte = kFirstUsageByte;
    std::vector<std::uint8_t> keyCodes;
    std::uint8_t lastVirtualKey = 0;
    for (std::string_view name : names) {
        const VirtualKeyRow* key = FindKeyName(name);
        if (key == nullptr) {
            error = QuotedInput(name) + " is no key name";
            return std::nullopt;
        }
        const auto usage = key->keyCode == kNoKeyCode ? std::nullopt : KeyCodeToUsage(key->keyCode);
        if (!usage) {
            error = std::string("the keyboard cannot send ").append(key->name);
            return std::nullopt;
        }
        if (std::find(keyCodes.begin(), keyCodes.end(), key->keyCode) != keyCodes.end()) {
            error = std::string(key->name) + " is named twice";
            return std::nullopt;
        }
        keyCodes.push_back(key->keyCode);
        lastVirtualKey = key->virtualKey;
        if (usage->isModifier) {
            chord.report[1] |= usage->value;
        } else {
            chord.report[usageByte++] = usage->value;
        }
        chord.text += std::string(key->name) + "|";
    }
    // A lone PrintScreen is captured from its release only and shows without a bar.
    if (names.size() == 1 && lastVirtualKey == kVirtualKeyPrintScreen) chord.text.pop_back();
    chord.text += ",";
    return chord;
}

}  // namespace varnok
