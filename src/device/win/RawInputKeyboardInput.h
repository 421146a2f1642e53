#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/KeyboardInput.h"
#include "device/win/RawInputReports.h"

namespace varnok {

// The keyboard's input on Windows, through Raw Input: a message-only window of the calling
// thread receives the keyboard and mouse input of every device, also when another window has
// the focus, and takes only what comes from the keyboard's own device (its device path is a
// HID collection with the keyboard's ids); every other keyboard and mouse is ignored. Windows
// lets no program keep one keyboard's keys from the desktop without a driver, so the keys act
// on the desktop as well, which Notices says. Open may be called on any thread; the input
// arrives on the thread that calls Next first, and Next is called on that thread only.
class RawInputKeyboardInput : public KeyboardInput {
public:
    // Nullptr and the reason when there is no keyboard or Raw Input refuses.
    static std::unique_ptr<RawInputKeyboardInput> Open(std::string& error);
    ~RawInputKeyboardInput() override;
    RawInputKeyboardInput(const RawInputKeyboardInput&) = delete;
    RawInputKeyboardInput& operator=(const RawInputKeyboardInput&) = delete;

    const std::vector<std::vector<std::uint8_t>>& Descriptors() const override {
        return RawInputReports::Descriptors();
    }
    const std::vector<std::string>& Notices() const override { return notices_; }
    Wait Next(int timeoutMilliseconds, std::size_t& interface, std::vector<std::uint8_t>& report,
              std::string& error) override;

private:
    RawInputKeyboardInput() = default;
    // Makes the calling thread's message-only window and registers it for the input of every
    // keyboard and mouse; false with the reason when Windows refuses.
    bool Listen(std::string& error);
    // Whether Raw Input's device is one of the keyboard's collections (asked once per device).
    bool OwnDevice(HANDLE device);
    // Takes the window's waiting messages: the keyboard's own input into batch. False, with
    // the reason, when the keyboard went away.
    bool Drain(std::vector<RawInputReports::RawEvent>& batch, std::string& error);

    HWND window_ = nullptr;  // none until Next first waits
    // The keyboard's HID collections, as their device paths name them without the interface
    // class.
    std::set<std::string> instances_;
    std::map<HANDLE, bool> devices_;
    RawInputReports reports_;
    std::deque<RawInputReports::Report> ready_;
    std::vector<std::string> notices_;
};

}  // namespace varnok
