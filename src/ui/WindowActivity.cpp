#include "ui/WindowActivity.h"

namespace varnok {

bool WindowActivity::StartRecording(int box) {
    if (state_ != State::Idle) return false;
    state_ = State::Recording;
    recordingBox_ = box;
    return true;
}

bool WindowActivity::StartFlow() {
    if (state_ == State::RunningFlow) return false;
    state_ = State::RunningFlow;
    return true;
}

}  // namespace varnok
