#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/KeyboardInput.h"

namespace varnok {

// The keyboard's input on Linux: the hidraw nodes with the keyboard's ids whose report
// descriptor declares key or mouse input, read only while this object lives. Meanwhile the
// keyboard's own input event nodes are held (EVIOCGRAB), so that its keys reach the tester
// and not the desktop; other keyboards are not touched, and the kernel lets go of the hold
// when the nodes close, also when the program is killed.
class HidrawKeyboardInput : public KeyboardInput {
public:
    // Nullptr and the reason when there is no keyboard, or when one of its nodes refuses
    // this user (refused then names the nodes, for the advice the caller adds).
    static std::unique_ptr<HidrawKeyboardInput> Open(std::string& error,
                                                     std::vector<std::string>& refused);
    ~HidrawKeyboardInput() override;
    HidrawKeyboardInput(const HidrawKeyboardInput&) = delete;
    HidrawKeyboardInput& operator=(const HidrawKeyboardInput&) = delete;

    const std::vector<std::vector<std::uint8_t>>& Descriptors() const override {
        return descriptors_;
    }
    const std::vector<std::string>& Notices() const override { return notices_; }
    Wait Next(int timeoutMilliseconds, std::size_t& interface, std::vector<std::uint8_t>& report,
              std::string& error) override;

private:
    HidrawKeyboardInput() = default;
    // Holds the input event nodes the kernel made of one hidraw node's HID device.
    void HoldEventNodes(const std::string& hidrawName);

    std::vector<int> hidrawFds_;
    std::vector<std::vector<std::uint8_t>> descriptors_;
    std::vector<int> eventFds_;
    std::vector<std::string> notices_;
};

}  // namespace varnok
