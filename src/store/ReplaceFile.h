#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "store/FileResult.h"

namespace varnok {

// Writing a file the user keeps, so that it holds either its previous contents or all of the
// new ones. Implemented once per platform (store/linux/, store/win/).
//
// The contents go into a new file beside the target, reach the disk, and only then take the
// target's name; the new file gets the old one's permissions, and its owner and group where
// the process may give them (a save run as root leaves the file to its owner). Where the
// folder takes no new files but the file itself may be written, the contents are written over
// the file instead: room for them is reserved first, so a full disk stops the write before a
// byte changes. A symbolic link is followed and the file it names is written; a link that
// leads nowhere is reported, never replaced. A read-only file and anything that is not a
// regular file are left alone. Nothing is left behind when the write fails.
//
// A name too long for a new file beside it counts as a folder that takes no new files. A
// caller that writes in place its own way asks for Refuse: NoNewFiles or NameTooLong then.
enum class NoNewFile { WriteInPlace, Refuse };
FileResult ReplaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> contents,
                       NoNewFile noNewFile = NoNewFile::WriteInPlace);

// The file target names once every symbolic link on its way is followed, so that two links to
// one file give one name (and one folder for the save lock, the new file and the cleanup). A
// file still to be made is named in its folder's real place; target itself when even that
// leads nowhere.
std::filesystem::path RealFile(const std::filesystem::path& target);

// What ReplaceFile would meet at target now, without writing anything.
FileResult CheckReplaceable(const std::filesystem::path& target);

// Removes the new files that a ReplaceFile of target left beside it when the process ended
// before renaming them. Only while no other ReplaceFile of target can be running.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

}  // namespace varnok
