#include <QApplication>

#include "app/qt/KeyToolApp.h"
#include "ui/DialogControls.h"
#include "ui/DialogEvents.h"
#include "ui/qt/KeyDefinitionWindow.h"

namespace {

// The window's shell alone, until the window's behaviour (KeyDefinitionDialog) is wired in
// here: it answers the About command and F1 and leaves the controls as the template made them.
class ShellEvents : public varnok::DialogEvents {
public:
    explicit ShellEvents(varnok::DialogControls& controls) : controls_(controls) {}

    void OnInitDialog() override {}
    void OnButtonClicked(int) override {}
    void OnFocusGained(int) override {}
    void OnSelectionChanged(int) override {}
    void OnClearKey() override {}
    bool OnHelpRequest() override { return true; }
    void OnAboutCommand() override { controls_.ShowAbout(); }
    bool OnKeyMessage(const varnok::KeyMessage&) override { return false; }

private:
    varnok::DialogControls& controls_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    varnok::KeyToolApp app([](varnok::SettingsStore&, const std::string&) {
        return std::make_unique<varnok::KeyDefinitionWindow>([](varnok::DialogControls& controls) {
            return std::make_unique<ShellEvents>(controls);
        });
    });
    app.InitInstance();
    return 0;
}
