#include "ui/controls/win/KeyCaptureComboBox.h"

#include <commctrl.h>

namespace varnok {

namespace {

// The edit field of a drop-down combo box is its child with this id.
constexpr int kEditFieldId = 1001;
constexpr UINT_PTR kComboSubclass = 1;
constexpr UINT_PTR kEditSubclass = 2;

LRESULT CALLBACK KeyCaptureEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR mainWindow) {
    switch (message) {
        case WM_CONTEXTMENU:
            return 0;
        case WM_RBUTTONDOWN:
            PostMessageW(reinterpret_cast<HWND>(mainWindow), kClearKeyMessage, 0, 0);
            break;
        case WM_CHAR:
            if (wParam == 8 || wParam == '.') return 0;
            break;
        default:
            break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK KeyCaptureCombo(HWND combo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR mainWindow) {
    if (message == WM_CTLCOLOREDIT) {
        // Subclassing again with the same procedure and id changes nothing, so the field is
        // taken over at its first colour request and left as it is at every later one.
        if (const HWND edit = GetDlgItem(combo, kEditFieldId)) {
            SetWindowSubclass(edit, KeyCaptureEdit, kEditSubclass, mainWindow);
        }
    } else if (message == WM_DESTROY) {
        if (const HWND edit = GetDlgItem(combo, kEditFieldId)) {
            RemoveWindowSubclass(edit, KeyCaptureEdit, kEditSubclass);
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(combo, KeyCaptureCombo, kComboSubclass);
    }
    return DefSubclassProc(combo, message, wParam, lParam);
}

}  // namespace

void MakeKeyCaptureComboBox(HWND comboBox, HWND mainWindow) {
    SetWindowSubclass(comboBox, KeyCaptureCombo, kComboSubclass,
                      reinterpret_cast<DWORD_PTR>(mainWindow));
}

}  // namespace varnok
