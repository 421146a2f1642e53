#pragma once

#include <windows.h>

namespace varnok {

// The modal About box, made by the dialog manager from its template with the program icon of
// the given icon resource; OK, Escape and the close box end it.
void ShowAboutBox(HWND owner, WORD iconResource);

}  // namespace varnok
