#include "device/SystemClock.h"

#include <chrono>
#include <thread>

namespace varnok {

double SystemClock::NowMilliseconds() const {
    using Milliseconds = std::chrono::duration<double, std::milli>;
    return Milliseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SystemClock::Sleep(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

}  // namespace varnok
