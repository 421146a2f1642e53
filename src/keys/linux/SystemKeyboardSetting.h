#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace varnok {

// The layout the system's keyboard setting names, as an XKB name: XKBLAYOUT and XKBVARIANT of
// a file such as /etc/default/keyboard, the first of each where it lists several ("de",
// "us(dvorak)"). Empty when the file is missing or names none.
std::string SystemKeyboardSetting(const std::filesystem::path& file);

// The same from the file's text.
std::string KeyboardSettingLayout(std::string_view text);

}  // namespace varnok
