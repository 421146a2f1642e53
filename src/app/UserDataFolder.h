#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "store/OrganisationName.h"

namespace varnok {

// The folder where the platform keeps a program's per-user data (msmap.dat), not created
// here; nullopt when the user has no such folder. A program that works on the window's key
// map asks with the window's program name, so that both use one map. One implementation per
// platform, in that platform's folder.
std::optional<std::filesystem::path> UserDataFolder(std::string_view program);

}  // namespace varnok
