#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/FileResult.h"

namespace varnok {

// The per-user store of the user's last choices: 32-bit integers and texts by section and value
// name.
// Reads never fail: an absent or unreadable value yields the caller's default. A write that
// did not land says why, so that the user learns the choice is not kept.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::int32_t ReadSetting(std::string_view section, std::string_view name,
                                     std::int32_t defaultValue) = 0;
    virtual FileResult WriteSetting(std::string_view section, std::string_view name,
                                    std::int32_t value) = 0;
    // A text value (UTF-8); empty when absent or not a text.
    virtual std::string ReadText(std::string_view section, std::string_view name) = 0;
    virtual FileResult WriteText(std::string_view section, std::string_view name,
                                 std::string_view text) = 0;
};

// The values the window keeps in the settings store, all in one section; Varnok on Windows
// keeps the same names, so a user's choices read the same on both.
inline constexpr std::string_view kSettingsSection = "Settings";
// The key-count list's selection: the number of rows shown minus one (0..5).
inline constexpr std::string_view kKeyCountSetting = "keynum";
// The language list's selection: 0 English, 1 Chinese.
inline constexpr std::string_view kLanguageSetting = "keyLan";
// The keyboard layout string keys are typed for, by the name the system knows it by: the XKB
// name on Linux ("de", "us(dvorak)"), the layout identifier on Windows ("00000407"). Empty or
// absent: the US table.
inline constexpr std::string_view kLayoutSetting = "keyLayout";
// Row n's function mode (0 Normal, 1 Once, 2 String) under entry n; slot 0 has none.
inline constexpr std::array<std::string_view, 7> kFunctionModeSettings = {
    "", "KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel", "KeyFun4Sel", "KeyFun5Sel", "KeyFun6Sel",
};

}  // namespace varnok
