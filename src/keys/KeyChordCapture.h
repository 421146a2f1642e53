#pragma once

#include "keys/KeyMessage.h"

#include <cstdint>

namespace varnok {

class KeyDefinitionDialog;

// Turns the keys pressed while a row is current into the row's text (each key's name followed
// by "|", a chord closed by ",") and into the slot's key report. It sees every key message of
// the main window before any control does. In a String row keys go on to the value box as
// typed text; in a Normal or Once row they are captured and swallowed. The Group Key boxes add
// their modifiers to every captured key. A slot takes one chord: after its first release
// further keys are refused until the slot is emptied.
class KeyChordCapture {
public:
    explicit KeyChordCapture(KeyDefinitionDialog& window) : window_(window) {}

    // True when the message was handled (swallowed).
    bool OnKeyMessage(const KeyMessage& message);

    void ApplyGroupKeyBoxes(std::uint8_t virtualKey);
    // Adds the key's name to the current row, or refuses it (repeat, a second chord, a sixth
    // key, a key without a name).
    bool NameCapturedKey(std::uint8_t virtualKey, KeyMessageKind kind);

private:
    bool KeyDown(std::uint8_t virtualKey, std::uint8_t scanByte);
    bool KeyUp(std::uint8_t virtualKey, std::uint8_t scanByte);
    bool SystemKeyDown(std::uint8_t virtualKey, std::uint8_t scanByte);
    bool SystemKeyUp(std::uint8_t virtualKey);
    // The chord is released: count it and keep the slot's definition in the slot map.
    void StoreReleasedChord();

    KeyDefinitionDialog& window_;
};

}  // namespace varnok
