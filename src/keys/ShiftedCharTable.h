#pragma once

#include <array>

#include "keys/CharKeyRow.h"

namespace varnok {

// Characters typed with Shift held. Looked up from the first row in both directions.
extern const std::array<CharKeyRow, 45> ShiftedCharTable;

}  // namespace varnok
