#include "ui/controls/win/KeyCaptureComboBox.h"

#include <commctrl.h>

namespace varnok {

namespace {

// The edit field of a drop-down combo box is its child with this id.
constexpr int kEditFieldId = 1001;
constexpr UINT_PTR kComboSubclass = 1;
constexpr UINT_PTR kEditSubclass = 2;
// The box's state, kept as window properties of the combo box.
constexpr const wchar_t* kTypedTextProperty = L"varnok.typedText";
constexpr const wchar_t* kMarkedProperty = L"varnok.marked";
constexpr const wchar_t* kRecordingProperty = L"varnok.recording";
constexpr COLORREF kMarkColour = RGB(255, 236, 179);
constexpr COLORREF kRecordingColour = RGB(204, 232, 255);

std::wstring FieldText(HWND edit) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Lets the field handle a message that may change its text, then asks the main window whether
// the change stays; a refused one is taken back, selection and all.
LRESULT AskedEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, HWND mainWindow) {
    const std::wstring before = FieldText(edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    const std::wstring after = FieldText(edit);
    if (after == before) return result;
    TextEditRequest request{&before, &after};
    const WPARAM box = static_cast<WPARAM>(GetDlgCtrlID(GetParent(edit)));
    if (SendMessageW(mainWindow, kTextEditMessage, box, reinterpret_cast<LPARAM>(&request)) ==
        FALSE) {
        SetWindowTextW(edit, before.c_str());
        SendMessageW(edit, EM_SETSEL, start, end);
    }
    return result;
}

LRESULT CALLBACK KeyCaptureEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR mainWindow) {
    const bool typedText = GetPropW(GetParent(edit), kTypedTextProperty) != nullptr;
    switch (message) {
        case WM_CONTEXTMENU:
            return 0;
        case WM_RBUTTONDOWN:
            // The row clicked is the row emptied. An edit field keeps the focus where it was
            // on a right press, so the field takes it first: its box reports the focus and
            // its row becomes the current one before the posted request is handled.
            if (GetFocus() != edit) ::SetFocus(edit);
            PostMessageW(reinterpret_cast<HWND>(mainWindow), kClearKeyMessage, 0, 0);
            break;
        case WM_LBUTTONDOWN: {
            // The field takes the focus with the press; the window hears of it afterwards.
            const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
            PostMessageW(reinterpret_cast<HWND>(mainWindow), kValueBoxPressedMessage,
                         static_cast<WPARAM>(GetDlgCtrlID(GetParent(edit))), 0);
            return result;
        }
        case WM_CHAR:
            if (typedText) {
                return AskedEdit(edit, message, wParam, lParam, reinterpret_cast<HWND>(mainWindow));
            }
            if (wParam == 8 || wParam == '.') return 0;
            break;
        // Every other way the user changes the text: Delete, pasting, cutting, undoing, an
        // input method.
        case WM_KEYDOWN:
            if (typedText && wParam == VK_DELETE) {
                return AskedEdit(edit, message, wParam, lParam, reinterpret_cast<HWND>(mainWindow));
            }
            break;
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case WM_IME_CHAR:
        case WM_IME_COMPOSITION:
            // Asked in a chord row too, which takes none of them.
            return AskedEdit(edit, message, wParam, lParam, reinterpret_cast<HWND>(mainWindow));
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
        if (GetPropW(combo, kRecordingProperty) != nullptr) {
            static const HBRUSH recordingBrush = CreateSolidBrush(kRecordingColour);
            DefSubclassProc(combo, message, wParam, lParam);
            SetBkColor(reinterpret_cast<HDC>(wParam), kRecordingColour);
            return reinterpret_cast<LRESULT>(recordingBrush);
        }
        if (GetPropW(combo, kMarkedProperty) != nullptr) {
            static const HBRUSH markBrush = CreateSolidBrush(kMarkColour);
            DefSubclassProc(combo, message, wParam, lParam);
            SetBkColor(reinterpret_cast<HDC>(wParam), kMarkColour);
            return reinterpret_cast<LRESULT>(markBrush);
        }
    } else if (message == WM_DESTROY) {
        if (const HWND edit = GetDlgItem(combo, kEditFieldId)) {
            RemoveWindowSubclass(edit, KeyCaptureEdit, kEditSubclass);
        }
    } else if (message == WM_NCDESTROY) {
        RemovePropW(combo, kTypedTextProperty);
        RemovePropW(combo, kMarkedProperty);
        RemovePropW(combo, kRecordingProperty);
        RemoveWindowSubclass(combo, KeyCaptureCombo, kComboSubclass);
    }
    return DefSubclassProc(combo, message, wParam, lParam);
}

void SetFlag(HWND comboBox, const wchar_t* property, bool set) {
    if (set) {
        SetPropW(comboBox, property, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropW(comboBox, property);
    }
}

}  // namespace

void MakeKeyCaptureComboBox(HWND comboBox, HWND mainWindow) {
    SetWindowSubclass(comboBox, KeyCaptureCombo, kComboSubclass,
                      reinterpret_cast<DWORD_PTR>(mainWindow));
}

void SetTypedText(HWND comboBox, bool typedText) {
    SetFlag(comboBox, kTypedTextProperty, typedText);
}

void SetRecordingColour(HWND comboBox, bool recording) {
    if ((GetPropW(comboBox, kRecordingProperty) != nullptr) == recording) return;
    SetFlag(comboBox, kRecordingProperty, recording);
    InvalidateRect(comboBox, nullptr, TRUE);
}

void SetMarked(HWND comboBox, bool marked) {
    if ((GetPropW(comboBox, kMarkedProperty) != nullptr) == marked) return;
    SetFlag(comboBox, kMarkedProperty, marked);
    InvalidateRect(comboBox, nullptr, TRUE);
}

}  // namespace varnok
