#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/SimulatedKeyboard.h"
#include "support/FallibleSettingsStore.h"
#include "support/InlineFlowExecutor.h"
#include "support/MemoryDialogControls.h"
#include "support/TempDirectory.h"
#include "support/VirtualClock.h"
#include "ui/MainWindowBehaviour.h"

namespace varnok {

// Controls that report a focus move back to the window, as the platform does.
class FocusReportingControls : public MemoryDialogControls {
public:
    DialogEvents* events = nullptr;
    void SetFocus(int id) override;
};

// The main window's behaviour on in-memory controls and settings, with msmap.dat in a
// temporary directory and the simulated keyboard on a virtual clock attached.
class WindowHarness : public ::testing::Test {
protected:
    WindowHarness();

    // Initialises the window as the platform does when it shows it.
    MainWindowBehaviour& Start();

    // What a user does.
    void Choose(int list, int index);
    // Clicks into the value box: it takes the focus, and a chord row's box records.
    void Focus(int valueBox);
    // Types text at the end of the box's field. A box that takes typed text asks the window
    // for each character, as the platform's field does, and keeps what it refuses out.
    void Type(int valueBox, const std::string& text);
    // Backspace in a box that takes typed text: the last character goes.
    void Backspace(int valueBox);
    void Press(std::uint8_t virtualKey, std::uint8_t scanByte);
    void Release(std::uint8_t virtualKey, std::uint8_t scanByte);
    // Presses the keys in order, then releases them in reverse order.
    void Chord(const std::vector<std::pair<std::uint8_t, std::uint8_t>>& keys);
    void Click(int button);

    // The slot's recorded reports, 8 bytes each.
    std::vector<std::uint8_t> Reports(int slot);
    // Texts and captions of the message boxes shown so far, "caption: text".
    std::vector<std::string> Messages() const;

    TempDirectory directory;
    FocusReportingControls controls;
    FallibleSettingsStore settings;
    VirtualClock clock;
    SimulatedKeyboard keyboard{clock};
    InlineFlowExecutor executor;
    // The system's language the window is started with.
    std::int32_t systemLanguage = 0;
    // The layouts the window's layout list offers; none: US only.
    const KeyboardLayoutSource* layoutSource = nullptr;
    std::unique_ptr<MainWindowBehaviour> window;
};

}  // namespace varnok
