#pragma once

#include "keys/KeyboardLayout.h"

namespace varnok {

// The US QWERTY table that Varnok has always typed with: the layout when none is chosen, and
// the one that decodes a record whose layout is not known.
const KeyboardLayout& UsKeyboardLayout();

}  // namespace varnok
