#pragma once

#include <cstdint>
#include <optional>

#include "keys/KeyEvent.h"

namespace varnok {

// One key press or release as a platform reports it, already named in Windows terms.
struct KeyStroke {
    bool pressed;
    bool autoRepeat;  // a press or release the platform made up while the key is held
    std::uint8_t virtualKey;
    std::uint8_t scanByte;
    // Ctrl and Alt as the platform reports them held once the stroke has happened. For a
    // stroke of Ctrl or Alt itself, the stroke decides that key's state.
    bool ctrlHeld;
    bool altHeld;
};

// Turns platform key strokes into the key events Windows would deliver for them, so that
// the key capture sees the same sequence on every platform:
// - a key pressed or released while Alt is held and Ctrl is not, and F10 always, gives a
//   system-key event; so does the release of an Alt that went down on its own (as a system
//   key with nothing else between), while the release of an Alt used in Alt+key or with Ctrl is
//   a plain key-up;
// - a held key repeats key-downs and ends with one key-up: the releases that platforms send
//   between repeated presses are dropped;
// - Pause pressed with Ctrl held is Break (VK_CANCEL 03, scan byte 46) until it is released;
// - PrintScreen gives only its key-up: Windows keeps the key-down for its own screenshot.
class KeyStrokeTranslator {
public:
    std::optional<KeyEvent> Translate(const KeyStroke& stroke);

private:
    // Windows' memory of an Alt key-down that was a system key and has not been followed by
    // another system-key event: its release is a system key too.
    bool altWentDownAlone_ = false;
    bool pauseIsBreak_ = false;
};

}  // namespace varnok
