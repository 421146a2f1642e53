#pragma once

namespace varnok {

// Time as the device layer sees it: the pauses that pace the keyboard and the times in a HID
// trace. Tests substitute a virtual clock so that pacing is checked without waiting.
class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary fixed origin; never decreases.
    virtual double NowMilliseconds() const = 0;
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace varnok
