#include "ui/WindowKeyRoute.h"

#include <cstddef>

namespace varnok {
namespace {

// Windows virtual-key codes.
constexpr std::uint8_t kVirtualKeyTab = 0x09;
constexpr std::uint8_t kVirtualKeyReturn = 0x0D;
constexpr std::uint8_t kVirtualKeyEscape = 0x1B;
constexpr std::uint8_t kVirtualKeyShift = 0x10;
constexpr std::uint8_t kVirtualKeyAlt = 0x12;

bool IsPress(const KeyEvent& message) {
    return message.kind == KeyEventKind::KeyDown || message.kind == KeyEventKind::SysKeyDown;
}

}  // namespace

KeyRoute RouteKey(const KeyEvent& message, FocusedBox focus, HeldModifiers held) {
    const bool tab = message.virtualKey == kVirtualKeyTab;
    if (focus == FocusedBox::TakesChord && !(tab && held.ctrl)) return KeyRoute::Capture;
    if (focus == FocusedBox::HoldsChord && !tab) {
        const bool modifier =
            message.virtualKey >= kVirtualKeyShift && message.virtualKey <= kVirtualKeyAlt;
        return modifier ? KeyRoute::Swallow : KeyRoute::Capture;
    }
    if (tab) {
        if (!IsPress(message)) return KeyRoute::Swallow;
        return held.shift ? KeyRoute::PreviousControl : KeyRoute::NextControl;
    }
    if (message.virtualKey == kVirtualKeyEscape) {
        return IsPress(message) ? KeyRoute::CloseWindow : KeyRoute::Swallow;
    }
    if (message.virtualKey == kVirtualKeyReturn) return KeyRoute::Swallow;
    return KeyRoute::ToControl;
}

int NextTabStop(const DialogTemplate& dialog, const DialogControls& controls, int from,
                bool backwards) {
    const std::size_t count = dialog.controls.size();
    std::size_t at = 0;
    while (at < count && dialog.controls[at].id != from) ++at;
    // From a control that is no tab stop the first step lands on the first (or last) one.
    if (at == count) at = backwards ? 0 : count - 1;
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t index = backwards ? (at + count - step) % count : (at + step) % count;
        const DialogControlTemplate& control = dialog.controls[index];
        if (control.Has(ControlStyle::TabStop) && controls.IsVisible(control.id)) return control.id;
    }
    return from;
}

}  // namespace varnok
