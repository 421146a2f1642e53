#pragma once

#include <filesystem>

#include "store/SettingsStore.h"

namespace varnok {

// The settings store in the INI file where the window's QSettings keeps it on Linux
// ($XDG_CONFIG_HOME/brelmoth/<program>.conf), for a program without Qt: the same values with
// the same meaning. Every read looks at the file as it is then, so a program running beside
// the window sees the window's changes; every write reads the file afresh, changes the one
// value and replaces the file whole, written as QSettings writes it, so that the two programs
// can take turns on it.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path file);

    // A value that is absent, not a decimal 32-bit integer, or in a file that cannot be read
    // gives the default, as it does through QSettings.
    std::int32_t ReadSetting(std::string_view section, std::string_view name,
                             std::int32_t defaultValue) override;
    // Creates the file and its directories when they are missing. False when the file
    // exists but cannot be read, or cannot be replaced.
    bool WriteSetting(std::string_view section, std::string_view name, std::int32_t value) override;

    const std::filesystem::path& FilePath() const { return file_; }

private:
    std::filesystem::path file_;
};

}  // namespace varnok
