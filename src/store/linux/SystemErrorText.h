#pragma once

#include <string>

namespace varnok {

// The system's own words for an errno value ("Broken pipe"); safe on any thread.
std::string SystemErrorText(int error);

}  // namespace varnok
