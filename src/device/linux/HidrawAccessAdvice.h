#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "device/linux/HidrawAccessCheck.h"

namespace varnok {

// What to tell a user whose keyboard is there but refuses them: the detail under the "not
// connected" message, naming the node and the fix (install the udev rule, replug), in the
// window's language, and the same as a line on the log (standard error).
class HidrawAccessAdvice {
public:
    // `check` must outlive the advice.
    explicit HidrawAccessAdvice(const HidrawAccessCheck& check);

    // Runs the check. Empty, and nothing logged, when no keyboard refuses the user.
    // language: 0 English, any other value Chinese, as the window's language flag.
    std::string Advise(std::int32_t language, std::ostream& log) const;

private:
    const HidrawAccessCheck& check_;
};

}  // namespace varnok
