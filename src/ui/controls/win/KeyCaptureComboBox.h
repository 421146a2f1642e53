#pragma once

#include <windows.h>

namespace varnok {

// Makes a value box of the main window a key-capture combo box. Once its edit field is first
// drawn (its first colour request), the field drops typed Backspace and full stops, never
// shows a context menu, and turns a right-button press into the clear-key request
// (WM_USER + 108) posted to the main window before its usual handling. The combo box gives
// its edit field back its own window procedure when it is destroyed.
void MakeKeyCaptureComboBox(HWND comboBox, HWND mainWindow);

// The clear-key request the edit field posts, both parameters 0.
constexpr UINT kClearKeyMessage = WM_USER + 108;

}  // namespace varnok
