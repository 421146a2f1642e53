#pragma once

#include <array>

#include "keys/CharKeyRow.h"

namespace varnok {

// Characters typed without Shift. Looked up from the first row in both directions.
extern const std::array<CharKeyRow, 64> PlainCharTable;

}  // namespace varnok
