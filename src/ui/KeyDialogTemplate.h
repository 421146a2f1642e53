#pragma once

#include "ui/DialogTemplate.h"

namespace varnok {

// The main key-definition window's template: 263 by 348 dialog units, its caption, a 9-point
// font and every control with its id, position and style. The Qt window is built from it.
const DialogTemplate& KeyDialogTemplate();

}  // namespace varnok
