#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace varnok {

// Replaces the file at target with contents, so that the target holds either its previous
// contents or all of the new ones, never a part: the contents go into a new file beside the
// target, reach the disk, and only then take the target's name. A target that the user may
// not write (a read-only file) or that is no regular file is left alone. A symbolic link is
// followed, so the file it names is replaced. False when nothing was replaced; no temporary
// file is left behind then.
bool ReplaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> contents);

}  // namespace varnok
