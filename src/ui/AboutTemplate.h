#pragma once

#include <cstdint>

#include "ui/DialogTemplate.h"

namespace varnok {

// The About box's template: 235 by 55 dialog units, "About Varnok", the program icon at the
// left, the version and a rights notice beside it, OK (id 1) at the top right; in Chinese for
// a language flag other than 0.
const DialogTemplate& AboutTemplate(std::int32_t language);

}  // namespace varnok
