#pragma once

#include <windows.h>

#include <string>

namespace varnok {

// Makes a value box of the main window a key-capture combo box. Once its edit field is first
// drawn (its first colour request), the field never shows a context menu and turns a
// right-button press into the clear-key request (WM_USER + 108) posted to the main window
// before its usual handling, having first taken the focus, so that the request empties the row
// clicked. In a chord row it drops typed Backspace and full stops; in a
// String row it edits as any edit field does, and asks the main window with kTextEditMessage
// before it keeps a change the user made. The combo box gives its edit field back its own
// window procedure when it is destroyed.
void MakeKeyCaptureComboBox(HWND comboBox, HWND mainWindow);

// A String row's box (typed text) or a chord row's box.
void SetTypedText(HWND comboBox, bool typedText);
// A marked box shows its field on a warning colour.
void SetMarked(HWND comboBox, bool marked);
// A box that records shows its field on a colour of its own, over a mark's.
void SetRecordingColour(HWND comboBox, bool recording);

// Posted by the edit field to the main window on a left-button press, once the field has the
// focus; wParam the box's control id.
constexpr UINT kValueBoxPressedMessage = WM_USER + 109;

// The clear-key request the edit field posts, both parameters 0.
constexpr UINT kClearKeyMessage = WM_USER + 108;

// Sent by the edit field of a String row's box to the main window, wParam the box's control
// id, lParam a TextEditRequest; the window answers TRUE to keep the edit, FALSE to have the
// field go back to the text before it.
constexpr UINT kTextEditMessage = WM_APP + 2;
struct TextEditRequest {
    const std::wstring* before;
    const std::wstring* after;
};

}  // namespace varnok
