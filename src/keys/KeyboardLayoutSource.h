#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keys/KeyboardLayout.h"

namespace varnok {

// A layout the system offers, by the name it knows it by ("de", "us(dvorak)") and the
// description the user knows it by ("German").
struct LayoutOffer {
    std::string name;
    std::string description;

    bool operator==(const LayoutOffer&) const = default;
};

// The keyboard layouts of the system the window runs on, provided by the program's platform
// code as the settings store is.
class KeyboardLayoutSource {
public:
    virtual ~KeyboardLayoutSource() = default;
    // The layouts worth offering in the window's list, in no particular order.
    virtual std::vector<LayoutOffer> Offers() const = 0;
    // The name of the layout the desktop or the system types with; empty when none is known.
    virtual std::string SystemLayout() const = 0;
    // Nullptr and the reason for a name the system does not know.
    virtual std::unique_ptr<KeyboardLayout> Make(std::string_view name,
                                                 std::string& error) const = 0;
};

}  // namespace varnok
