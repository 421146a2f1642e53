#pragma once

#include <iomanip>
#include <ostream>

#include "keys/KeyMessage.h"

namespace varnok {

// Failed comparisons show key messages as Windows message logs print them: WM_SYSKEYDOWN 12/38.
inline void PrintTo(const KeyMessage& message, std::ostream* out) {
    switch (message.kind) {
        case KeyMessageKind::KeyDown:
            *out << "WM_KEYDOWN ";
            break;
        case KeyMessageKind::KeyUp:
            *out << "WM_KEYUP ";
            break;
        case KeyMessageKind::SysKeyDown:
            *out << "WM_SYSKEYDOWN ";
            break;
        case KeyMessageKind::SysKeyUp:
            *out << "WM_SYSKEYUP ";
            break;
    }
    *out << std::hex << std::uppercase << std::setfill('0') << std::setw(2)
         << int(message.virtualKey) << '/' << std::setw(2) << int(message.scanByte) << std::dec;
}

}  // namespace varnok
