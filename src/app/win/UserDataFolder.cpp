#include "app/UserDataFolder.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

namespace varnok {

// The user's roaming application data folder (%APPDATA%), where Windows programs keep what
// follows the user from machine to machine.
std::optional<std::filesystem::path> UserDataFolder(std::string_view program) {
    wchar_t* folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) {
        CoTaskMemFree(folder);
        return std::nullopt;
    }
    std::filesystem::path base(folder);
    CoTaskMemFree(folder);
    return base / kOrganisationName / program;
}

}  // namespace varnok
