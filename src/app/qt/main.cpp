#include <QApplication>
#include <QKeyEvent>

#include "app/qt/KeyToolApp.h"
#include "device/linux/HidrawPlatform.h"
#include "keys/qt/QtKeyEventTranslator.h"
#include "store/SlotMap.h"
#include "ui/KeyDefinitionDialog.h"
#include "ui/qt/KeyDefinitionWindow.h"

// Puts the program together: the Qt window, the window's behaviour on top of it, the keyboard
// found among the hidraw devices, msmap.dat in the current directory.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    varnok::HidrawPlatform hid;
    varnok::QtKeyEventTranslator keys;
    varnok::KeyToolApp app([&](varnok::SettingsStore& settings, const std::string& name) {
        auto window =
            std::make_unique<varnok::KeyDefinitionWindow>([&](varnok::DialogControls& controls) {
                return std::make_unique<varnok::KeyDefinitionDialog>(controls, settings, hid,
                                                                     varnok::SlotMap(), name);
            });
        // Every key of the window goes to the key capture first, as the key messages Windows
        // would deliver; a key the capture takes never reaches the focused control.
        window->SetKeyPreFilter([&keys, events = &window->Events()](QKeyEvent& event) {
            bool taken = false;
            for (const varnok::KeyMessage& message : keys.Translate(event)) {
                taken = events->OnKeyMessage(message) || taken;
            }
            return taken;
        });
        return window;
    });
    app.InitInstance();
    return 0;
}
