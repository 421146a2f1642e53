#pragma once

#include "keys/qt/QtKeyEventTranslator.h"
#include "ui/DialogEvents.h"
#include "ui/qt/QtMainWindow.h"

namespace varnok {

// The main window's key pre-filter: every key press and release goes to the window's
// behaviour first, as the key events Windows would deliver for it; a key the capture takes
// never reaches the focused control. Both arguments must outlive the filter.
QtMainWindow::KeyPreFilter CapturePreFilter(QtKeyEventTranslator& keys, DialogEvents& events);

}  // namespace varnok
