#include "ui/qt/CapturePreFilter.h"

namespace varnok {

QtMainWindow::KeyPreFilter CapturePreFilter(QtKeyEventTranslator& keys, DialogEvents& events) {
    return [&keys, &events](QKeyEvent& event) {
        bool taken = false;
        // AltGr gives two messages; the key is taken when either is.
        for (const KeyMessage& message : keys.Translate(event)) {
            taken = events.OnKeyMessage(message) || taken;
        }
        return taken;
    };
}

}  // namespace varnok
