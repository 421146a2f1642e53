#include "keys/KeyReportName.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/HexBytes.h"
#include "keys/CommandItemTable.h"
#include "keys/KeyLookup.h"
#include "keys/VirtualKeyTable.h"

namespace varnok {

namespace {

constexpr std::uint8_t kFirstModifierUsage = 0xE0;
constexpr int kModifierBits = 8;
// Windows gives both Ctrl (Shift, Alt) keys one virtual key, and both Windows keys one name:
// a right-hand modifier is named as its left-hand one, four bits below.
constexpr int kRightHandModifierBits = 4;
constexpr std::uint8_t kUsagePrintScreen = 0x46;
constexpr std::uint8_t kEndOfKeys = 0xFF;  // how the keyboard ends a page's data
constexpr std::uint8_t kFirstKeypadUsage = 0x54;
constexpr std::uint8_t kLastKeypadUsage = 0x63;
// The capture gives keypad "*" a key code of its own (0x9A) that no usage row holds.
constexpr std::uint8_t kUsageKeypadStar = 0x55;
constexpr std::uint8_t kVirtualKeyKeypadStar = 0x6A;

bool IsKeypadVirtualKey(std::uint8_t virtualKey) {
    return virtualKey >= 0x60 && virtualKey <= 0x6F;
}

// A usage that no key name fits, by its number: the row still says which key the keyboard
// sends ("0x68" for F13), and never shows less than the report holds.
std::string UsageNumber(std::uint8_t usage) {
    return "0x" + FormatHexBytes(std::span(&usage, 1));
}

// The capture's name for the key that sends usage. Keys sharing a key code (keypad "/" and
// "/ ?") part by whether the usage is a keypad one.
std::string KeyName(std::uint8_t usage) {
    if (usage == kUsageKeypadStar) return CaptureName(kVirtualKeyKeypadStar).value_or("");
    const bool keypad = usage >= kFirstKeypadUsage && usage <= kLastKeypadUsage;
    const auto keyCode = UsageToKeyCode(usage);
    const VirtualKeyRow* found = nullptr;
    for (const VirtualKeyRow& row : VirtualKeyTable) {
        if (!keyCode || *keyCode == kNoKeyCode || row.keyCode != *keyCode) continue;
        if (IsKeypadVirtualKey(row.virtualKey) == keypad) return std::string(row.name);
        if (found == nullptr) found = &row;
    }
    if (found != nullptr) return std::string(found->name);
    const std::string name = UsageName(usage);
    return name.empty() ? UsageNumber(usage) : name;
}

std::string NameOfReadyMadeAction(const KeyReport& report) {
    for (const CommandItem& item : CommandItemTable) {
        const bool same = report[0] == kMouseReportType
                              ? item.report[0] == kMouseReportType && item.report[1] == report[1]
                              : item.report == report;
        if (same) return std::string(item.name);
    }
    return {};
}

}  // namespace

std::string NameKeyReport(const KeyReport& report) {
    const std::string action = NameOfReadyMadeAction(report);
    if (!action.empty() || report[0] != kKeyboardReportType) return action;

    const std::uint8_t modifiers = report[1];
    auto keys = std::span(report).subspan(kFirstUsageByte);
    keys = keys.first(
        static_cast<std::size_t>(std::find(keys.begin(), keys.end(), kEndOfKeys) - keys.begin()));
    const bool lonePrintScreen =
        modifiers == 0 && std::count(keys.begin(), keys.end(), kUsagePrintScreen) == 1 &&
        std::count(keys.begin(), keys.end(), 0) == static_cast<std::ptrdiff_t>(keys.size()) - 1;
    if (lonePrintScreen) return KeyName(kUsagePrintScreen) + ",";

    std::string text;
    for (int bit = 0; bit < kModifierBits; ++bit) {
        if (((modifiers >> bit) & 1) == 0) continue;
        text +=
            KeyName(static_cast<std::uint8_t>(kFirstModifierUsage + bit % kRightHandModifierBits)) +
            "|";
    }
    for (const std::uint8_t usage : keys) {
        if (usage != 0) text += KeyName(usage) + "|";
    }
    return text.empty() ? text : text + ",";
}

}  // namespace varnok
