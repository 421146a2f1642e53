#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceWatch.h"
#include "device/HidPlatform.h"
#include "device/KeyboardInput.h"
#include "keys/KeyboardLayout.h"
#include "store/SettingsStore.h"

namespace varnok {

// What a Varnok program takes from the operating system it runs on. One implementation per
// platform, in that platform's folder (app/linux/, app/win/): the programs' mains and their
// start-up ask here, so that none of them holds platform code.

// Called first by every program, before any file is opened or any text is printed: a standard
// descriptor that was closed stays unusable but can no longer be taken by a file the program
// opens, a write past the process's file size limit or into a pipe nobody reads fails and is
// reported instead of ending the process, and what is printed in UTF-8 reaches a console as the
// characters it stands for.
void PrepareProcess();

// The program's arguments as UTF-8, the program's name first. Linux passes them as they are;
// Windows hands main() its arguments in the ANSI code page, which holds few of the world's
// names, so they are taken from the wide command line there instead (argc and argv unused).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The executable's file name without its extension: the name the window's settings and data
// folder go by.
std::string ProgramName();

// The system's HID services, through which the real keyboard is found.
std::unique_ptr<HidPlatform> SystemHidPlatform();

// Tells a window's toolkit-free behaviour when the keyboard may have come or gone; nullptr where
// the window hears of devices from its own message loop (WM_DEVICECHANGE on Windows).
std::unique_ptr<DeviceWatch> SystemDeviceWatch();

// The language of the user's system as the window speaks it (0 English, 1 Chinese): the
// window's language at the first start, before the user has chosen one.
std::int32_t SystemLanguage();

// The settings store the window keeps on this platform, reached without the window's toolkit
// (the command line works on the window's store). Nullptr, with the reason, when it has no
// place.
std::unique_ptr<SettingsStore> WindowSettingsStore(std::string_view program, std::string& error);

// Where that store lives, as the help names it for the user who runs it.
std::string WindowSettingsPlace(std::string_view program);

// The keyboard layout the system knows by the name, for encoding string keys: an XKB name on
// Linux ("de", "us(dvorak)"), a layout identifier on Windows ("00000407"). Nullptr and the
// reason for a name the system does not know.
std::unique_ptr<KeyboardLayout> NamedKeyboardLayout(std::string_view name, std::string& error);

// The keyboard's own input for the key tester, read and held from the desktop while the
// object lives; nullptr and the reason when there is none to read.
std::unique_ptr<KeyboardInput> SystemKeyboardInput(std::string& error);

// What to tell a user whose keyboard is there but refuses them, in the window's language (0
// English, otherwise Chinese), also written as a line to log; empty when no keyboard refuses.
std::string KeyboardAccessAdvice(std::int32_t language, std::ostream& log);

// From now on the first Ctrl+C only sets stop, so that a save or read can end between two
// records and no record is cut off; the next one ends the program at once.
void StopOnInterrupt(std::atomic<bool>& stop);

// Standard error is a terminal (or console), where progress can be shown.
bool StandardErrorIsTerminal();

}  // namespace varnok
