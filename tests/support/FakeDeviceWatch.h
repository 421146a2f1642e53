#pragma once

#include <functional>

#include "device/DeviceWatch.h"

namespace varnok {

// A device watch the test fires by hand, as the system would after a plug or an unplug.
class FakeDeviceWatch : public DeviceWatch {
public:
    bool Start(std::function<void()> changed) override {
        changed_ = std::move(changed);
        ++starts;
        return true;
    }
    void Stop() override { changed_ = nullptr; }
    // What the watch's own thread does after a change; nothing once stopped.
    void Fire() {
        if (changed_) changed_();
    }
    bool Watching() const { return static_cast<bool>(changed_); }

    int starts = 0;

private:
    std::function<void()> changed_;
};

}  // namespace varnok
