#include "ui/ThreadFlowExecutor.h"

#include <utility>

namespace varnok {

ThreadFlowExecutor::ThreadFlowExecutor(PostToWindow postToWindow)
    : postToWindow_(std::move(postToWindow)) {}

ThreadFlowExecutor::~ThreadFlowExecutor() {
    Abandon();
}

void ThreadFlowExecutor::Run(std::function<void()> work, std::function<void()> done) {
    // The previous worker has posted its done task and returned by now; only its thread
    // object is left to reap.
    if (worker_.joinable()) worker_.join();
    worker_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        Post(std::move(done));
    });
}

void ThreadFlowExecutor::Post(std::function<void()> task) {
    // Only the window's thread reads or clears *live_, so the check happens there.
    postToWindow_([live = live_, task = std::move(task)] {
        if (*live) task();
    });
}

void ThreadFlowExecutor::Abandon() {
    *live_ = false;
    if (worker_.joinable()) worker_.join();
    live_ = std::make_shared<bool>(true);
}

}  // namespace varnok
