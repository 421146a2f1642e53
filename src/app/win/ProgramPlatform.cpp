#include "app/ProgramPlatform.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <filesystem>
#include <iostream>
#include <streambuf>

#include "app/UserDataFolder.h"
#include "app/win/RegistrySettingsStore.h"
#include "device/win/RawInputKeyboardInput.h"
#include "device/win/SetupApiHidPlatform.h"
#include "keys/win/WindowsKeyboardLayout.h"
#include "store/win/WideText.h"

namespace varnok {
namespace {

// The length of the longest start of text that ends on a whole UTF-8 sequence: the rest waits
// for the bytes that complete it.
std::size_t WholeSequences(const std::string& text) {
    std::size_t end = text.size();
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (length > back) end = text.size() - back;
            break;
        }
    }
    return end;
}

// A console shows text in its own code page, which is rarely UTF-8: the UTF-8 the program
// prints reaches it as UTF-16 through WriteConsoleW instead. Redirected output is not a console
// and keeps the program's UTF-8 bytes.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (c == '\n') Write();
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pending_.append(text, static_cast<std::size_t>(count));
        Write();
        return count;
    }
    int sync() override {
        Write();
        return 0;
    }

private:
    void Write() {
        const std::size_t end = WholeSequences(pending_);
        const std::wstring wide = WideFromUtf8(std::string_view(pending_).substr(0, end));
        DWORD written = 0;
        WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        pending_.erase(0, end);
    }

    HANDLE console_;
    std::string pending_;
};

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

std::atomic<bool>* stopFlag = nullptr;
std::atomic<bool> interrupted{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (interrupted.exchange(true)) return FALSE;  // the system's handler ends the process
    *stopFlag = true;
    return TRUE;
}

}  // namespace

void PrepareProcess() {
    if (const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE); IsConsole(out)) {
        static ConsoleBuffer buffer(out);
        std::cout.rdbuf(&buffer);
    }
    if (const HANDLE err = GetStdHandle(STD_ERROR_HANDLE); IsConsole(err)) {
        static ConsoleBuffer buffer(err);
        std::cerr.rdbuf(&buffer);
    }
}

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide != nullptr && i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::string ProgramName() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    const std::u8string stem = std::filesystem::path(path).stem().u8string();
    return stem.empty() ? "varnok" : std::string(stem.begin(), stem.end());
}

std::unique_ptr<HidPlatform> SystemHidPlatform() {
    return std::make_unique<SetupApiHidPlatform>();
}

// The window registers for the HID interface class and hears WM_DEVICECHANGE itself.
std::unique_ptr<DeviceWatch> SystemDeviceWatch() {
    return nullptr;
}

// The registry key where the window keeps its values.
// The user's language of menus and dialogs, as Windows shows them to this user.
std::int32_t SystemLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? 1 : 0;
}

std::unique_ptr<SettingsStore> WindowSettingsStore(std::string_view program, std::string&) {
    return std::make_unique<RegistrySettingsStore>(std::string(program));
}

std::string WindowSettingsPlace(std::string_view program) {
    return "HKEY_CURRENT_USER\\Software\\" + std::string(kOrganisationName) + "\\" +
           std::string(program) + "\\" + std::string(kSettingsSection);
}

std::unique_ptr<KeyboardLayout> NamedKeyboardLayout(std::string_view name, std::string& error) {
    return LoadWindowsKeyboardLayout(name, error);
}

std::unique_ptr<KeyboardInput> SystemKeyboardInput(std::string& error) {
    return RawInputKeyboardInput::Open(error);
}

std::string KeyboardAccessAdvice(std::int32_t, std::ostream&) {
    return {};
}

void StopOnInterrupt(std::atomic<bool>& stop) {
    stopFlag = &stop;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StandardErrorIsTerminal() {
    return IsConsole(GetStdHandle(STD_ERROR_HANDLE));
}

}  // namespace varnok
