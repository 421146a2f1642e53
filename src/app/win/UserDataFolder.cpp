#include "app/UserDataFolder.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <cwchar>

#include "store/PathText.h"

namespace varnok {

// The user's roaming application data folder, where Windows programs keep what follows the user
// from machine to machine: %APPDATA% as the user's environment names it (a profile moved, a
// portable set-up), else the folder Windows knows for it.
std::optional<std::filesystem::path> UserDataFolder(std::string_view program) {
    if (const wchar_t* named = _wgetenv(L"APPDATA"); named != nullptr && *named != L'\0') {
        const std::filesystem::path base(named);
        if (base.is_absolute()) return base / kOrganisationName / PathFromText(program);
    }
    wchar_t* folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) {
        CoTaskMemFree(folder);
        return std::nullopt;
    }
    std::filesystem::path base(folder);
    CoTaskMemFree(folder);
    return base / kOrganisationName / PathFromText(program);
}

}  // namespace varnok
