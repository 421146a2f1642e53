#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <string_view>

namespace varnok {

// Key presses as the X11 platform delivers them: each event carries the key's XKB keycode
// (the evdev code plus 8), its keysym and the modifier state, and goes to the focused widget
// (or a given widget) through Qt's normal delivery, so the window's key filters run as for a real
// key.
class PhysicalKeyboard {
public:
    // Keys go to target, or to whichever widget has the focus when target is null.
    explicit PhysicalKeyboard(QWidget* target = nullptr) : target_(target) {}

    // clang-format off
    struct Key { std::string_view name; int qtKey; quint32 evdev; quint32 keysym; const char* text; bool keypad; };
    static constexpr Key kKeys[] = {
        // name       Qt key           evdev   keysym  text    keypad
        {"a",         Qt::Key_A,          30,  0x0061, "a",    false},
        {"b",         Qt::Key_B,          48,  0x0062, "b",    false},
        {"c",         Qt::Key_C,          46,  0x0063, "c",    false},
        {".",         Qt::Key_Period,     52,  0x002E, ".",    false},
        {"KP.",       Qt::Key_Period,     83,  0xFFAE, ".",    true },  // NumLock on
        {"Backspace", Qt::Key_Backspace,  14,  0xFF08, "\b",   false},
        {"Delete",    Qt::Key_Delete,    111,  0xFFFF, "\x7f", false},
        {"Home",      Qt::Key_Home,      102,  0xFF50, "",     false},
        {"Tab",       Qt::Key_Tab,        15,  0xFF09, "\t",   false},
        {"Enter",     Qt::Key_Return,     28,  0xFF0D, "\r",   false},
        {"Escape",    Qt::Key_Escape,      1,  0xFF1B, "\x1b", false},
        {"Ctrl",      Qt::Key_Control,    29,  0xFFE3, "",     false},
    };
    // clang-format on

    void Press(std::string_view name) { Send(QEvent::KeyPress, Find(name)); }
    void Release(std::string_view name) { Send(QEvent::KeyRelease, Find(name)); }
    void Tap(std::string_view name) {
        Press(name);
        Release(name);
    }
    // Each character of text as its own key ("." included).
    void Type(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) Tap(text.substr(i, 1));
    }

private:
    static constexpr quint32 kXkbKeycodeOffset = 8;
    static constexpr quint32 kX11ControlMask = 0x4;

    static const Key& Find(std::string_view name) {
        for (const Key& key : kKeys) {
            if (key.name == name) return key;
        }
        ADD_FAILURE() << "no key " << name;
        return kKeys[0];
    }

    void Send(QEvent::Type type, const Key& key) {
        const bool ctrlKey = key.qtKey == Qt::Key_Control;
        const quint32 nativeState = ctrlDown_ ? kX11ControlMask : 0;
        // X11 reports Ctrl in the modifiers of its own press, not of its release.
        if (ctrlKey) ctrlDown_ = type == QEvent::KeyPress;
        Qt::KeyboardModifiers modifiers = ctrlDown_ ? Qt::ControlModifier : Qt::NoModifier;
        if (key.keypad) modifiers |= Qt::KeypadModifier;
        QString text = QString::fromLatin1(key.text);
        // Ctrl with a letter types its control character (Ctrl+C is 0x03).
        if (ctrlDown_ && key.qtKey >= Qt::Key_A && key.qtKey <= Qt::Key_Z) {
            text = QString(QChar(key.qtKey - Qt::Key_A + 1));
        }
        QKeyEvent event(type, key.qtKey, modifiers, key.evdev + kXkbKeycodeOffset, key.keysym,
                        nativeState, text);
        QWidget* target = target_ != nullptr ? target_ : QApplication::focusWidget();
        if (target == nullptr) {
            ADD_FAILURE() << "no widget has the focus";
            return;
        }
        QApplication::sendEvent(target, &event);
    }

    QWidget* target_;
    bool ctrlDown_ = false;
};

}  // namespace varnok
