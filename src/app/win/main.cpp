// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ProgramPlatform.h"
#include "app/StartUp.h"
#include "app/UserDataFolder.h"
#include "app/win/RegistrySettingsStore.h"
#include "app/win/WindowsLayoutSource.h"
#include "keys/MessageTexts.h"
#include "keys/StoredChoices.h"
#include "store/SlotMap.h"
#include "store/win/WideText.h"
#include "ui/MainWindowBehaviour.h"
#include "ui/ProgramVersion.h"
#include "ui/win/Win32MainWindow.h"

namespace {

using namespace varnok;

// A window program has no console of its own: what the command line asks for goes to the
// console it was started from, if any, else into a message box.
void Say(const std::string& text, bool error) {
    const HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE &&
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        return;
    }
    MessageBoxW(nullptr, WideFromUtf8(text).c_str(), L"Varnok",
                MB_OK | (error ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

int Fail(const std::string& message) {
    Say("varnok: " + message + "\n", true);
    return 2;
}

// Says why the window cannot start and stops: on the console it was started from, if any, and
// in a message box in the window's language, which a user who started it from the Start menu
// sees.
int RefuseStart(const std::string& reason, std::int32_t language) {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    const std::string line = "varnok: " + reason + "\n";
    DWORD written = 0;
    if (err != nullptr && err != INVALID_HANDLE_VALUE) {
        WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    const MessageText message = MessageFor(MessageId::StartRefused, language);
    const std::string body = std::string(message.text) + "\n\n" + reason;
    MessageBoxW(nullptr, WideFromUtf8(body).c_str(), WideFromUtf8(message.caption).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
    return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::string> arguments = ProgramArguments(0, nullptr);
    const std::string program = "varnok";
    const std::string name = ProgramName();
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) return Fail(parsed.error + "\nTry '" + program + " --help'.");
    if (parsed.options.help) {
        const auto dataFolder = UserDataFolder(name);
        const std::u8string map =
            dataFolder ? (*dataFolder / "msmap.dat").u8string() : u8"(no application data folder)";
        Say(UsageText(program, std::string(map.begin(), map.end()), WindowSettingsPlace(name)),
            false);
        return 0;
    }
    if (parsed.options.version) {
        Say(std::string(kProgramTitle) + "\n", false);
        return 0;
    }

    // The window's language, for what start-up may have to refuse.
    RegistrySettingsStore settings(name);
    const std::int32_t systemLanguage = SystemLanguage();
    const std::int32_t language = StoredLanguage(settings, systemLanguage);
    StartUp startUp(parsed.options, SystemHidPlatform, language);
    std::string error;
    if (!startUp.SettleMap(UserDataFolder(name), &settings, error))
        return RefuseStart(error, language);
    if (!startUp.MapNotice().empty()) Say("varnok: " + startUp.MapNotice() + "\n", true);
    HidPlatform* const keyboard = startUp.Keyboard(true, error);
    if (keyboard == nullptr) return RefuseStart(error, language);
    HidPlatform& hid = *keyboard;
    const std::filesystem::path map = startUp.MapFile();

    // Start-up: the common controls, the settings store, the main window run once. There is no
    // skin on Windows: the system's look is the program's.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const WindowsLayoutSource layouts;
    Win32MainWindow window([&](DialogControls& dialogControls, FlowExecutor& executor) {
        auto behaviour = std::make_unique<MainWindowBehaviour>(
            dialogControls, settings, hid, KeySlotsModel(SlotMap::InFile(map, &settings)), executor,
            name);
        behaviour->SetSystemLanguage(systemLanguage);
        behaviour->SetLayoutSource(layouts);
        return behaviour;
    });
    window.SetKeyboardInputSource(
        [simulated = startUp.Simulated()](std::int32_t,
                                          std::string& error) -> std::unique_ptr<KeyboardInput> {
            if (simulated) {
                error = "the simulated keyboard has no keys to press";
                return nullptr;
            }
            return SystemKeyboardInput(error);
        });
    window.Run();
    return 0;
}
