#include "app/ProgramPlatform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/IniSettingsStore.h"
#include "app/UserConfigFolder.h"
#include "app/UserDataFolder.h"
#include "device/linux/DevNodeWatch.h"
#include "device/linux/HidrawAccessAdvice.h"
#include "device/linux/HidrawAccessCheck.h"
#include "device/linux/HidrawKeyboardInput.h"
#include "device/linux/HidrawPlatform.h"
#include "keys/StoredChoices.h"
#include "keys/linux/XkbKeyboardLayout.h"

namespace varnok {
namespace {

std::atomic<bool>* stopFlag = nullptr;

void RequestStop(int) {
    *stopFlag = true;
    std::signal(SIGINT, SIG_DFL);
}

std::optional<std::filesystem::path> SettingsFile(std::string_view program) {
    const std::optional<std::filesystem::path> folder = UserConfigFolder();
    if (!folder) return std::nullopt;
    return *folder / kOrganisationName / (std::string(program) + ".conf");
}

}  // namespace

void PrepareProcess() {
    // A standard descriptor the caller closed is the lowest free number, which the next file
    // opened (a HID trace, the map) would take: what is printed would then land in that file.
    // Each closed one is held on /dev/null, open the one way it is never used (standard input
    // for writing, output and error for reading), so that reading or printing there fails as
    // on a closed descriptor and is reported as before, and no file takes its place.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
    // A pipe nobody reads is a write error like any other, said and ended with status 2, never a
    // kill in the middle of a change of the keys.
    std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

std::string ProgramName() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string name = executable.stem().string();
    return error || name.empty() ? "varnok" : name;
}

std::unique_ptr<HidPlatform> SystemHidPlatform() {
    return std::make_unique<HidrawPlatform>();
}

// inotify on /dev: hidraw nodes made, removed or given other rights.
std::unique_ptr<DeviceWatch> SystemDeviceWatch() {
    return std::make_unique<DevNodeWatch>();
}

// The language of messages as gettext reads it from the environment: LC_ALL, LC_MESSAGES or
// LANG names the locale, and LANGUAGE's first entry, where set, the language within it; the C
// locale is English whatever LANGUAGE says.
std::int32_t SystemLanguage() {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value != nullptr ? value : "");
    };
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = variable(name);
        if (!locale.empty()) break;
    }
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return 0;
    const std::string_view languages = variable("LANGUAGE");
    if (!languages.empty()) locale = languages.substr(0, languages.find(':'));
    return LanguageOfLocale(locale);
}

// The INI file every Linux front end keeps the window's values in.
std::unique_ptr<SettingsStore> WindowSettingsStore(std::string_view program, std::string& error) {
    const std::optional<std::filesystem::path> file = SettingsFile(program);
    if (!file) {
        error = "no home folder: the settings have no place";
        return nullptr;
    }
    return std::make_unique<IniSettingsStore>(*file);
}

std::string WindowSettingsPlace(std::string_view program) {
    const std::optional<std::filesystem::path> file = SettingsFile(program);
    return file ? file->string() : "(no home folder: the settings are not kept)";
}

std::unique_ptr<KeyboardInput> SystemKeyboardInput(std::string& error) {
    std::vector<std::string> refused;
    std::unique_ptr<HidrawKeyboardInput> input = HidrawKeyboardInput::Open(error, refused);
    if (!refused.empty()) {
        error.clear();
        for (const std::string& node : refused) error += (error.empty() ? "" : "; ") + node;
    }
    return input;
}

std::unique_ptr<KeyboardLayout> NamedKeyboardLayout(std::string_view name, std::string& error) {
    return CompileXkbLayout(name, error);
}

std::string KeyboardAccessAdvice(std::int32_t language, std::ostream& log) {
    const HidrawAccessCheck check;
    return HidrawAccessAdvice(check).Advise(language, log);
}

void StopOnInterrupt(std::atomic<bool>& stop) {
    stopFlag = &stop;
    std::signal(SIGINT, RequestStop);
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace varnok
