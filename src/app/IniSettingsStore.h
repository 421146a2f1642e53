#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "store/SettingsStore.h"

namespace varnok {

// The settings store in the INI file where the window has always kept it on Linux
// ($XDG_CONFIG_HOME/brelmoth/<program>.conf), shared by the window and varnok-cli: the same
// values with the same meaning, in the form QSettings reads and writes, so a file written by
// an older window reads as it did there. Nothing is cached: every read reads the file as it is
// now (it is a few lines), and a write takes the save lock every Varnok process takes, reads
// the file afresh and changes that one value in it, so that what another process wrote
// meanwhile stays. Every other section and value stays as the file holds it.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path file);

    // A value that is absent, not a decimal 32-bit integer, or in a file that cannot be read
    // gives the default, as it does through QSettings.
    std::int32_t ReadSetting(std::string_view section, std::string_view name,
                             std::int32_t defaultValue) override;
    // A value the file already holds is not written again. Creates the file and its folders
    // when they are missing; a file with more than one name is written where it stands, so
    // that every name sees the change. Says why when the file cannot be read (writing it would
    // lose its other values), is locked by another program's write, or cannot be written.
    FileResult WriteSetting(std::string_view section, std::string_view name,
                            std::int32_t value) override;

    // The value as the file holds it; empty when absent or a list.
    std::string ReadText(std::string_view section, std::string_view name) override;
    FileResult WriteText(std::string_view section, std::string_view name,
                         std::string_view text) override;

    const std::filesystem::path& FilePath() const { return file_; }

private:
    // Writes text unless the value stored already counts as the same.
    FileResult Write(std::string_view section, std::string_view name, const std::string& text,
                     const std::function<bool(const std::string& stored)>& same);
    FileResult WriteChange(std::string_view section, std::string_view name, const std::string& text,
                           const std::function<bool(const std::string& stored)>& same);

    std::filesystem::path file_;
};

}  // namespace varnok
