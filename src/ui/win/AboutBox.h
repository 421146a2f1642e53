#pragma once

#include <windows.h>

#include <cstdint>

namespace varnok {

// The modal About box, made by the dialog manager from its template with the program icon of
// the given icon resource, in Chinese for a language flag other than 0; OK, Escape and the
// close box end it.
void ShowAboutBox(HWND owner, WORD iconResource, std::int32_t language);

}  // namespace varnok
