#include "ui/win/ListWidening.h"

#include <string>

namespace varnok {

void WidenListToTexts(HWND combo) {
    if ((GetWindowLongW(combo, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST) return;
    const HDC context = GetDC(combo);
    if (context == nullptr) return;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(combo, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(context, font);
    LONG widest = 0;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        if (length <= 0) continue;
        std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        SIZE extent{};
        GetTextExtentPoint32W(context, item.c_str(), static_cast<int>(length), &extent);
        if (extent.cx > widest) widest = extent.cx;
    }
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    SelectObject(context, previous);
    ReleaseDC(combo, context);
    // The arrow button, the sunken frame on both sides, and the selection's inset around the
    // text: an average character in all.
    const LONG needed = widest + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE) +
                        metrics.tmAveCharWidth;
    RECT box{};
    GetWindowRect(combo, &box);
    if (box.right - box.left >= needed) return;
    SetWindowPos(combo, nullptr, 0, 0, needed, box.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace varnok
