// The yardstick for varnok.exe's start-up under Windows: a program built the same way (static,
// with the same resources) that makes the same dialog from the same template in memory and
// runs it with the same kind of message loop, but carries none of Varnok's own work: no
// settings, no msmap.dat, no keyboard, no window behaviour.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <vector>

#include "ui/KeyDialogTemplate.h"
#include "ui/win/InMemoryDialogTemplate.h"

namespace {

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        DestroyWindow(dialog);
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const std::vector<std::uint16_t> dialogTemplate =
        varnok::InMemoryDialogTemplate(varnok::KeyDialogTemplate(), 128);
    const HWND dialog = CreateDialogIndirectParamW(
        instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr, Procedure,
        0);
    ShowWindow(dialog, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
