#pragma once

#include <cstdint>
#include <string>

#include "flows/FlowHost.h"

namespace varnok {

// The line the window shows while a flow runs, in its language (Chinese whenever the flag is
// not 0), e.g. "Writing record 3 of 8".
std::string ProgressText(const FlowProgress& progress, std::int32_t language);

// The warning of a value text longer than limit characters.
std::string TooLongText(int limit, std::int32_t language);

}  // namespace varnok
