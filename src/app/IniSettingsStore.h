#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "app/IniDocument.h"
#include "store/SettingsStore.h"

namespace varnok {

// The settings store in the INI file where the window has always kept it on Linux
// ($XDG_CONFIG_HOME/brelmoth/<program>.conf), shared by the window and varnok-cli: the same
// values with the same meaning, in the form QSettings reads and writes, so a file written by
// an older window reads as it did there. The file is read once, at the first use; a write
// takes the save lock every Varnok process takes, reads the file afresh, puts this process's
// own changes over what it holds now (a value another process wrote meanwhile stays) and
// replaces it whole. Every other section and value stays as the file holds it.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path file);

    // A value that is absent, not a decimal 32-bit integer, or in a file that cannot be read
    // gives the default, as it does through QSettings.
    std::int32_t ReadSetting(std::string_view section, std::string_view name,
                             std::int32_t defaultValue) override;
    // A value the file already holds is not written again. Creates the file and its folders
    // when they are missing; says why when the file cannot be read (writing it would lose its
    // other values), is locked by another program's write, or cannot be replaced.
    FileResult WriteSetting(std::string_view section, std::string_view name,
                            std::int32_t value) override;

    const std::filesystem::path& FilePath() const { return file_; }

private:
    const IniDocument& Document();
    FileResult Write(std::string_view section, std::string_view name, std::int32_t value);

    std::filesystem::path file_;
    // The file as last read or written; read at the first use.
    std::optional<IniDocument> document_;
    // What this process wrote, by section and name: applied again over the file at each write.
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> written_;
};

}  // namespace varnok
