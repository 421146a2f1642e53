#include "app/UserDataFolder.h"

#include <cstdlib>

namespace varnok {

// The XDG base directories: $XDG_DATA_HOME, or ~/.local/share when it is unset or empty. A
// relative path in either variable is to be ignored, since it would move with the working
// directory.
std::optional<std::filesystem::path> UserDataFolder(std::string_view program) {
    std::filesystem::path base;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') return std::nullopt;
        base = std::filesystem::path(home) / ".local" / "share";
    }
    return base / kOrganisationName / program;
}

}  // namespace varnok
