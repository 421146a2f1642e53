#pragma once

namespace varnok {

// What the main window is doing, the one thing its behaviour asks before it acts on the
// user's input. Idle: the controls work as a dialog's do. Recording: one value box takes every
// key as part of a chord. RunningFlow: a save, clear or read-back has the rows; only Exit
// works. Asking: a question of the window is open; what else arrives is not the user's answer.
class WindowActivity {
public:
    enum class State { Idle, Recording, RunningFlow, Asking };

    State Current() const { return state_; }
    bool IsIdle() const { return state_ == State::Idle; }
    bool IsRecording() const { return state_ == State::Recording; }
    bool FlowRunning() const { return state_ == State::RunningFlow; }
    // The value box that records; 0 when none does.
    int RecordingBox() const { return state_ == State::Recording ? recordingBox_ : 0; }
    // Whether the user's edits of the rows and buttons are taken now.
    bool TakesEdits() const { return state_ == State::Idle; }

    // From Idle only; false (and nothing changes) otherwise.
    bool StartRecording(int box);
    // A flow starts from any state but another flow (the window's own question included:
    // its Save answer runs the save).
    bool StartFlow();
    void StartAsking() { state_ = State::Asking; }
    void BackToIdle() { state_ = State::Idle; }

private:
    State state_ = State::Idle;
    int recordingBox_ = 0;
};

}  // namespace varnok
