#pragma once

#include <filesystem>
#include <optional>

namespace varnok {

// The folder where the platform's settings store keeps per-user INI files, as QSettings finds
// it, not created here; nullopt when the user has no such folder. One implementation per
// platform, in that platform's folder.
std::optional<std::filesystem::path> UserConfigFolder();

}  // namespace varnok
