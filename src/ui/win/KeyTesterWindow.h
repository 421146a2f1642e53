#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "device/KeyboardInput.h"

namespace varnok {

class KeySlotsModel;

// The window's key tester on Windows: a modal window whose list gains a line per press of the
// keyboard's keys (the time, what arrived, which row defines it). The core's tester runs on a
// worker thread over the keyboard's input, which is read only while the window is open. The
// Close button and the close box end it; Enter and Escape do not, so that keys defined as
// them can be tested. `model` must stay unchanged while the window is open.
void ShowKeyTesterWindow(HWND owner, std::unique_ptr<KeyboardInput> input,
                         const KeySlotsModel& model, std::int32_t language);

}  // namespace varnok
