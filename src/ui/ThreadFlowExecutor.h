#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "ui/FlowExecutor.h"

namespace varnok {

// Runs each flow on a thread of its own. The platform layer hands in how to queue a task onto
// the window's thread (Qt's queued invocation, a posted window message on Windows).
class ThreadFlowExecutor : public FlowExecutor {
public:
    using PostToWindow = std::function<void(std::function<void()> task)>;

    explicit ThreadFlowExecutor(PostToWindow postToWindow);
    // Waits for a running flow, as Abandon does.
    ~ThreadFlowExecutor() override;
    ThreadFlowExecutor(const ThreadFlowExecutor&) = delete;
    ThreadFlowExecutor& operator=(const ThreadFlowExecutor&) = delete;

    void Run(std::function<void()> work, std::function<void()> done) override;
    void Post(std::function<void()> task) override;
    void Abandon() override;

private:
    PostToWindow postToWindow_;
    // Cleared by Abandon: tasks that reach the window's thread afterwards do nothing.
    std::shared_ptr<bool> live_ = std::make_shared<bool>(true);
    std::thread worker_;
};

}  // namespace varnok
