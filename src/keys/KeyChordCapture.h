#pragma once

#include <cstdint>

#include "keys/CaptureHost.h"
#include "keys/CaptureState.h"
#include "keys/KeyEvent.h"
#include "keys/KeySlotsModel.h"

namespace varnok {

// Turns the keys pressed while a row is current into the row's text (each key's name followed
// by "|", a chord closed by ",") and into the slot's key report, in the key slots model. It sees
// every key event of the main window before any control does. In a String row keys go on to the
// value box as typed text; in a Normal or Once row they are captured and swallowed. The Group Key
// boxes add their modifiers to every captured key. A slot takes one chord: after its first release
// further keys are refused until the slot is emptied.
class KeyChordCapture {
public:
    KeyChordCapture(KeySlotsModel& model, CaptureState& state, CaptureHost& host)
        : model_(model), state_(state), host_(host) {}

    // True when the message was handled (swallowed).
    bool OnKeyEvent(const KeyEvent& message);

    void ApplyGroupKeyBoxes(std::uint8_t virtualKey);
    // Adds the key's name to the current row, or refuses it (repeat, a second chord, a sixth
    // key, a key without a name).
    bool NameCapturedKey(std::uint8_t virtualKey, KeyEventKind kind);

private:
    bool KeyDown(std::uint8_t virtualKey, std::uint8_t scanByte);
    bool KeyUp(std::uint8_t virtualKey, std::uint8_t scanByte);
    bool SystemKeyDown(std::uint8_t virtualKey, std::uint8_t scanByte);
    bool SystemKeyUp(std::uint8_t virtualKey);

    KeySlotsModel& model_;
    CaptureState& state_;
    CaptureHost& host_;
};

}  // namespace varnok
