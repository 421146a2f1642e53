#include <QApplication>
#include <QKeyEvent>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MemorySettingsStore.h"
#include "app/OutputFailure.h"
#include "app/ProgramPlatform.h"
#include "app/StartUp.h"
#include "app/UserDataFolder.h"
#include "app/linux/XkbLayoutSource.h"
#include "app/qt/QtProgram.h"
#include "keys/StoredChoices.h"
#include "keys/qt/QtKeyEventTranslator.h"
#include "store/SlotMap.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/ProgramVersion.h"
#include "ui/controls/qt/KeyCaptureComboBox.h"
#include "ui/qt/CapturePreFilter.h"
#include "ui/qt/QtMainWindow.h"

namespace {

int Fail(const std::string& message) {
    std::cerr << "varnok: " << message << "\n";
    return 2;
}

// Says why the window cannot start and stops: on standard error, and, since a window started
// from a desktop menu has no one reading that, in a message box too where there is a display
// to show one on (not the offscreen or minimal platform of tests and scripts).
int RefuseStart(const std::string& reason, std::int32_t language,
                const std::vector<std::string>& toolkitArguments) {
    Fail(reason);
    const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                         qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                         qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    if (!display) return 2;
    // A display that cannot be reached ends Qt with a fatal message: the reason has been said,
    // so the program stops as it would have without the box.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
        if (type == QtFatalMsg) std::_Exit(2);
    });
    std::vector<std::string> arguments = toolkitArguments;
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    QApplication application(argc, argv.data());
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        varnok::QtProgram::ShowStartRefusal(reason, language);
    }
    return 2;
}

// The help or version text was the result: status 2 and the reason when it did not arrive.
int Delivered(std::ostream& out) {
    const std::string failure = varnok::OutputFailure(out);
    return failure.empty() ? 0 : Fail(failure);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace varnok;
    // Before any file is opened.
    PrepareProcess();
    const std::vector<std::string> arguments(argv, argv + argc);
    const std::string program =
        std::filesystem::path(arguments.empty() ? "varnok" : arguments[0]).filename().string();
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) return Fail(parsed.error + "\nTry '" + program + " --help'.");
    if (parsed.options.help) {
        // Before any toolkit start, so that --help works without a display; the settings
        // file's name needs none.
        const std::string name = std::filesystem::path(program).stem().string();
        const auto dataFolder = UserDataFolder(name);
        std::cout << UsageText(program,
                               dataFolder ? (*dataFolder / "msmap.dat").string()
                                          : "(no home folder: name a map file with --map FILE)",
                               WindowSettingsPlace(name));
        return Delivered(std::cout);
    }
    if (parsed.options.version) {
        std::cout << kProgramTitle << "\n";
        return Delivered(std::cout);
    }

    // Everything that can stop Varnok is settled before the toolkit starts.
    // The settings, read once: the window's language, for what start-up may have to refuse,
    // and the window's choices. Without a home folder they live as long as the window.
    std::string error;
    std::unique_ptr<SettingsStore> settings = WindowSettingsStore(ProgramName(), error);
    if (!settings) settings = std::make_unique<MemorySettingsStore>();
    const std::int32_t systemLanguage = SystemLanguage();
    const std::int32_t language = StoredLanguage(*settings, systemLanguage);
    StartUp startUp(parsed.options, SystemHidPlatform, language);
    if (!startUp.SettleMap(UserDataFolder(ProgramName()), settings.get(), error)) {
        return RefuseStart(error, language, parsed.toolkitArguments);
    }
    if (!startUp.MapNotice().empty()) std::cerr << "varnok: " << startUp.MapNotice() << "\n";
    HidPlatform* const keyboard = startUp.Keyboard(true, error);
    if (keyboard == nullptr) return RefuseStart(error, language, parsed.toolkitArguments);
    HidPlatform& hid = *keyboard;
    const std::filesystem::path map = startUp.MapFile();

    // When the real keyboard cannot be reached, the user learns whether it is there but refuses
    // them, and what fixes that: under the message, and on standard error.
    MainWindowBehaviour::ConnectionAdvice advice;
    if (!startUp.Simulated()) {
        advice = [](std::int32_t language) { return KeyboardAccessAdvice(language, std::cerr); };
    }

    // Qt sees only its own options.
    std::vector<std::string> toolkitArguments = parsed.toolkitArguments;
    std::vector<char*> toolkitArgv;
    for (std::string& argument : toolkitArguments) toolkitArgv.push_back(argument.data());
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitArguments.size());
    QApplication application(toolkitArgc, toolkitArgv.data());
    // Wayland compositors match the window to its menu entry (and icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brelmoth.varnok"));

    // The status line follows the keyboard's nodes; the simulated keyboard is always there.
    const std::unique_ptr<DeviceWatch> watch = startUp.Simulated() ? nullptr : SystemDeviceWatch();

    QtKeyEventTranslator keys;
    const XkbLayoutSource layouts;
    const bool simulated = startUp.Simulated();
    QtProgram app(
        *settings, [&hid, &keys, &map, &advice, &watch, &layouts, simulated, systemLanguage](
                       SettingsStore& settings, const std::string& applicationName) {
            auto window = std::make_unique<QtMainWindow>(
                [&hid, &settings, &map, &advice, &watch, &layouts, applicationName, systemLanguage](
                    DialogControls& controls, FlowExecutor& executor) {
                    auto behaviour = std::make_unique<MainWindowBehaviour>(
                        controls, settings, hid, KeySlotsModel(SlotMap::InFile(map, &settings)),
                        executor, applicationName);
                    behaviour->SetConnectionAdvice(advice);
                    behaviour->SetSystemLanguage(systemLanguage);
                    behaviour->SetLayoutSource(layouts);
                    if (watch) behaviour->SetDeviceWatch(*watch);
                    return behaviour;
                },
                MakeKeyCaptureValueBox);
            window->SetKeyPreFilter(CapturePreFilter(keys, window->Events()));
            window->SetKeyboardInputSource(
                [simulated](std::int32_t language,
                            std::string& error) -> std::unique_ptr<KeyboardInput> {
                    if (simulated) {
                        error = "the simulated keyboard has no keys to press";
                        return nullptr;
                    }
                    std::unique_ptr<KeyboardInput> input = SystemKeyboardInput(error);
                    if (!input) {
                        const std::string advice = KeyboardAccessAdvice(language, std::cerr);
                        if (!advice.empty()) error += "\n\n" + advice;
                    }
                    return input;
                });
            return window;
        });
    app.InitInstance();
    return 0;
}
