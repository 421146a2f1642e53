#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/KeyEventPrinting.h"
#include "keys/KeyStrokeTranslator.h"

namespace varnok {
namespace {

using enum KeyEventKind;

// A few keys as Windows names them: virtual key and set-1 scan byte.
struct Key {
    std::uint8_t virtualKey;
    std::uint8_t scanByte;
};
constexpr Key kCtrl{0x11, 0x1D};
constexpr Key kAlt{0x12, 0x38};
constexpr Key kShift{0x10, 0x2A};
constexpr Key kC{0x43, 0x2E};
constexpr Key kX{0x58, 0x2D};
constexpr Key kF4{0x73, 0x3E};
constexpr Key kF10{0x79, 0x44};
constexpr Key kPause{0x13, 0x45};
constexpr Key kPrintScreen{0x2C, 0x37};

// The modifiers the platform reports held after each stroke are derived from the strokes
// themselves, as a platform would, unless a case overrides them to model keys pressed or
// released while another window had the focus.
enum class Held { Tracked, AltOnly, Nothing };

struct Stroke {
    bool pressed;
    bool autoRepeat;
    Key key;
    Held held = Held::Tracked;
};
Stroke Down(Key key, Held held = Held::Tracked) {
    return {true, false, key, held};
}
Stroke Up(Key key, Held held = Held::Tracked) {
    return {false, false, key, held};
}
Stroke RepeatDown(Key key) {
    return {true, true, key};
}
Stroke RepeatUp(Key key) {
    return {false, true, key};
}

KeyEvent Message(KeyEventKind kind, Key key) {
    return {kind, key.virtualKey, key.scanByte};
}

struct SequenceCase {
    std::string name;
    std::vector<Stroke> strokes;
    std::vector<KeyEvent> expected;
};

std::vector<KeyEvent> Translate(const std::vector<Stroke>& strokes) {
    KeyStrokeTranslator translator;
    bool ctrl = false;
    bool alt = false;
    std::vector<KeyEvent> messages;
    for (const Stroke& s : strokes) {
        if (!s.autoRepeat) {
            if (s.key.virtualKey == kCtrl.virtualKey) ctrl = s.pressed;
            if (s.key.virtualKey == kAlt.virtualKey) alt = s.pressed;
        }
        bool ctrlHeld = ctrl;
        bool altHeld = alt;
        if (s.held != Held::Tracked) {
            ctrlHeld = false;
            altHeld = s.held == Held::AltOnly;
        }
        const KeyStroke stroke{s.pressed,      s.autoRepeat, s.key.virtualKey,
                               s.key.scanByte, ctrlHeld,     altHeld};
        if (const auto message = translator.Translate(stroke)) messages.push_back(*message);
    }
    return messages;
}

TEST(KeyStrokeTranslator, DeliversTheSequencesWindowsDelivers) {
    const std::vector<SequenceCase> cases = {
        {"Ctrl, C, release C, release Ctrl",
         {Down(kCtrl), Down(kC), Up(kC), Up(kCtrl)},
         {Message(KeyDown, kCtrl), Message(KeyDown, kC), Message(KeyUp, kC),
          Message(KeyUp, kCtrl)}},
        {"Ctrl, C, release Ctrl first",
         {Down(kCtrl), Down(kC), Up(kCtrl), Up(kC)},
         {Message(KeyDown, kCtrl), Message(KeyDown, kC), Message(KeyUp, kCtrl),
          Message(KeyUp, kC)}},
        {"Alt+F4: keys under Alt are system keys, the Alt release after them is not",
         {Down(kAlt), Down(kF4), Up(kF4), Up(kAlt)},
         {Message(SysKeyDown, kAlt), Message(SysKeyDown, kF4), Message(SysKeyUp, kF4),
          Message(KeyUp, kAlt)}},
        {"Alt pressed and released alone",
         {Down(kAlt), Up(kAlt)},
         {Message(SysKeyDown, kAlt), Message(SysKeyUp, kAlt)}},
        {"F10 alone", {Down(kF10), Up(kF10)}, {Message(SysKeyDown, kF10), Message(SysKeyUp, kF10)}},
        {"F10 under Shift stays a system key",
         {Down(kShift), Down(kF10), Up(kF10), Up(kShift)},
         {Message(KeyDown, kShift), Message(SysKeyDown, kF10), Message(SysKeyUp, kF10),
          Message(KeyUp, kShift)}},
        {"held key: repeated downs, the platform's repeat releases dropped, one up",
         {Down(kC), RepeatUp(kC), RepeatDown(kC), RepeatUp(kC), RepeatDown(kC), Up(kC)},
         {Message(KeyDown, kC), Message(KeyDown, kC), Message(KeyDown, kC), Message(KeyUp, kC)}},
        {"held Alt repeats as system keys and its release stays one",
         {Down(kAlt), RepeatUp(kAlt), RepeatDown(kAlt), Up(kAlt)},
         {Message(SysKeyDown, kAlt), Message(SysKeyDown, kAlt), Message(SysKeyUp, kAlt)}},
        {"Ctrl then Alt (AltGr): nothing is a system key",
         {Down(kCtrl), Down(kAlt), Down(kX), Up(kX), Up(kAlt), Up(kCtrl)},
         {Message(KeyDown, kCtrl), Message(KeyDown, kAlt), Message(KeyDown, kX), Message(KeyUp, kX),
          Message(KeyUp, kAlt), Message(KeyUp, kCtrl)}},
        {"Alt, Ctrl, X: Ctrl released under Alt is a system key, the Alt release after is not",
         {Down(kAlt), Down(kCtrl), Down(kX), Up(kX), Up(kCtrl), Up(kAlt)},
         {Message(SysKeyDown, kAlt), Message(KeyDown, kCtrl), Message(KeyDown, kX),
          Message(KeyUp, kX), Message(SysKeyUp, kCtrl), Message(KeyUp, kAlt)}},
        {"Alt, Ctrl, release Alt: Alt went down alone, so its release is a system key",
         {Down(kAlt), Down(kCtrl), Up(kAlt), Up(kCtrl)},
         {Message(SysKeyDown, kAlt), Message(KeyDown, kCtrl), Message(SysKeyUp, kAlt),
          Message(KeyUp, kCtrl)}},
        {"Alt held since before the window had the focus",
         {Down(kF4, Held::AltOnly), Up(kF4, Held::AltOnly)},
         {Message(SysKeyDown, kF4), Message(SysKeyUp, kF4)}},
        {"Alt released while another window had the focus",
         {Down(kAlt), Down(kC, Held::Nothing), Up(kC, Held::Nothing)},
         {Message(SysKeyDown, kAlt), Message(KeyDown, kC), Message(KeyUp, kC)}},
        {"Pause alone",
         {Down(kPause), Up(kPause)},
         {Message(KeyDown, kPause), Message(KeyUp, kPause)}},
        {"Ctrl+Pause is Break up to its release, even after Ctrl is let go",
         {Down(kCtrl), Down(kPause), Up(kCtrl), Up(kPause), Down(kPause), Up(kPause)},
         {Message(KeyDown, kCtrl), Message(KeyDown, {0x03, 0x46}), Message(KeyUp, kCtrl),
          Message(KeyUp, {0x03, 0x46}), Message(KeyDown, kPause), Message(KeyUp, kPause)}},
        {"PrintScreen gives only its release",
         {Down(kPrintScreen), RepeatDown(kPrintScreen), Up(kPrintScreen)},
         {Message(KeyUp, kPrintScreen)}},
        {"PrintScreen under Alt",
         {Down(kAlt), Down(kPrintScreen), Up(kPrintScreen), Up(kAlt)},
         {Message(SysKeyDown, kAlt), Message(SysKeyUp, kPrintScreen), Message(KeyUp, kAlt)}},
    };
    for (const SequenceCase& c : cases) {
        EXPECT_EQ(Translate(c.strokes), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace varnok
