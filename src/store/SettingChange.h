#pragma once

#include <cstdint>
#include <string>

namespace varnok {

// One value of the settings section that a change of the keys writes together with msmap.dat.
struct SettingChange {
    std::string name;
    std::int32_t value = 0;
    // The value is a floor: a larger one stored meanwhile stays (the key count that concurrent
    // changes leave shows every key any of them defined).
    bool atLeast = false;
};

}  // namespace varnok
