#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/MapFileLocation.h"
#include "device/HidPlatform.h"
#include "device/HidTrace.h"
#include "device/SystemClock.h"

namespace varnok {

class SettingsStore;

// What every Varnok program settles before it works, the same for the window and the command
// line: where msmap.dat is kept, which keyboard it talks to (the real one through the system's
// HID services, or the simulated one whose key table is a file) and whether the reports are
// traced. The window settles everything at start; the command line settles the map at start
// and opens the keyboard only for a command that talks to it. Each refusal carries its reason,
// worded here once, for the program to say and stop.
class StartUp {
public:
    // The system's HID services, asked once, only when no simulated keyboard is named.
    using SystemHid = std::function<std::unique_ptr<HidPlatform>()>;

    // The options' files are UTF-8, relative to the working directory. The refusals are worded
    // in language (the window's: 0 English, otherwise Chinese).
    StartUp(const CommandLineOptions& options, SystemHid systemHid, std::int32_t language);

    // msmap.dat: the file named by --map, or the one in dataFolder (see MapFileLocation), for
    // use, with a change of it and of settings that was cut off finished (or set aside, said
    // why). False, with the reason, when no map file can be used.
    bool SettleMap(const std::optional<std::filesystem::path>& dataFolder, SettingsStore* settings,
                   std::string& error,
                   MapFileLocation::Use use = MapFileLocation::Use::ReadAndWrite);
    // After SettleMap: the map file, and what start-up did to the user's files (empty when
    // nothing), to be said once.
    const std::filesystem::path& MapFile() const { return map_.file; }
    const std::string& MapNotice() const { return map_.notice; }

    // After SettleMap: the keyboard, traced when a trace file is named, made at the first call.
    // maySave: the program may save, so a simulated keyboard's key table must be writable.
    // Nullptr, with the reason, when it cannot be made; the next call tries again.
    HidPlatform* Keyboard(bool maySave, std::string& error);
    // The keyboard is the simulated one: there is no system to ask about access.
    bool Simulated() const { return keyTable_.has_value(); }

private:
    SystemHid systemHid_;
    std::int32_t language_;
    std::optional<std::filesystem::path> keyTable_;
    std::optional<std::filesystem::path> traceFile_;
    std::optional<std::filesystem::path> mapOption_;
    MapFileLocation map_;
    SystemClock clock_;
    std::unique_ptr<HidPlatform> keyboard_;
    std::unique_ptr<HidTrace> trace_;
};

}  // namespace varnok
