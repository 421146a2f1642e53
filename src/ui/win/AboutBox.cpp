#include "ui/win/AboutBox.h"

#include <vector>

#include "ui/AboutTemplate.h"
#include "ui/win/InMemoryDialogTemplate.h"

namespace varnok {

namespace {

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox(HWND owner, WORD iconResource, std::int32_t language) {
    const std::vector<std::uint16_t> about =
        InMemoryDialogTemplate(AboutTemplate(language), iconResource);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<const DLGTEMPLATE*>(about.data()), owner,
                            AboutProcedure, 0);
}

}  // namespace varnok
