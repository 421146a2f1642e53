#pragma once

#include <functional>

namespace varnok {

// Runs the window's save, clear and read-back flows away from the window's own thread, so the
// window keeps painting while the keyboard is written. The platform decides how work reaches
// the window's thread again.
class FlowExecutor {
public:
    virtual ~FlowExecutor() = default;

    // Starts work; when it has returned, done runs on the window's thread. One at a time: the
    // window starts no second flow before done has run.
    virtual void Run(std::function<void()> work, std::function<void()> done) = 0;
    // From the work: runs task on the window's thread soon, in the order posted.
    virtual void Post(std::function<void()> task) = 0;
    // Returns when the running work (if any) has returned; done and the tasks it posted are
    // then dropped. For a window that is closing.
    virtual void Abandon() = 0;
};

}  // namespace varnok
