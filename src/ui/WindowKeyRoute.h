#pragma once

#include <cstdint>

#include "keys/KeyEvent.h"
#include "ui/DialogControls.h"
#include "ui/DialogTemplate.h"

namespace varnok {

// Where a key event of the main window goes. In a value box that takes a chord every key is
// part of the chord, Tab and Escape included; Ctrl+Tab (Ctrl+Shift+Tab) leaves it and drops a
// chord begun there (a chord of Ctrl and Tab is still made with the Group Key box Ctrl and a
// Tab). Once the box holds its chord, Tab and Shift+Tab leave it, and Shift, Ctrl or Alt alone
// no longer say that the box takes nothing more. Outside such a box the keys work the window
// as a dialog's do, except that Enter presses nothing (Space presses the focused button), so
// that no key saves by accident.
enum class KeyRoute {
    Capture,          // a key of the chord being captured
    ToControl,        // the focused control's key (typing, lists, check boxes, buttons)
    Swallow,          // nobody's: Enter, and the release of a key that moved the focus
    NextControl,      // Tab
    PreviousControl,  // Shift+Tab
    CloseWindow,      // Escape: as the Exit button
};

// What has the keyboard focus.
enum class FocusedBox {
    None,        // a control that takes no chord (a String row's box types text)
    TakesChord,  // the value box of a Normal or Once row with no chord yet, or one begun
    HoldsChord,  // the value box of a Normal or Once row whose chord is complete
};

KeyRoute RouteKey(const KeyEvent& message, FocusedBox focus, HeldModifiers held);

// The visible tab stop after (or before) from in the template's order, which is the tab order,
// going round at the ends; from itself when there is no other.
int NextTabStop(const DialogTemplate& dialog, const DialogControls& controls, int from,
                bool backwards);

}  // namespace varnok
