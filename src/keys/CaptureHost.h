#pragma once

#include "keys/MessageTexts.h"

namespace varnok {

// The Group Key boxes: modifiers added to every captured chord.
struct GroupKeys {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

// What the key capture needs of the window it runs in.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // The slot whose row has the keyboard focus (0 before the user enters a row).
    virtual int CurrentSlot() const = 0;
    // The Group Key boxes as the user has checked them now.
    virtual GroupKeys CheckedGroupKeys() = 0;
    // A row text changed: show it.
    virtual void ShowRowTexts() = 0;
    virtual void ShowMessage(MessageId id) = 0;
};

}  // namespace varnok
