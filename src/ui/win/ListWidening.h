#pragma once

#include <windows.h>

namespace varnok {

// Widens a drop-down list to its widest item in its own font, with room for the arrow, the
// frame and the margins the combo box draws the selection with, so that no item loses its
// last glyph under the arrow. A font shrunk to fit the screen keeps the arrow's pixels and
// leaves the texts less room than the template planned. It never narrows a list; an editable
// box (a row's value) scrolls its text instead.
void WidenListToTexts(HWND combo);

}  // namespace varnok
