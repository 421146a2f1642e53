#pragma once

#include "device/Clock.h"

namespace varnok {

// A clock that moves only when someone sleeps on it, so paced protocols run instantly and
// their pauses can be added up exactly.
class VirtualClock : public Clock {
public:
    double NowMilliseconds() const override { return now_; }
    void Sleep(int milliseconds) override { now_ += milliseconds; }
    void Advance(double milliseconds) { now_ += milliseconds; }

private:
    double now_ = 0;
};

}  // namespace varnok
