#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "keys/KeyboardLayout.h"

namespace varnok {

// Compiles a layout from its XKB name as users know it ("de", "fr", "us(dvorak)") out of the
// system's layout data (xkb-data), and reads which key types each character at which level.
// Nullptr, with the reason, for a name the layout data does not know.
std::unique_ptr<KeyboardLayout> CompileXkbLayout(std::string_view name, std::string& error);

}  // namespace varnok
