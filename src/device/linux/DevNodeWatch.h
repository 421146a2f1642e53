#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "device/DeviceWatch.h"

namespace varnok {

// Watches the hidraw nodes under /dev through inotify: a node made, removed, or given other
// rights (udev grants the user at the seat access after making the node) is a change. The
// device nodes themselves are never opened. Changes within the settle time are told once, and
// never more often than once per interval, however busy /dev is.
class DevNodeWatch : public DeviceWatch {
public:
    // The real /dev.
    DevNodeWatch();
    // Watches directory instead (tests), with other timings.
    DevNodeWatch(std::filesystem::path directory, std::chrono::milliseconds settle,
                 std::chrono::milliseconds interval);
    ~DevNodeWatch() override;
    DevNodeWatch(const DevNodeWatch&) = delete;
    DevNodeWatch& operator=(const DevNodeWatch&) = delete;

    bool Start(std::function<void()> changed) override;
    void Stop() override;

private:
    void Watch(std::function<void()> changed);
    // Reads what inotify holds; true when a hidraw node is among the names.
    bool TakeEvents();

    std::filesystem::path directory_;
    std::chrono::milliseconds settle_;
    std::chrono::milliseconds interval_;
    int inotify_ = -1;
    // Written to end the watching thread.
    int stopPipe_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace varnok
