#pragma once

#include <cstdint>
#include <string>

#include "keys/TestedPress.h"

namespace varnok {

// What the key tester says about an event, one line in the window's language (0 English,
// otherwise Chinese): what arrived and which key defines it, or a report it ignored and why.
std::string KeyTesterLine(const TesterEvent& event, std::int32_t language);

}  // namespace varnok
