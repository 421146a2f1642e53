#pragma once

#include <cstdint>
#include <string_view>

namespace varnok {

// The per-user store of the user's last choices: 32-bit integers by section and value name.
// Reads never fail: an absent or unreadable value yields the caller's default. Writes report
// success, but nothing the program does depends on it.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::int32_t ReadSetting(std::string_view section, std::string_view name,
                                     std::int32_t defaultValue) = 0;
    virtual bool WriteSetting(std::string_view section, std::string_view name,
                              std::int32_t value) = 0;
};

}  // namespace varnok
