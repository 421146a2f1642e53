#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "store/SettingsStore.h"
#include "ui/qt/QtMainWindow.h"

namespace varnok {

// The program's start-up and shut-down: the skin, the main window run modally once on the
// settings store it is given, the skin taken off again. Closing the main window ends the
// program; nothing is written at exit.
class QtProgram {
public:
    // The skin file that start-up asks the skin for.
    static constexpr std::string_view kSkinFileName = "rilo.u3";

    // Makes the main window with its behaviour, given the settings store and the program's
    // name (the caption of the window's own message boxes).
    using WindowFactory = std::function<std::unique_ptr<QtMainWindow>(
        SettingsStore& settings, const std::string& applicationName)>;

    QtProgram(SettingsStore& settings, WindowFactory makeWindow);

    // The executable's file name without its extension: the settings store's application name.
    static QString ApplicationName();

    // Runs start-up to the end. Returns false, as the program has nothing to do afterwards.
    bool InitInstance();

    // Shows why the window cannot start (the reason as StartUp words it) in a message box in
    // the window's language, and returns when the user has closed it.
    static void ShowStartRefusal(const std::string& reason, std::int32_t language);

private:
    SettingsStore& settings_;
    WindowFactory makeWindow_;
};

}  // namespace varnok
