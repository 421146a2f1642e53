#pragma once

#include <functional>

namespace varnok {

// Tells when a keyboard may have been plugged in or pulled out, or its access rights changed,
// so a window can say whether the keyboard is there without the user asking. It never opens
// a device: whoever is told looks for the keyboard again.
class DeviceWatch {
public:
    virtual ~DeviceWatch() = default;

    // From now until Stop, changed runs (on a thread of the watch's own) after each change,
    // changes close together told once. False when the system cannot be watched; the window
    // then learns of the keyboard only when it looks for it.
    virtual bool Start(std::function<void()> changed) = 0;
    // Returns when changed no longer runs and will not run again.
    virtual void Stop() = 0;
};

}  // namespace varnok
