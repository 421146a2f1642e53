#include "app/UserConfigFolder.h"

#include <cstdlib>

namespace varnok {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or empty. A relative path is ignored, as
// QSettings ignores it, since it would move with the working directory.
std::optional<std::filesystem::path> UserConfigFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') return std::filesystem::path(configHome);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return std::nullopt;
    return std::filesystem::path(home) / ".config";
}

}  // namespace varnok
