#include "keys/KeyStrokeTranslator.h"

namespace varnok {

namespace {

constexpr std::uint8_t kVkCancel = 0x03;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkMenu = 0x12;  // Alt
constexpr std::uint8_t kVkPause = 0x13;
constexpr std::uint8_t kVkSnapshot = 0x2C;  // PrintScreen
constexpr std::uint8_t kVkF10 = 0x79;
constexpr std::uint8_t kBreakScanByte = 0x46;  // Ctrl+Pause sends E0 46

}  // namespace

std::optional<KeyEvent> KeyStrokeTranslator::Translate(const KeyStroke& stroke) {
    if (!stroke.pressed && stroke.autoRepeat) {
        return std::nullopt;
    }
    if (stroke.pressed && stroke.virtualKey == kVkSnapshot) {
        return std::nullopt;
    }

    std::uint8_t virtualKey = stroke.virtualKey;
    std::uint8_t scanByte = stroke.scanByte;
    if (virtualKey == kVkPause) {
        // Decided when the key goes down, so that the release matches the press even when
        // Ctrl is let go first.
        if (stroke.pressed && !stroke.autoRepeat) {
            pauseIsBreak_ = stroke.ctrlHeld;
        }
        if (pauseIsBreak_) {
            virtualKey = kVkCancel;
            scanByte = kBreakScanByte;
        }
        if (!stroke.pressed) {
            pauseIsBreak_ = false;
        }
    }

    const bool isAlt = stroke.virtualKey == kVkMenu;
    const bool altDown = isAlt ? stroke.pressed : stroke.altHeld;
    const bool ctrlDown = stroke.virtualKey == kVkControl ? stroke.pressed : stroke.ctrlHeld;
    const bool system =
        stroke.virtualKey == kVkF10 || (isAlt && altWentDownAlone_) || (altDown && !ctrlDown);
    if (system) {
        altWentDownAlone_ = isAlt && stroke.pressed;
    }

    KeyEventKind kind;
    if (stroke.pressed) {
        kind = system ? KeyEventKind::SysKeyDown : KeyEventKind::KeyDown;
    } else {
        kind = system ? KeyEventKind::SysKeyUp : KeyEventKind::KeyUp;
    }
    return KeyEvent{kind, virtualKey, scanByte};
}

}  // namespace varnok
