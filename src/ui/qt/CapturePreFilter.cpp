#include "ui/qt/CapturePreFilter.h"

namespace varnok {

QtMainWindow::KeyPreFilter CapturePreFilter(QtKeyEventTranslator& keys, DialogEvents& events) {
    return [&keys, &events](QKeyEvent& event) {
        bool taken = false;
        // AltGr gives two messages; the key is taken when either is.
        for (const KeyEvent& message : keys.Translate(event)) {
            taken = events.OnKeyEvent(message) || taken;
        }
        return taken;
    };
}

}  // namespace varnok
