#pragma once

#include "device/Clock.h"

namespace varnok {

// The machine's monotonic clock; Sleep blocks the calling thread.
class SystemClock : public Clock {
public:
    double NowMilliseconds() const override;
    void Sleep(int milliseconds) override;
};

}  // namespace varnok
