#pragma once

#include <string>

#include "keys/KeyEvent.h"

namespace varnok {

// What the platform's window reports to the window's behaviour. Each call arrives on the
// user-interface thread; none arrives for changes the behaviour made itself through
// DialogControls (focus moves excepted).
class DialogEvents {
public:
    virtual ~DialogEvents() = default;

    // The controls exist: restore the user's choices and fill the window.
    virtual void OnInitDialog() = 0;
    // A push button was clicked (Save, Clear, Get Defined Key), or the context menu's export or
    // import entry chosen (ControlId::ExportEntry, ImportEntry). Exit is the platform's.
    virtual void OnButtonClicked(int id) = 0;
    // A value box gained the keyboard focus.
    virtual void OnFocusGained(int id) = 0;
    // The left mouse button went down in a value box's edit field, which has the focus by now.
    virtual void OnValueBoxPressed(int id) = 0;
    // A mouse button went down on the window's background or one of its labels, which take no
    // focus (a click on any other control moves the focus there).
    virtual void OnBackgroundPressed() = 0;
    // A value box lost the keyboard focus: to another control, another window or program.
    virtual void OnFocusLost(int id) = 0;
    // The user changed the selection of a list (value boxes, function, language, key count).
    virtual void OnSelectionChanged(int id) = 0;
    // The clear-key request a right click in a value box's edit field posts.
    virtual void OnClearKey() = 0;
    // F1: answered (true) and otherwise ignored.
    virtual bool OnHelpRequest() = 0;
    // The user asked for the About box.
    virtual void OnAboutCommand() = 0;
    // Every key event of the window before any control sees it; true when it was handled
    // (swallowed), false when it goes on to the focused control.
    virtual bool OnKeyEvent(const KeyEvent& message) = 0;
    // The user is about to change the text of a value box that takes typed text (typing,
    // pasting, deleting) from before to after; false refuses the edit and the box keeps before.
    virtual bool OnTextEdit(int id, const std::string& before, const std::string& after) = 0;
    // The system's devices changed (a device plugged in or pulled out): the keyboard may have
    // come or gone.
    virtual void OnDevicesChanged() = 0;
    // The user asks to close the window (Exit, Escape, the close box): true when it may close.
    // Unsaved rows are asked about first.
    virtual bool OnCloseRequest() = 0;
    // The window is about to close: a flow that is writing the keyboard finishes the record
    // it is on and stops before this returns, and the window says what the keyboard holds.
    virtual void OnClosing() = 0;
};

}  // namespace varnok
