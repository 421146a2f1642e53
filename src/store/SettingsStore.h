#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "store/FileResult.h"

namespace varnok {

// The per-user store of the user's last choices: 32-bit integers by section and value name.
// Reads never fail: an absent or unreadable value yields the caller's default. A write that
// did not land says why, so that the user learns the choice is not kept.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::int32_t ReadSetting(std::string_view section, std::string_view name,
                                     std::int32_t defaultValue) = 0;
    virtual FileResult WriteSetting(std::string_view section, std::string_view name,
                                    std::int32_t value) = 0;
};

// The values the window keeps in the settings store, all in one section; Varnok on Windows
// keeps the same names, so a user's choices read the same on both.
inline constexpr std::string_view kSettingsSection = "Settings";
// The key-count list's selection: the number of rows shown minus one (0..5).
inline constexpr std::string_view kKeyCountSetting = "keynum";
// The language list's selection: 0 English, 1 Chinese.
inline constexpr std::string_view kLanguageSetting = "keyLan";
// Row n's function mode (0 Normal, 1 Once, 2 String) under entry n; slot 0 has none.
inline constexpr std::array<std::string_view, 7> kFunctionModeSettings = {
    "", "KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel", "KeyFun4Sel", "KeyFun5Sel", "KeyFun6Sel",
};

}  // namespace varnok
