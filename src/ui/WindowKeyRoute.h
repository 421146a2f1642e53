#pragma once

#include <cstdint>

#include "keys/KeyEvent.h"
#include "ui/DialogControls.h"
#include "ui/DialogTemplate.h"

namespace varnok {

// Where a key press of the main window goes; its release goes where the press went. A value
// box that records takes every key as part of its chord, Tab and Enter included; Escape alone
// cancels the recording (with a modifier held it is recorded, and alone it is one of the
// ready-made actions). Shift+F10 and the Menu key open the window's context menu wherever the
// focus is, but in the box that records. Otherwise the keys work the window as a dialog's do: Tab
// and Shift+Tab move on, Escape closes (as Exit), Enter presses nothing (Space presses the focused
// button), so that no key saves by accident; Ctrl+Z and Ctrl+Y undo and redo a change of the rows.
// A chord row's value box that does not record starts recording on Enter or Space, opens its list
// of ready-made actions on F4 or Alt+Down (Alt+Up) and takes no typing.
enum class KeyRoute {
    Capture,          // a key of the chord being recorded
    ToControl,        // the focused control's key (typing, lists, check boxes, buttons)
    Swallow,          // nobody's
    NextControl,      // Tab
    PreviousControl,  // Shift+Tab
    CloseWindow,      // Escape: as the Exit button
    StartRecording,   // Enter or Space in a chord row's value box
    Undo,             // Ctrl+Z
    Redo,             // Ctrl+Y, Ctrl+Shift+Z
    CancelRecording,  // Escape alone in the value box that records
    ContextMenu,      // Shift+F10, the Menu key
};

// What has the keyboard focus.
enum class FocusedBox {
    Other,      // a button, a list, a check box, or no control
    Recording,  // the value box that records
    ChordBox,   // the value box of a Normal or Once row, not recording
    TextBox,    // the value box of a String row: it takes typed text
};

KeyRoute RouteKeyPress(const KeyEvent& press, FocusedBox focus, HeldModifiers held);

// The visible tab stop after (or before) from in the template's order, which is the tab order,
// going round at the ends; from itself when there is no other.
int NextTabStop(const DialogTemplate& dialog, const DialogControls& controls, int from,
                bool backwards);

}  // namespace varnok
