#pragma once

#include "ui/DialogTemplate.h"

namespace varnok {

// The About box's template: 235 by 55 dialog units, "About Varnok", the program icon at the
// left, the version and a rights notice beside it, OK (id 1) at the top right.
const DialogTemplate& AboutTemplate();

}  // namespace varnok
