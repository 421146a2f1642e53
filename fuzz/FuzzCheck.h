#pragma once

#include <cstdio>
#include <cstdlib>

namespace varnok {

// Stops the fuzzer with a finding when a property beyond "no crash" does not hold.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

}  // namespace varnok
