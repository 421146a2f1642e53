#pragma once

#include <functional>

#include "ui/FlowExecutor.h"

namespace varnok {

// Runs a flow where it is started and delivers everything at once, so the window's behaviour
// can be tested on one thread: a click on Save returns when the save has ended.
class InlineFlowExecutor : public FlowExecutor {
public:
    void Run(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
    void Post(std::function<void()> task) override { task(); }
    void Abandon() override {}
};

}  // namespace varnok
