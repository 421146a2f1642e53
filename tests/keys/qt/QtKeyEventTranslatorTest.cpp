#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QKeyEvent>
#include <string>
#include <vector>

#include "keys/KeyEventPrinting.h"
#include "keys/qt/QtKeyEventTranslator.h"

namespace varnok {
namespace {

using enum KeyEventKind;

constexpr int kNoScanCode = -1;

// A key event as the xcb platform delivers it: the native scan code is the XKB keycode
// (evdev + 8), the modifiers are the state before the event (Qt folds the event's own modifier
// key in), and auto-repeat comes as release/press pairs.
struct Event {
    QEvent::Type type;
    int key;
    quint32 nativeScanCode;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    bool autoRepeat = false;
};
quint32 XkbKeycode(int evdevCode) {
    return evdevCode == kNoScanCode ? 0 : quint32(evdevCode + 8);
}
Event Press(int key, int evdevCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {QEvent::KeyPress, key, XkbKeycode(evdevCode), modifiers};
}
Event Release(int key, int evdevCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return {QEvent::KeyRelease, key, XkbKeycode(evdevCode), modifiers};
}
Event Repeat(Event event) {
    event.autoRepeat = true;
    return event;
}

struct EventCase {
    std::string name;
    std::vector<Event> events;
    std::vector<KeyEvent> expected;
};

std::vector<KeyEvent> Translate(const std::vector<Event>& events) {
    QtKeyEventTranslator translator;
    std::vector<KeyEvent> messages;
    for (const Event& e : events) {
        const QKeyEvent event(e.type, e.key, e.modifiers, e.nativeScanCode, 0, 0, QString(),
                              e.autoRepeat);
        for (const KeyEvent& m : translator.Translate(event)) messages.push_back(m);
    }
    return messages;
}

constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kAlt = Qt::AltModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kKeypad = Qt::KeypadModifier;

TEST(QtKeyEventTranslator, NamesKeysByPositionLayoutAndNumLock) {
    const std::vector<EventCase> cases = {
        {"Ctrl+C",
         {Press(Qt::Key_Control, KEY_LEFTCTRL), Press(Qt::Key_C, KEY_C, kCtrl),
          Release(Qt::Key_C, KEY_C, kCtrl), Release(Qt::Key_Control, KEY_LEFTCTRL, kCtrl)},
         {{KeyDown, 0x11, 0x1D}, {KeyDown, 0x43, 0x2E}, {KeyUp, 0x43, 0x2E}, {KeyUp, 0x11, 0x1D}}},
        {"Shift+1 is the 1 key, not the ! Qt reports",
         {Press(Qt::Key_Shift, KEY_RIGHTSHIFT), Press(Qt::Key_Exclam, KEY_1, kShift)},
         {{KeyDown, 0x10, 0x36}, {KeyDown, 0x31, 0x02}}},
        {"a letter follows the layout (AZERTY A on the Q key)",
         {Press(Qt::Key_A, KEY_Q)},
         {{KeyDown, 0x41, 0x10}}},
        {"a non-Latin letter follows the position (Cyrillic EF on the A key)",
         {Press(0x0424, KEY_A)},
         {{KeyDown, 0x41, 0x1E}}},
        {"punctuation and dead keys follow the position",
         {Press(Qt::Key_ssharp, KEY_MINUS), Press(Qt::Key_Dead_Circumflex, KEY_GRAVE),
          Press(Qt::Key_Udiaeresis, KEY_LEFTBRACE), Press(Qt::Key_Less, KEY_102ND)},
         {{KeyDown, 0xBD, 0x0C},
          {KeyDown, 0xC0, 0x29},
          {KeyDown, 0xDB, 0x1A},
          {KeyDown, 0xE2, 0x56}}},
        {"keypad with NumLock on",
         {Press(Qt::Key_7, KEY_KP7, kKeypad), Press(Qt::Key_Asterisk, KEY_KPASTERISK, kKeypad),
          Press(Qt::Key_Slash, KEY_KPSLASH, kKeypad), Press(Qt::Key_Enter, KEY_KPENTER, kKeypad),
          Press(Qt::Key_Comma, KEY_KPDOT, kKeypad), Press(Qt::Key_NumLock, KEY_NUMLOCK)},
         {{KeyDown, 0x67, 0x47},
          {KeyDown, 0x6A, 0x37},
          {KeyDown, 0x6F, 0x35},
          {KeyDown, 0x0D, 0x1C},
          {KeyDown, 0x6E, 0x53},
          {KeyDown, 0x90, 0x45}}},
        {"keypad with NumLock off gives the editing keys on keypad bytes",
         {Press(Qt::Key_Home, KEY_KP7, kKeypad), Press(Qt::Key_Clear, KEY_KP5, kKeypad),
          Press(Qt::Key_Delete, KEY_KPDOT, kKeypad), Press(Qt::Key_Delete, KEY_DELETE)},
         {{KeyDown, 0x24, 0x47},
          {KeyDown, 0x0C, 0x4C},
          {KeyDown, 0x2E, 0x53},
          {KeyDown, 0x2E, 0x53}}},
        {"Windows and menu keys by position",
         {Press(Qt::Key_Super_L, KEY_LEFTMETA), Press(Qt::Key_Meta, KEY_RIGHTMETA),
          Press(Qt::Key_Menu, KEY_COMPOSE)},
         {{KeyDown, 0x5B, 0x5B}, {KeyDown, 0x5C, 0x5C}, {KeyDown, 0x5D, 0x5D}}},
        {"Japanese keys",
         {Press(Qt::Key_Zenkaku_Hankaku, KEY_GRAVE), Press(Qt::Key_Muhenkan, KEY_MUHENKAN),
          Press(Qt::Key_Henkan, KEY_HENKAN), Press(Qt::Key_Hiragana_Katakana, KEY_KATAKANAHIRAGANA),
          Press(Qt::Key_Backslash, KEY_RO), Press(Qt::Key_Backslash, KEY_YEN),
          Press(Qt::Key_Zenkaku_Hankaku, KEY_ZENKAKUHANKAKU)},
         {{KeyDown, 0xC0, 0x29},
          {KeyDown, 0x1D, 0x7B},
          {KeyDown, 0x1C, 0x79},
          {KeyDown, 0xF2, 0x70},
          {KeyDown, 0xE2, 0x73},
          {KeyDown, 0xDC, 0x7D},
          {KeyDown, 0xF3, 0x76}}},
        {"keys Windows has no virtual key for give nothing",
         {Press(Qt::Key_VolumeUp, KEY_VOLUMEUP), Press(Qt::Key_unknown, kNoScanCode),
          Press(Qt::Key_Eacute, kNoScanCode)},
         {}},
    };
    for (const EventCase& c : cases) {
        EXPECT_EQ(Translate(c.events), c.expected) << c.name;
    }
}

TEST(QtKeyEventTranslator, DeliversSystemKeysRepeatsAndAltGrAsWindows) {
    const std::vector<EventCase> cases = {
        {"Alt+F4",
         {Press(Qt::Key_Alt, KEY_LEFTALT), Press(Qt::Key_F4, KEY_F4, kAlt),
          Release(Qt::Key_F4, KEY_F4, kAlt), Release(Qt::Key_Alt, KEY_LEFTALT, kAlt)},
         {{SysKeyDown, 0x12, 0x38},
          {SysKeyDown, 0x73, 0x3E},
          {SysKeyUp, 0x73, 0x3E},
          {KeyUp, 0x12, 0x38}}},
        {"F10 alone",
         {Press(Qt::Key_F10, KEY_F10), Release(Qt::Key_F10, KEY_F10)},
         {{SysKeyDown, 0x79, 0x44}, {SysKeyUp, 0x79, 0x44}}},
        {"Ctrl+Alt is not a system key",
         {Press(Qt::Key_Control, KEY_LEFTCTRL), Press(Qt::Key_Alt, KEY_LEFTALT, kCtrl),
          Release(Qt::Key_Alt, KEY_LEFTALT, kCtrl | kAlt),
          Release(Qt::Key_Control, KEY_LEFTCTRL, kCtrl)},
         {{KeyDown, 0x11, 0x1D}, {KeyDown, 0x12, 0x38}, {KeyUp, 0x12, 0x38}, {KeyUp, 0x11, 0x1D}}},
        {"AltGr is left Ctrl with right Alt, and what it types is no system key",
         {Press(Qt::Key_AltGr, KEY_RIGHTALT), Press(Qt::Key_At, KEY_Q), Release(Qt::Key_At, KEY_Q),
          Release(Qt::Key_AltGr, KEY_RIGHTALT)},
         {{KeyDown, 0x11, 0x1D},
          {KeyDown, 0x12, 0x38},
          {KeyDown, 0x51, 0x10},
          {KeyUp, 0x51, 0x10},
          {KeyUp, 0x12, 0x38},
          {KeyUp, 0x11, 0x1D}}},
        {"a held key: three key-downs, one key-up",
         {Press(Qt::Key_A, KEY_A), Repeat(Release(Qt::Key_A, KEY_A)),
          Repeat(Press(Qt::Key_A, KEY_A)), Repeat(Release(Qt::Key_A, KEY_A)),
          Repeat(Press(Qt::Key_A, KEY_A)), Release(Qt::Key_A, KEY_A)},
         {{KeyDown, 0x41, 0x1E},
          {KeyDown, 0x41, 0x1E},
          {KeyDown, 0x41, 0x1E},
          {KeyUp, 0x41, 0x1E}}},
        {"Ctrl+Pause is Break",
         {Press(Qt::Key_Control, KEY_RIGHTCTRL), Press(Qt::Key_Pause, KEY_PAUSE, kCtrl),
          Release(Qt::Key_Pause, KEY_PAUSE, kCtrl)},
         {{KeyDown, 0x11, 0x1D}, {KeyDown, 0x03, 0x46}, {KeyUp, 0x03, 0x46}}},
        {"PrintScreen gives only its key-up",
         {Press(Qt::Key_Print, KEY_SYSRQ), Release(Qt::Key_Print, KEY_SYSRQ)},
         {{KeyUp, 0x2C, 0x37}}},
    };
    for (const EventCase& c : cases) {
        EXPECT_EQ(Translate(c.events), c.expected) << c.name;
    }
}

// The offscreen platform and synthesized events carry no native scan code; a scan code below
// the XKB offset is no key either.
TEST(QtKeyEventTranslator, WithoutAScanCodeTakesTheUsKeyOfTheVirtualKey) {
    const std::vector<EventCase> cases = {
        {"letters, shifted symbols, Return",
         {Press(Qt::Key_A, kNoScanCode), Press(Qt::Key_Exclam, kNoScanCode, kShift),
          Press(Qt::Key_Return, kNoScanCode), Event{QEvent::KeyPress, Qt::Key_A, 5}},
         {{KeyDown, 0x41, 0x1E},
          {KeyDown, 0x31, 0x02},
          {KeyDown, 0x0D, 0x1C},
          {KeyDown, 0x41, 0x1E}}},
        {"modifiers and Windows keys take the left key unless Qt names the right one",
         {Press(Qt::Key_Shift, kNoScanCode), Press(Qt::Key_Super_R, kNoScanCode)},
         {{KeyDown, 0x10, 0x2A}, {KeyDown, 0x5C, 0x5C}}},
        {"keypad",
         {Press(Qt::Key_7, kNoScanCode, kKeypad), Press(Qt::Key_Clear, kNoScanCode, kKeypad),
          Press(Qt::Key_Insert, kNoScanCode, kKeypad)},
         {{KeyDown, 0x67, 0x47}, {KeyDown, 0x0C, 0x4C}, {KeyDown, 0x2D, 0x52}}},
        {"Japanese and AltGr",
         {Press(Qt::Key_Hiragana_Katakana, kNoScanCode), Press(Qt::Key_AltGr, kNoScanCode)},
         {{KeyDown, 0xF2, 0x70}, {KeyDown, 0x11, 0x1D}, {KeyDown, 0x12, 0x38}}},
    };
    for (const EventCase& c : cases) {
        EXPECT_EQ(Translate(c.events), c.expected) << c.name;
    }
}

TEST(QtKeyEventTranslator, IgnoresEventsOtherThanPressAndRelease) {
    QtKeyEventTranslator translator;
    const QKeyEvent shortcut(QEvent::ShortcutOverride, Qt::Key_A, Qt::NoModifier, KEY_A + 8, 0, 0);
    EXPECT_TRUE(translator.Translate(shortcut).empty());
}

}  // namespace
}  // namespace varnok
