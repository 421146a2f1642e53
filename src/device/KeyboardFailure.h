#pragma once

#include <string>

#include "device/HidError.h"

namespace varnok {

// What the keyboard link was doing when the system refused it, where, and why.
struct KeyboardFailure {
    enum class Step {
        Listing,      // listing the HID interfaces
        Opening,      // opening the keyboard's interface
        Identifying,  // reading its ids or its report descriptor
        Sending,      // a report to the keyboard
        Receiving,    // a report from the keyboard
    };
    Step step;
    // The interface (a hidraw node, a Windows device path); empty for Listing.
    std::string path;
    HidError error;
};

}  // namespace varnok
