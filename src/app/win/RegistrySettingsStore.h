#pragma once

#include <string>

#include "store/SettingsStore.h"

namespace varnok {

// The per-user settings store on Windows: DWORD and REG_SZ values in the registry under
// HKEY_CURRENT_USER\Software\brelmoth\<program name>\<section>. Reading and writing create the
// keys of that path when they are missing.
class RegistrySettingsStore : public SettingsStore {
public:
    explicit RegistrySettingsStore(const std::string& applicationName);

    // The default when the value is absent, is no DWORD, or its key cannot be opened.
    std::int32_t ReadSetting(std::string_view section, std::string_view name,
                             std::int32_t defaultValue) override;
    FileResult WriteSetting(std::string_view section, std::string_view name,
                            std::int32_t value) override;
    // Empty when the value is absent, is no REG_SZ, or its key cannot be opened.
    std::string ReadText(std::string_view section, std::string_view name) override;
    FileResult WriteText(std::string_view section, std::string_view name,
                         std::string_view text) override;

    // The key of the program's sections, below HKEY_CURRENT_USER.
    const std::wstring& KeyPath() const { return keyPath_; }

private:
    std::wstring keyPath_;
};

}  // namespace varnok
