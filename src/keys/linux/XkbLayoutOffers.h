#pragma once

#include <vector>

#include "keys/KeyboardLayoutSource.h"

namespace varnok {

// The layouts the system's layout data lists (libxkbregistry), without their variants, which
// would make the list hundreds long: "de" German, "fr" French. Empty when the registry cannot
// be read.
std::vector<LayoutOffer> XkbLayoutOffers();

}  // namespace varnok
