// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MapFileLocation.h"
#include "app/UserDataFolder.h"
#include "app/win/RegistrySettingsStore.h"
#include "device/HidTrace.h"
#include "device/SimulatedKeyboard.h"
#include "device/SystemClock.h"
#include "device/win/SetupApiHidPlatform.h"
#include "store/FileProblemTexts.h"
#include "store/ReplaceFile.h"
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

// The program's arguments as UTF-8, the program's path first.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The executable's file name without its extension: the settings' program name.
std::string ApplicationName() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    const std::u8string stem = std::filesystem::path(path).stem().u8string();
    return stem.empty() ? "varnok" : std::string(stem.begin(), stem.end());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::string> arguments = Arguments();
    const std::string program = "varnok";
    const std::string name = ApplicationName();
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) return Fail(parsed.error + "\nTry '" + program + " --help'.");
    if (parsed.options.help) {
        const auto dataFolder = UserDataFolder(name);
        const std::u8string map =
            dataFolder ? (*dataFolder / "msmap.dat").u8string() : u8"(no application data folder)";
        Say(UsageText(program, std::string(map.begin(), map.end()),
                      "HKEY_CURRENT_USER\\Software\\brelmoth\\" + name + "\\Settings"),
            false);
        return 0;
    }
    if (parsed.options.version) {
        Say(std::string(kProgramTitle) + "\n", false);
        return 0;
    }

    // The keyboard: the real one through the HID services, or the simulated one.
    SystemClock clock;
    std::unique_ptr<HidPlatform> keyboard;
    std::string error;
    if (const auto& file = parsed.options.virtualKeyboardFile) {
        keyboard = SimulatedKeyboard::FromFile(PathOf(*file), clock, error);
        if (!keyboard) return Fail(error);
        if (const FileResult check = CheckReplaceable(PathOf(*file)); !check) {
            return Fail("the key table cannot be written: " + DescribeFileResult(check, 0));
        }
    } else {
        keyboard = std::make_unique<SetupApiHidPlatform>();
    }

    // msmap.dat: named by --map, or in the data folder named like the settings.
    std::error_code noWorkingDirectory;
    const MapFileLocation map =
        MapFileLocation::Settle(parsed.options.mapFile, UserDataFolder(name),
                                std::filesystem::current_path(noWorkingDirectory));
    if (!map.error.empty()) return Fail(map.error);
    if (!map.notice.empty()) Say("varnok: " + map.notice + "\n", true);

    std::unique_ptr<HidTrace> trace;
    if (const auto& file = parsed.options.hidTraceFile) {
        std::vector<HidTrace::ProtectedFile> protectedFiles = {
            {map.file, "the file Varnok keeps the keys' texts in"}};
        if (const auto& table = parsed.options.virtualKeyboardFile) {
            protectedFiles.push_back({PathOf(*table), "the simulated keyboard's key table"});
        }
        trace = HidTrace::ToFile(*keyboard, clock, PathOf(*file), protectedFiles, error);
        if (!trace) return Fail(error);
    }
    HidPlatform& hid = trace ? static_cast<HidPlatform&>(*trace) : *keyboard;

    // Start-up: the common controls, the settings store, the main window run once. There is no
    // skin on Windows: the system's look is the program's.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegistrySettingsStore settings(name);
    Win32MainWindow window([&](DialogControls& dialogControls, FlowExecutor& executor) {
        return std::make_unique<MainWindowBehaviour>(dialogControls, settings, hid,
                                                     KeySlotsModel(SlotMap::InFile(map.file)),
                                                     executor, name);
    });
    window.Run();
    return 0;
}
