#pragma once

#include <windows.h>

#include "ui/DialogTemplate.h"

namespace varnok {

// Keeps a dialog made from a template inside the work area of its screen without cutting a
// text. Before the dialog is made, its font shrinks, down to a legible floor, until the window
// fits; dialog units follow the font, so the window keeps its proportions. Where it is still
// taller than the work area, the template's band of rows moves into a child window that
// scrolls, capped to fit, while the controls above and below it (the buttons, the status
// line) keep their sizes and stay in view.
class ScreenFit {
public:
    // The template with its font made smaller where the window would not fit the work area
    // of the screen it opens on.
    static DialogTemplate Shrunk(DialogTemplate dialog);

    ScreenFit() = default;
    ScreenFit(const ScreenFit&) = delete;
    ScreenFit& operator=(const ScreenFit&) = delete;

    // Moves the band's controls into a scrolling child window if the dialog, made from
    // dialogTemplate, is taller than its screen's work area, and makes the dialog that much
    // shorter.
    void Fit(HWND dialog, const DialogTemplate& dialogTemplate);

    // The window that holds the band's controls, or nullptr while nothing scrolls.
    HWND Band() const { return band_; }

    // Scrolls the band so that control, one of its controls, is whole in view.
    void ShowControl(HWND control);

private:
    static LRESULT CALLBACK BandProcedure(HWND band, UINT message, WPARAM wParam, LPARAM lParam);
    void ScrollTo(int position);

    HWND dialog_ = nullptr;
    HWND band_ = nullptr;
    int position_ = 0;
    int page_ = 0;
    int height_ = 0;
};

}  // namespace varnok
