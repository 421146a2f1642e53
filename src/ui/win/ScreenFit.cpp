#include "ui/win/ScreenFit.h"

#include <algorithm>
#include <vector>

namespace varnok {

namespace {

// Below this the texts would no longer be legible; a window that still does not fit then
// scrolls its rows.
constexpr int kSmallestPoints = 6;
// The band never shrinks below one row, in dialog units: a screen smaller than that leaves the
// window running off it.
constexpr int kSmallestBand = 25;
constexpr const wchar_t* kBandClass = L"VarnokScrollingRows";

MONITORINFO WorkArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info)) info.rcWork = RECT{};
    return info;
}

// The window's outer size in pixels for a dialog font of points on a screen of dpi, as the
// dialog manager will make it: dialog units from the font's base units, plus the frame.
SIZE DialogWindowSize(const DialogTemplate& dialog, int points, UINT dpi) {
    const HDC screen = GetDC(nullptr);
    const HFONT font =
        CreateFontW(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SIZE alphabet{};
    GetTextExtentPoint32W(screen, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &alphabet);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    const int baseWidth = (alphabet.cx / 26 + 1) / 2;
    RECT outer{0, 0, MulDiv(dialog.width, baseWidth, 4),
               MulDiv(dialog.height, metrics.tmHeight, 8)};
    AdjustWindowRectEx(&outer, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, FALSE,
                       WS_EX_DLGMODALFRAME);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

RECT ClientRectOf(HWND control, HWND parent) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

DialogTemplate ScreenFit::Shrunk(DialogTemplate dialog) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const RECT work = WorkArea(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY)).rcWork;
    if (IsRectEmpty(&work)) return dialog;
    const HDC screen = GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    while (dialog.fontPoints > kSmallestPoints) {
        const SIZE size = DialogWindowSize(dialog, dialog.fontPoints, dpi);
        if (size.cx <= work.right - work.left && size.cy <= work.bottom - work.top) break;
        --dialog.fontPoints;
    }
    return dialog;
}

void ScreenFit::Fit(HWND dialog, const DialogTemplate& dialogTemplate) {
    dialog_ = dialog;
    if (band_ != nullptr || dialogTemplate.scrollBottom <= dialogTemplate.scrollTop) return;
    const RECT work = WorkArea(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST)).rcWork;
    RECT outer{};
    GetWindowRect(dialog, &outer);
    const int overflow = (outer.bottom - outer.top) - (work.bottom - work.top);
    if (IsRectEmpty(&work) || overflow <= 0) return;
    RECT band{0, dialogTemplate.scrollTop, dialogTemplate.width, dialogTemplate.scrollBottom};
    MapDialogRect(dialog, &band);
    RECT smallest{0, 0, 0, kSmallestBand};
    MapDialogRect(dialog, &smallest);
    height_ = band.bottom - band.top;
    page_ = std::max(height_ - overflow, std::min<int>(smallest.bottom, height_));
    const int shift = height_ - page_;

    static const ATOM registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = BandProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kBandClass;
        return RegisterClassExW(&windowClass);
    }();
    if (registered == 0) return;
    RECT client{};
    GetClientRect(dialog, &client);
    // The dialog manager looks into it for the controls' tab stops.
    band_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kBandClass, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN, 0, band.top,
                        client.right, page_, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (band_ == nullptr) return;
    SetWindowLongPtrW(band_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    // The controls in template order, which is the tab order and the order the band keeps.
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (child != band_) controls.push_back(child);
    }
    HWND after = HWND_TOP;
    for (const HWND control : controls) {
        const RECT place = ClientRectOf(control, dialog);
        if (place.top >= band.top && place.top < band.bottom) {
            SetParent(control, band_);
            SetWindowPos(control, after, place.left, place.top - band.top, 0, 0,
                         SWP_NOSIZE | SWP_NOACTIVATE);
            after = control;
        } else if (place.top >= band.bottom) {
            SetWindowPos(control, nullptr, place.left, place.top - shift, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    scroll.nMax = height_ - 1;
    scroll.nPage = static_cast<UINT>(page_);
    SetScrollInfo(band_, SB_VERT, &scroll, TRUE);
    // Shorter by what the band hides, and moved up where its bottom would leave the work area.
    const int top = std::max(
        work.top, std::min<LONG>(outer.top, work.bottom - (outer.bottom - outer.top - shift)));
    SetWindowPos(dialog, nullptr, outer.left, top, outer.right - outer.left,
                 outer.bottom - outer.top - shift, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ScreenFit::ShowControl(HWND control) {
    if (band_ == nullptr || GetParent(control) != band_) return;
    const RECT place = ClientRectOf(control, band_);
    // A combo box's window includes its dropped-down list: its edit field is what shows.
    const int bottom =
        place.top +
        static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) +
        2 * GetSystemMetrics(SM_CYEDGE) + 2;
    if (place.top < 0) {
        ScrollTo(position_ + place.top);
    } else if (bottom > page_) {
        ScrollTo(position_ + bottom - page_);
    }
}

void ScreenFit::ScrollTo(int position) {
    position = std::clamp(position, 0, height_ - page_);
    if (position == position_) return;
    ScrollWindowEx(band_, 0, position_ - position, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    position_ = position;
    SetScrollPos(band_, SB_VERT, position_, TRUE);
}

LRESULT CALLBACK ScreenFit::BandProcedure(HWND band, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* fit = reinterpret_cast<ScreenFit*>(GetWindowLongPtrW(band, GWLP_USERDATA));
    if (fit == nullptr) return DefWindowProcW(band, message, wParam, lParam);
    switch (message) {
        case WM_VSCROLL: {
            SCROLLINFO scroll{};
            scroll.cbSize = sizeof(scroll);
            scroll.fMask = SIF_TRACKPOS;
            GetScrollInfo(band, SB_VERT, &scroll);
            const int line = fit->page_ / 8;
            switch (LOWORD(wParam)) {
                case SB_LINEUP:
                    fit->ScrollTo(fit->position_ - line);
                    break;
                case SB_LINEDOWN:
                    fit->ScrollTo(fit->position_ + line);
                    break;
                case SB_PAGEUP:
                    fit->ScrollTo(fit->position_ - fit->page_);
                    break;
                case SB_PAGEDOWN:
                    fit->ScrollTo(fit->position_ + fit->page_);
                    break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION:
                    fit->ScrollTo(scroll.nTrackPos);
                    break;
                case SB_TOP:
                    fit->ScrollTo(0);
                    break;
                case SB_BOTTOM:
                    fit->ScrollTo(fit->height_);
                    break;
                default:
                    break;
            }
            return 0;
        }
        case WM_MOUSEWHEEL:
            fit->ScrollTo(fit->position_ -
                          GET_WHEEL_DELTA_WPARAM(wParam) * fit->page_ / (4 * WHEEL_DELTA));
            return 0;
        // The band's controls tell the dialog, as they would if they were its own; a right
        // click on the band's background is one on the dialog's.
        case WM_CONTEXTMENU:
            return SendMessageW(fit->dialog_, message,
                                reinterpret_cast<HWND>(wParam) == band
                                    ? reinterpret_cast<WPARAM>(fit->dialog_)
                                    : wParam,
                                lParam);
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            return SendMessageW(fit->dialog_, message, wParam, lParam);
        default:
            return DefWindowProcW(band, message, wParam, lParam);
    }
}

}  // namespace varnok
