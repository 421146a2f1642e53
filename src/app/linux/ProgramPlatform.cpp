#include "app/ProgramPlatform.h"

#include <unistd.h>

#include <csignal>
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

namespace varnok {
namespace {

std::atomic<bool>* stopFlag = nullptr;

void RequestStop(int) {
    *stopFlag = true;
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void PrepareProcess() {
    std::signal(SIGXFSZ, SIG_IGN);
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

// The INI file where the window's QSettings keeps its values.
std::unique_ptr<SettingsStore> WindowSettingsStore(std::string_view program, std::string& error) {
    const std::optional<std::filesystem::path> folder = UserConfigFolder();
    if (!folder) {
        error = "no home folder: the settings have no place";
        return nullptr;
    }
    return std::make_unique<IniSettingsStore>(*folder / kOrganisationName /
                                              (std::string(program) + ".conf"));
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
