#include "ui/WindowKeyRoute.h"

#include <cstddef>

namespace varnok {
namespace {

// Windows virtual-key codes.
constexpr std::uint8_t kVirtualKeyTab = 0x09;
constexpr std::uint8_t kVirtualKeyReturn = 0x0D;
constexpr std::uint8_t kVirtualKeyEscape = 0x1B;
constexpr std::uint8_t kVirtualKeySpace = 0x20;
constexpr std::uint8_t kVirtualKeyUp = 0x26;
constexpr std::uint8_t kVirtualKeyDown = 0x28;
constexpr std::uint8_t kVirtualKeyF4 = 0x73;
constexpr std::uint8_t kVirtualKeyY = 0x59;
constexpr std::uint8_t kVirtualKeyApps = 0x5D;
constexpr std::uint8_t kVirtualKeyF10 = 0x79;
constexpr std::uint8_t kVirtualKeyZ = 0x5A;

// F4, or Alt with an arrow up or down (a system key): what opens a combo box's list.
bool OpensList(const KeyEvent& press) {
    if (press.virtualKey == kVirtualKeyF4) return true;
    const bool arrow = press.virtualKey == kVirtualKeyDown || press.virtualKey == kVirtualKeyUp;
    return arrow && press.kind == KeyEventKind::SysKeyDown;
}

}  // namespace

KeyRoute RouteKeyPress(const KeyEvent& press, FocusedBox focus, HeldModifiers held) {
    if (focus == FocusedBox::Recording) {
        // Alt held makes it a system key: Alt+Escape is a chord like any other.
        const bool alone = press.kind == KeyEventKind::KeyDown && !held.ctrl && !held.shift;
        return press.virtualKey == kVirtualKeyEscape && alone ? KeyRoute::CancelRecording
                                                              : KeyRoute::Capture;
    }
    // F10 arrives as a system key: alone it opens a window's menu bar.
    if (press.virtualKey == kVirtualKeyApps || (press.virtualKey == kVirtualKeyF10 && held.shift))
        return KeyRoute::ContextMenu;
    // With Alt (AltGr included) held these type characters.
    if (held.ctrl && press.kind == KeyEventKind::KeyDown) {
        if (press.virtualKey == kVirtualKeyZ) return held.shift ? KeyRoute::Redo : KeyRoute::Undo;
        if (press.virtualKey == kVirtualKeyY) return KeyRoute::Redo;
    }
    switch (press.virtualKey) {
        case kVirtualKeyTab:
            return held.shift ? KeyRoute::PreviousControl : KeyRoute::NextControl;
        case kVirtualKeyEscape:
            return KeyRoute::CloseWindow;
        case kVirtualKeyReturn:
            return focus == FocusedBox::ChordBox ? KeyRoute::StartRecording : KeyRoute::Swallow;
        case kVirtualKeySpace:
            if (focus == FocusedBox::ChordBox) return KeyRoute::StartRecording;
            break;
        default:
            break;
    }
    if (focus == FocusedBox::ChordBox && !OpensList(press)) return KeyRoute::Swallow;
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
