#include "keys/KeyReadBack.h"

#include <algorithm>

#include "device/KeyboardProtocol.h"
#include "keys/FunctionModeNames.h"
#include "keys/KeyReportName.h"
#include "keys/KeySlots.h"

namespace varnok {

namespace {

constexpr std::uint8_t kEmptySlot = 0xFF;
// The last byte of every ready-made mouse click; a keyboard report has a usage or 00 there.
constexpr std::uint8_t kMouseReportEnd = 0xFF;

// The button codes of the ready-made clicks: left, right, double.
constexpr std::array<std::uint8_t, 3> kMouseButtons = {0x81, 0x82, 0x80};

bool IsMouseButton(std::uint8_t code) {
    return std::find(kMouseButtons.begin(), kMouseButtons.end(), code) != kMouseButtons.end();
}

// Whether a page in slot is a click, with the Once flag taken out in rows 1..6: only a page
// that ends as a click does, since the button codes are modifier bits too.
bool IsMouseClick(std::uint8_t slot, const ReadBackData& data) {
    if (data.back() != kMouseReportEnd) return false;
    if (IsMouseButton(data[0])) return true;
    return IsRowSlot(slot) && (data[0] & kOnceFlag) != 0 &&
           IsMouseButton(static_cast<std::uint8_t>(data[0] & ~kOnceFlag));
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
    if (IsMouseClick(slot, data)) {
        return ReadBackKind::Mouse;
    }
    return ReadBackKind::Keyboard;
}

KeyReadBack InterpretKeyReadBack(std::uint8_t slot, const ReadBackData& data) {
    ReadBackData bytes = data;
    std::optional<std::int32_t> functionMode;
    if (IsRowSlot(slot)) {
        functionMode = (bytes[0] & kOnceFlag) != 0 ? kOnceMode : kNormalMode;
        bytes[0] &= static_cast<std::uint8_t>(~kOnceFlag);
    }
    const KeyReport report =
        ReportOf(IsMouseClick(slot, data) ? kMouseReportType : kKeyboardReportType, bytes);
    return {NameKeyReport(report), report, functionMode};
}

}  // namespace varnok
