#pragma once

#include <cstdint>
#include <string>

#include "store/ChangeJournal.h"

namespace varnok {

// What a start says after the map's path when it found a change of the keys that was cut off:
// ": ..." in the window's language (0 English, otherwise Chinese). Empty for none.
std::string DescribeCutOffChange(const CutOffChange& found, std::int32_t language);

}  // namespace varnok
