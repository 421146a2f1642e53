#include "device/win/RawInputReports.h"

#include <algorithm>

#include "device/ScanCodeUsageTable.h"

namespace varnok {
namespace {

// clang-format off
const std::vector<std::uint8_t> kKeyboardDescriptor = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x06,        // Usage (Keyboard)
    0xA1, 0x01,        // Collection (Application)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0xE0,        //   Usage Minimum (Left Control)
    0x29, 0xE7,        //   Usage Maximum (Right GUI)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x08,        //   Report Size (8)
    0x81, 0x01,        //   Input (Constant)
    0x95, 0x06,        //   Report Count (6)
    0x75, 0x08,        //   Report Size (8)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x00,  //   Usage Maximum (255)
    0x81, 0x00,        //   Input (Data, Array)
    0xC0,              // End Collection
};

const std::vector<std::uint8_t> kMouseDescriptor = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x05,        //     Usage Maximum (5)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x95, 0x05,        //     Report Count (5)
    0x75, 0x01,        //     Report Size (1)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x95, 0x01,        //     Report Count (1)
    0x75, 0x03,        //     Report Size (3)
    0x81, 0x01,        //     Input (Constant)
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x02,        //     Report Count (2)
    0x81, 0x06,        //     Input (Data, Variable, Relative)
    0xC0,              //   End Collection
    0xC0,              // End Collection
};
// clang-format on

constexpr std::size_t kKeySlots = 6;
// The virtual key Windows gives the keys it makes up around a real one (the second half of
// Pause, the Shifts it wraps around navigation keys while NumLock is on).
constexpr USHORT kMadeUpKey = 0xFF;

// Button n's down and up flags in RAWMOUSE::usButtonFlags are bits 2(n-1) and 2(n-1)+1.
constexpr int kButtons = 5;

}  // namespace

const std::vector<std::vector<std::uint8_t>>& RawInputReports::Descriptors() {
    static const std::vector<std::vector<std::uint8_t>> descriptors = {kKeyboardDescriptor,
                                                                       kMouseDescriptor};
    return descriptors;
}

std::vector<RawInputReports::Report> RawInputReports::Take(std::span<const RawEvent> batch) {
    std::vector<Report> reports;
    for (const RawEvent& event : batch) {
        if (const auto* key = std::get_if<RAWKEYBOARD>(&event)) {
            Key(*key, reports);
        } else {
            Buttons(std::get<RAWMOUSE>(event), reports);
        }
    }
    Flush(reports);
    return reports;
}

void RawInputReports::Change(std::size_t interface, bool pressed, std::vector<Report>& reports) {
    if (pending_ && (pendingInterface_ != interface || pendingPressed_ != pressed)) {
        Flush(reports);
    }
    pending_ = true;
    pendingInterface_ = interface;
    pendingPressed_ = pressed;
}

void RawInputReports::Flush(std::vector<Report>& reports) {
    if (!pending_) return;
    pending_ = false;
    if (pendingInterface_ == kMouse) {
        reports.push_back({kMouse, {buttons_, 0x00, 0x00}});
        return;
    }
    std::vector<std::uint8_t> bytes = {modifiers_, 0x00};
    bytes.insert(bytes.end(), keys_.begin(), keys_.end());
    bytes.resize(2 + kKeySlots, 0x00);
    reports.push_back({kKeyboard, std::move(bytes)});
}

void RawInputReports::Key(const RAWKEYBOARD& key, std::vector<Report>& reports) {
    if (key.VKey == kMadeUpKey) return;
    const std::uint16_t prefix = (key.Flags & RI_KEY_E1) != 0   ? 0xE100
                                 : (key.Flags & RI_KEY_E0) != 0 ? 0xE000
                                                                : 0x0000;
    const std::optional<std::uint8_t> usage =
        UsageOfScanCode(static_cast<std::uint16_t>(prefix | (key.MakeCode & 0xFF)));
    if (!usage) return;
    const bool pressed = (key.Flags & RI_KEY_BREAK) == 0;
    if (*usage >= 0xE0) {
        const auto bit = static_cast<std::uint8_t>(1U << (*usage - 0xE0));
        if (((modifiers_ & bit) != 0) == pressed) return;
        Change(kKeyboard, pressed, reports);
        modifiers_ = static_cast<std::uint8_t>(pressed ? modifiers_ | bit : modifiers_ & ~bit);
        return;
    }
    const auto held = std::find(keys_.begin(), keys_.end(), *usage);
    // A seventh key has no place in the report, as on the keyboard itself.
    if (pressed ? (held != keys_.end() || keys_.size() == kKeySlots) : held == keys_.end()) {
        return;
    }
    Change(kKeyboard, pressed, reports);
    if (pressed) {
        keys_.push_back(*usage);
    } else {
        keys_.erase(held);
    }
}

void RawInputReports::Buttons(const RAWMOUSE& mouse, std::vector<Report>& reports) {
    for (int button = 0; button < kButtons; ++button) {
        const auto bit = static_cast<std::uint8_t>(1U << button);
        for (const bool pressed : {true, false}) {
            const unsigned flag = 1U << (2 * button + (pressed ? 0 : 1));
            if ((mouse.usButtonFlags & flag) == 0 || ((buttons_ & bit) != 0) == pressed) continue;
            Change(kMouse, pressed, reports);
            buttons_ = static_cast<std::uint8_t>(pressed ? buttons_ | bit : buttons_ & ~bit);
        }
    }
}

}  // namespace varnok
