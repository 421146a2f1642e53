#pragma once

#include <vector>

#include "keys/KeyEvent.h"
#include "keys/KeyStrokeTranslator.h"

class QKeyEvent;

namespace varnok {

// Turns the window's Qt key events into the key events Windows would deliver for the same
// keys, for the key capture. Feed it every key press and release of the window in order; it
// remembers the Windows state that spans events (Alt pressed alone, Break, AltGr).
//
// The key is identified by its position where the event carries one: on X11 and Wayland the
// native scan code is the XKB keycode, the evdev code plus 8. The position gives the scan byte,
// and the virtual key too, except that a letter follows the layout (the key Qt reports as A is
// VK_A, as Windows names letters by layout) and a keypad key follows NumLock (Qt reports
// keypad 7 as Home with NumLock off). Digits and punctuation follow the position because Qt
// reports what Shift and the layout make of them (Shift+1 is Key_Exclam). Without a usable
// native scan code (the offscreen platform, synthesized events) the virtual key comes from
// Qt's key code under the US layout, and the scan byte is that of the first US key giving
// that virtual key (left Shift for Shift, keypad 5 for Clear).
class QtKeyEventTranslator {
public:
    // No message for events other than key presses and releases, for keys Windows has no
    // virtual key for, for auto-repeat releases and for the key-down of PrintScreen; two for
    // AltGr, which layouts with AltGr deliver on Windows as left Ctrl together with right Alt.
    std::vector<KeyEvent> Translate(const QKeyEvent& event);

private:
    KeyStrokeTranslator translator_;
    bool altGrDown_ = false;
};

}  // namespace varnok
