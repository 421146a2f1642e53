#pragma once

#include <cstdint>

namespace varnok {

// What the key capture remembers between key events.
struct CaptureState {
    std::uint8_t lastKeyCode = 0;
    std::uint8_t lastVirtualKey = 0;
    std::uint32_t lastMessageKind = 0;
    std::uint8_t keysInChord = 0;
    // Set while a chord's closing "," is appended.
    std::uint8_t busy = 0;
    // Key releases since start-up or since the clearing key; ResetCapture keeps it.
    std::uint8_t completedChords = 0;
};

}  // namespace varnok
