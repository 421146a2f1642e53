#pragma once

#include <iomanip>
#include <ostream>

#include "keys/KeyEvent.h"

namespace varnok {

// Failed comparisons show key events as Windows message logs print them: WM_SYSKEYDOWN 12/38.
inline void PrintTo(const KeyEvent& message, std::ostream* out) {
    switch (message.kind) {
        case KeyEventKind::KeyDown:
            *out << "WM_KEYDOWN ";
            break;
        case KeyEventKind::KeyUp:
            *out << "WM_KEYUP ";
            break;
        case KeyEventKind::SysKeyDown:
            *out << "WM_SYSKEYDOWN ";
            break;
        case KeyEventKind::SysKeyUp:
            *out << "WM_SYSKEYUP ";
            break;
    }
    *out << std::hex << std::uppercase << std::setfill('0') << std::setw(2)
         << int(message.virtualKey) << '/' << std::setw(2) << int(message.scanByte) << std::dec;
}

}  // namespace varnok
