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
        {"v",         Qt::Key_V,          47,  0x0076, "v",    false},
        {".",         Qt::Key_Period,     52,  0x002E, ".",    false},
        {"KP.",       Qt::Key_Period,     83,  0xFFAE, ".",    true },  // NumLock on
        {"Backspace", Qt::Key_Backspace,  14,  0xFF08, "\b",   false},
        {"Delete",    Qt::Key_Delete,    111,  0xFFFF, "\x7f", false},
        {"Home",      Qt::Key_Home,      102,  0xFF50, "",     false},
        {"Tab",       Qt::Key_Tab,        15,  0xFF09, "\t",   false},
        {"Enter",     Qt::Key_Return,     28,  0xFF0D, "\r",   false},
        {"Escape",    Qt::Key_Escape,      1,  0xFF1B, "\x1b", false},
        {"Ctrl",      Qt::Key_Control,    29,  0xFFE3, "",     false},
        {"Shift",     Qt::Key_Shift,      42,  0xFFE1, "",     false},
        {"F10",       Qt::Key_F10,        68,  0xFFC7, "",     false},
        {"Menu",      Qt::Key_Menu,      127,  0xFF67, "",     false},
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

    // Types ASCII text on a US layout as a user does: Shift held around the characters that
    // need it.
    void TypeUs(std::string_view text) {
        for (char character : text) {
            const UsKey* key = FindUs(character);
            if (key == nullptr) {
                ADD_FAILURE() << "no US key types " << character;
                continue;
            }
            const bool shift = key->shifted == character && key->plain != character;
            const int qtKey = character >= 'a' && character <= 'z'
                                  ? Qt::Key_A + (character - 'a')
                                  : static_cast<unsigned char>(character);
            const QString typed(QChar::fromLatin1(character));
            if (shift) SendRaw(QEvent::KeyPress, Qt::Key_Shift, kEvdevLeftShift, 0xFFE1, {}, false);
            SendRaw(QEvent::KeyPress, qtKey, key->evdev, static_cast<unsigned char>(character),
                    typed, shift);
            SendRaw(QEvent::KeyRelease, qtKey, key->evdev, static_cast<unsigned char>(character),
                    typed, shift);
            if (shift)
                SendRaw(QEvent::KeyRelease, Qt::Key_Shift, kEvdevLeftShift, 0xFFE1, {}, true);
        }
    }

private:
    static constexpr quint32 kXkbKeycodeOffset = 8;
    static constexpr quint32 kX11ControlMask = 0x4;
    static constexpr quint32 kX11ShiftMask = 0x1;
    static constexpr quint32 kEvdevLeftShift = 42;

    // The character keys of the US layout: evdev code, character without and with Shift.
    struct UsKey {
        quint32 evdev;
        char plain;
        char shifted;
    };
    // clang-format off
    static constexpr UsKey kUsKeys[] = {
        { 2, '1', '!'}, { 3, '2', '@'}, { 4, '3', '#'}, { 5, '4', '$'}, { 6, '5', '%'},
        { 7, '6', '^'}, { 8, '7', '&'}, { 9, '8', '*'}, {10, '9', '('}, {11, '0', ')'},
        {12, '-', '_'}, {13, '=', '+'}, {26, '[', '{'}, {27, ']', '}'}, {43, '\\', '|'},
        {39, ';', ':'}, {40, '\'', '"'}, {41, '`', '~'}, {51, ',', '<'}, {52, '.', '>'},
        {53, '/', '?'}, {57, ' ', ' '},
        {16, 'q', 'Q'}, {17, 'w', 'W'}, {18, 'e', 'E'}, {19, 'r', 'R'}, {20, 't', 'T'},
        {21, 'y', 'Y'}, {22, 'u', 'U'}, {23, 'i', 'I'}, {24, 'o', 'O'}, {25, 'p', 'P'},
        {30, 'a', 'A'}, {31, 's', 'S'}, {32, 'd', 'D'}, {33, 'f', 'F'}, {34, 'g', 'G'},
        {35, 'h', 'H'}, {36, 'j', 'J'}, {37, 'k', 'K'}, {38, 'l', 'L'},
        {44, 'z', 'Z'}, {45, 'x', 'X'}, {46, 'c', 'C'}, {47, 'v', 'V'}, {48, 'b', 'B'},
        {49, 'n', 'N'}, {50, 'm', 'M'},
    };
    // clang-format on

    static const UsKey* FindUs(char character) {
        for (const UsKey& key : kUsKeys) {
            if (key.plain == character || key.shifted == character) return &key;
        }
        return nullptr;
    }

    void SendRaw(QEvent::Type type, int qtKey, quint32 evdev, quint32 keysym, const QString& text,
                 bool shiftDown) {
        QKeyEvent event(type, qtKey, shiftDown ? Qt::ShiftModifier : Qt::NoModifier,
                        evdev + kXkbKeycodeOffset, keysym, shiftDown ? kX11ShiftMask : 0, text);
        QWidget* target = target_ != nullptr ? target_ : QApplication::focusWidget();
        if (target == nullptr) {
            ADD_FAILURE() << "no widget has the focus";
            return;
        }
        QApplication::sendEvent(target, &event);
    }

    static const Key& Find(std::string_view name) {
        for (const Key& key : kKeys) {
            if (key.name == name) return key;
        }
        ADD_FAILURE() << "no key " << name;
        return kKeys[0];
    }

    void Send(QEvent::Type type, const Key& key) {
        const quint32 nativeState =
            (ctrlDown_ ? kX11ControlMask : 0) | (shiftDown_ ? kX11ShiftMask : 0);
        // X11 reports a modifier in the modifiers of its own press, not of its release.
        if (key.qtKey == Qt::Key_Control) ctrlDown_ = type == QEvent::KeyPress;
        if (key.qtKey == Qt::Key_Shift) shiftDown_ = type == QEvent::KeyPress;
        Qt::KeyboardModifiers modifiers = ctrlDown_ ? Qt::ControlModifier : Qt::NoModifier;
        if (shiftDown_) modifiers |= Qt::ShiftModifier;
        if (key.keypad) modifiers |= Qt::KeypadModifier;
        // Shift+Tab comes as a key of its own.
        const bool backtab = shiftDown_ && key.qtKey == Qt::Key_Tab;
        QString text = QString::fromLatin1(key.text);
        // Ctrl with a letter types its control character (Ctrl+C is 0x03).
        if (ctrlDown_ && key.qtKey >= Qt::Key_A && key.qtKey <= Qt::Key_Z) {
            text = QString(QChar(key.qtKey - Qt::Key_A + 1));
        }
        QKeyEvent event(type, backtab ? Qt::Key_Backtab : key.qtKey, modifiers,
                        key.evdev + kXkbKeycodeOffset, backtab ? 0xFE20 : key.keysym, nativeState,
                        text);
        QWidget* target = target_ != nullptr ? target_ : QApplication::focusWidget();
        if (target == nullptr) {
            ADD_FAILURE() << "no widget has the focus";
            return;
        }
        QApplication::sendEvent(target, &event);
    }

    QWidget* target_;
    bool ctrlDown_ = false;
    bool shiftDown_ = false;
};

}  // namespace varnok
