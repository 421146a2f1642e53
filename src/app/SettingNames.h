#pragma once

#include <array>
#include <string_view>

namespace varnok {

// The values the window keeps in the settings store, all in one section.
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
