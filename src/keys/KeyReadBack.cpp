#include "keys/KeyReadBack.h"

#include <algorithm>
#include <span>

#include "device/KeyboardProtocol.h"
#include "keys/CommandItemTable.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyLookup.h"
#include "keys/KeySlots.h"

namespace varnok {

namespace {

constexpr std::uint8_t kEmptySlot = 0xFF;
constexpr std::uint8_t kEndOfData = 0xFF;
constexpr std::uint8_t kFirstModifierUsage = 0xE0;

// Button codes of the mouse command items, by item index.
// clang-format off
constexpr std::array<std::pair<std::uint8_t, std::size_t>, 3> kMouseButtons = {{
    {0x81, 1},  // Mouse Left   Click
    {0x82, 2},  // Mouse Right  Click
    {0x80, 3},  // Mouse Double Click
}};
// clang-format on

const std::pair<std::uint8_t, std::size_t>* FindMouseButton(std::uint8_t code) {
    const auto found = std::find_if(kMouseButtons.begin(), kMouseButtons.end(),
                                    [&](const auto& button) { return button.first == code; });
    return found == kMouseButtons.end() ? nullptr : &*found;
}

// The mouse button of a page in slot, with the Once flag taken out in rows 1..6: a Once click
// counts only when no key follows, since C1, C2 and C0 are modifiers too.
const std::pair<std::uint8_t, std::size_t>* MouseButtonOf(std::uint8_t slot,
                                                          const ReadBackData& data) {
    if (const auto* button = FindMouseButton(data[0])) return button;
    if (!IsRowSlot(slot) || (data[0] & kOnceFlag) == 0) return nullptr;
    const auto usages = std::span(data).subspan(1);
    const auto end = std::find(usages.begin(), usages.end(), kEndOfData);
    if (std::any_of(usages.begin(), end, [](std::uint8_t usage) { return usage != 0; })) {
        return nullptr;
    }
    return FindMouseButton(static_cast<std::uint8_t>(data[0] & ~kOnceFlag));
}

KeyReport ReportOf(std::uint8_t type, const ReadBackData& data) {
    KeyReport report{type};
    std::copy(data.begin(), data.end(), report.begin() + 1);
    return report;
}

}  // namespace

ReadBackKind ClassifyReadBack(std::uint8_t slot, const ReadBackData& data) {
    if (data[0] == kEmptySlot) {
        return ReadBackKind::Empty;
    }
    if (data[1] == kStringMarker) {
        return ReadBackKind::String;
    }
    if (MouseButtonOf(slot, data) != nullptr) {
        return ReadBackKind::Mouse;
    }
    return ReadBackKind::Keyboard;
}

std::string DescribeReportBytes(const ReadBackData& data) {
    std::string text;
    for (int bit = 0; bit < 8; ++bit) {
        if (((data[0] >> bit) & 1) != 0) {
            text += UsageName(static_cast<std::uint8_t>(kFirstModifierUsage + bit));
            text += '|';
        }
    }
    for (std::size_t i = 1; i < data.size() && data[i] != kEndOfData; ++i) {
        const std::string name = UsageName(data[i]);
        if (!name.empty()) {
            text += name;
            text += '|';
        }
    }
    return text;
}

KeyReadBack InterpretKeyReadBack(std::uint8_t slot, const ReadBackData& data) {
    ReadBackData bytes = data;
    std::optional<std::int32_t> functionMode;
    if (IsRowSlot(slot)) {
        functionMode = (bytes[0] & kOnceFlag) != 0 ? kOnceMode : kNormalMode;
        bytes[0] &= static_cast<std::uint8_t>(~kOnceFlag);
    }
    if (const auto* button = MouseButtonOf(slot, data)) {
        return {std::string(CommandItemTable[button->second].name),
                ReportOf(kMouseReportType, bytes), functionMode};
    }
    return {DescribeReportBytes(bytes), ReportOf(kKeyboardReportType, bytes), functionMode};
}

}  // namespace varnok
