#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSettings>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MapFileLocation.h"
#include "app/UserDataFolder.h"
#include "app/qt/QtProgram.h"
#include "device/HidTrace.h"
#include "device/SimulatedKeyboard.h"
#include "device/SystemClock.h"
#include "device/linux/HidrawAccessAdvice.h"
#include "device/linux/HidrawAccessCheck.h"
#include "device/linux/HidrawPlatform.h"
#include "keys/qt/QtKeyEventTranslator.h"
#include "store/FileProblemTexts.h"
#include "store/ReplaceFile.h"
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

}  // namespace

int main(int argc, char** argv) {
    using namespace varnok;
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
        const QSettings settings(
            QSettings::NativeFormat, QSettings::UserScope,
            QString::fromUtf8(kOrganisationName.data(),
                              static_cast<qsizetype>(kOrganisationName.size())),
            QString::fromStdString(name));
        std::cout << UsageText(program,
                               dataFolder ? (*dataFolder / "msmap.dat").string()
                                          : "(no home folder: name a map file with --map FILE)",
                               settings.fileName().toStdString());
        return 0;
    }
    if (parsed.options.version) {
        std::cout << kProgramTitle << "\n";
        return 0;
    }

    // Past a file size limit a write fails and the user is told, instead of the process ending.
    std::signal(SIGXFSZ, SIG_IGN);

    // The keyboard: the real one through hidraw, or the simulated one.
    SystemClock clock;
    std::unique_ptr<HidPlatform> keyboard;
    std::string error;
    if (const auto& file = parsed.options.virtualKeyboardFile) {
        keyboard = SimulatedKeyboard::FromFile(*file, clock, error);
        if (!keyboard) return Fail(error);
        // The simulated keyboard rewrites its key table after every record it receives: find
        // out now, not at the first Save, whether that can work.
        if (const FileResult check = CheckReplaceable(*file); !check) {
            return Fail("the key table cannot be written: " + DescribeFileResult(check, 0));
        }
    } else {
        keyboard = std::make_unique<HidrawPlatform>();
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

    // msmap.dat: named by --map, or in the data folder named like the settings store.
    std::error_code noWorkingDirectory;
    const MapFileLocation map = MapFileLocation::Settle(
        parsed.options.mapFile, UserDataFolder(QtProgram::ApplicationName().toStdString()),
        std::filesystem::current_path(noWorkingDirectory));
    if (!map.error.empty()) return Fail(map.error);
    if (!map.notice.empty()) std::cerr << "varnok: " << map.notice << "\n";

    // The trace, once every file it must not go into is known.
    std::unique_ptr<HidTrace> trace;
    if (const auto& file = parsed.options.hidTraceFile) {
        std::vector<HidTrace::ProtectedFile> protectedFiles = {
            {map.file, "the file Varnok keeps the keys' texts in"}};
        if (const auto& table = parsed.options.virtualKeyboardFile) {
            protectedFiles.push_back({*table, "the simulated keyboard's key table"});
        }
        trace = HidTrace::ToFile(*keyboard, clock, *file, protectedFiles, error);
        if (!trace) return Fail(error);
    }
    HidPlatform& hid = trace ? static_cast<HidPlatform&>(*trace) : *keyboard;

    // When the real keyboard cannot be reached, the user learns whether it is there but refuses
    // them, and what fixes that: under the message, and on standard error.
    const HidrawAccessCheck accessCheck;
    const HidrawAccessAdvice accessAdvice(accessCheck);
    MainWindowBehaviour::ConnectionAdvice advice;
    if (!parsed.options.virtualKeyboardFile) {
        advice = [&accessAdvice](std::int32_t language) {
            return accessAdvice.Advise(language, std::cerr);
        };
    }

    QtKeyEventTranslator keys;
    QtProgram app(
        [&hid, &keys, &map, &advice](SettingsStore& settings, const std::string& applicationName) {
            auto window = std::make_unique<QtMainWindow>(
                [&hid, &settings, &map, &advice, applicationName](DialogControls& controls,
                                                                  FlowExecutor& executor) {
                    auto behaviour = std::make_unique<MainWindowBehaviour>(
                        controls, settings, hid, KeySlotsModel(SlotMap::InFile(map.file)), executor,
                        applicationName);
                    behaviour->SetConnectionAdvice(advice);
                    return behaviour;
                },
                MakeKeyCaptureValueBox);
            window->SetKeyPreFilter(CapturePreFilter(keys, window->Events()));
            return window;
        });
    app.InitInstance();
    return 0;
}
