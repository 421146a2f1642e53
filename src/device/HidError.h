#pragma once

#include <string>

namespace varnok {

// Why a HID operation failed, in the words of the platform that refused it: the system's own
// words and its number for the reason, or the simulated keyboard's words.
struct HidError {
    std::string text;  // "Broken pipe"; empty when the platform knows no reason
    std::string code;  // "errno 32", "Windows error 31"; empty when the system gave none
    bool operator==(const HidError&) const = default;
};

// "Broken pipe (errno 32)", as the HID trace writes it after "failed: ".
std::string DescribeHidError(const HidError& error);

}  // namespace varnok
