#include "keys/qt/QtKeyEventTranslator.h"

#include <linux/input-event-codes.h>

#include <QKeyEvent>
#include <optional>

#include "keys/linux/EvdevToSet1Table.h"
#include "keys/linux/VirtualKeyFromEvdevTable.h"
#include "keys/qt/QtKeyToVirtualKeyTable.h"

namespace varnok {

namespace {

constexpr quint32 kXkbKeycodeOffset = 8;
constexpr std::uint8_t kVkClear = 0x0C;
constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kLeftCtrlScanByte = 0x1D;

struct NamedKey {
    std::uint8_t virtualKey;
    std::uint8_t scanByte;
};

std::optional<std::uint16_t> EvdevCodeOf(const QKeyEvent& event) {
    const quint32 native = event.nativeScanCode();
    if (native <= kXkbKeycodeOffset || native - kXkbKeycodeOffset > 0xFFFF) {
        return std::nullopt;
    }
    const auto evdevCode = static_cast<std::uint16_t>(native - kXkbKeycodeOffset);
    if (!ScanByteOfEvdevKey(evdevCode)) {
        return std::nullopt;
    }
    return evdevCode;
}

std::optional<NamedKey> NameKey(const QKeyEvent& event) {
    const int key = event.key();
    const bool onKeypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const std::optional<std::uint8_t> qtVirtualKey = VirtualKeyOfQtKey(key, onKeypad);

    if (const std::optional<std::uint16_t> evdevCode = EvdevCodeOf(event)) {
        const bool qtDecides = qtVirtualKey && (onKeypad || (key >= Qt::Key_A && key <= Qt::Key_Z));
        // Both tables hold the same keys, so a key with a scan byte has a virtual key.
        return NamedKey{qtDecides ? *qtVirtualKey : *VirtualKeyOfEvdevKey(*evdevCode),
                        *ScanByteOfEvdevKey(*evdevCode)};
    }

    if (!qtVirtualKey) {
        return std::nullopt;
    }
    // Clear is keypad 5 with NumLock off; no key gives it with NumLock on.
    const std::optional<std::uint16_t> usKey =
        *qtVirtualKey == kVkClear ? KEY_KP5 : EvdevKeyOfVirtualKey(*qtVirtualKey);
    if (!usKey) {
        return std::nullopt;
    }
    return NamedKey{*qtVirtualKey, *ScanByteOfEvdevKey(*usKey)};
}

}  // namespace

std::vector<KeyEvent> QtKeyEventTranslator::Translate(const QKeyEvent& event) {
    std::vector<KeyEvent> messages;
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease) {
        return messages;
    }
    const std::optional<NamedKey> named = NameKey(event);
    if (!named) {
        return messages;
    }

    const bool pressed = event.type() == QEvent::KeyPress;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool ctrlHeld = modifiers.testFlag(Qt::ControlModifier) || altGrDown_;
    const bool altHeld = modifiers.testFlag(Qt::AltModifier) || altGrDown_;
    const auto deliver = [&](const KeyStroke& stroke) {
        if (const std::optional<KeyEvent> message = translator_.Translate(stroke)) {
            messages.push_back(*message);
        }
    };

    if (event.key() == Qt::Key_AltGr) {
        // Windows presses its left Ctrl before the right Alt; releasing in the opposite order
        // keeps the whole AltGr stroke a plain key, so that AltGr characters reach a text row.
        const KeyStroke ctrl{pressed,    event.isAutoRepeat(),
                             kVkControl, kLeftCtrlScanByte,
                             pressed,    modifiers.testFlag(Qt::AltModifier)};
        const KeyStroke alt{pressed, event.isAutoRepeat(), named->virtualKey, named->scanByte, true,
                            pressed};
        if (pressed) {
            deliver(ctrl);
            deliver(alt);
        } else {
            deliver(alt);
            deliver(ctrl);
        }
        if (!event.isAutoRepeat()) {
            altGrDown_ = pressed;
        }
        return messages;
    }

    deliver(KeyStroke{pressed, event.isAutoRepeat(), named->virtualKey, named->scanByte, ctrlHeld,
                      altHeld});
    return messages;
}

}  // namespace varnok
