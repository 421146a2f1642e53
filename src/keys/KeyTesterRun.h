#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "keys/TestedPress.h"

namespace varnok {

class KeyboardInput;
class KeySlotsModel;

// Runs the key tester over the keyboard's input until stop is set, the input fails or shown
// returns false: each report goes to a KeyTester session at the time it arrived, and each
// event the session makes goes to shown as soon as it is made. Blocks the calling thread (a
// front end runs it on a worker); wakes at least every tenth of a second to see stop. The
// input's failure, said as the system says it; empty when the run was ended.
std::string RunKeyTester(KeyboardInput& input, const KeySlotsModel& model,
                         const std::atomic<bool>& stop,
                         const std::function<bool(const TesterEvent&)>& shown);

}  // namespace varnok
