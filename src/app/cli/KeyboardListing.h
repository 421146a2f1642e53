#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/KeyboardLink.h"

namespace varnok {

class HidPlatform;

// One HID interface that list reports: the keyboard, or an interface with the keyboard's ids
// that cannot be used.
struct ListedInterface {
    std::string node;  // the device node, or the simulated keyboard's name
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    bool usable = false;  // the keyboard, ready for its feature reports
    // The top-level collection with the keyboard's 8-byte feature reports, when it was opened.
    std::optional<KeyboardLink::QualifyingCollection> collection;
    std::string problem;  // why it cannot be used
    std::string advice;   // what the user can do about it
};

using KeyboardListing = std::function<std::vector<ListedInterface>(HidPlatform& hid)>;

// Walks every interface of one enumeration, as the keyboard link's discovery does, but past
// the first keyboard and past the link's ten-interface limit: the accepted ones with a
// top-level collection of 8-byte feature reports are the keyboard; those that the enumeration
// gives the keyboard's ids but that cannot be opened are listed with the system's reason and
// the platform's advice (asked once, may be empty).
std::vector<ListedInterface> ListKeyboardInterfaces(HidPlatform& hid,
                                                    const std::function<std::string()>& advice);

}  // namespace varnok
