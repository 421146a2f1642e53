#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "store/FileResult.h"

namespace varnok {

// What writing a file where it stands needs of the system. Implemented once per platform
// (store/linux/, store/win/).

// Which file a name leads to, whatever name it is reached by, and how many names it has.
struct FileIdentity {
    std::uint64_t device = 0;  // the device (Linux) or the volume's serial number (Windows)
    std::uint64_t file = 0;    // the inode (Linux) or the file index (Windows)
    std::uint32_t links = 0;   // the file's names (hard links)
};

// The identity of the file that path leads to, symbolic links followed; Missing when there is
// none.
FileResult IdentifyFile(const std::filesystem::path& path, FileIdentity& identity);

// Writes contents as the whole of file, made or written over, and makes the file and its name
// durable before returning. NoNewFiles when the folder takes no new file.
FileResult WriteDurableFile(const std::filesystem::path& file,
                            std::span<const std::uint8_t> contents);
// The same for a file that must not exist yet: whatever is there under the name (a file, a
// folder, a link, one made by another program a moment ago) is never written: NameTaken.
FileResult WriteNewDurableFile(const std::filesystem::path& file,
                               std::span<const std::uint8_t> contents);

// Writes contents over file where it stands, pieceSize bytes at a time, cuts the file to their
// length and makes that durable. Room for contents longer than the file is reserved before a
// byte changes, so a full disk stops the write there.
FileResult WriteOver(const std::filesystem::path& file, std::span<const std::uint8_t> contents,
                     std::size_t pieceSize);

// The user's own folder for what Varnok keeps between runs besides its data: on Linux
// $XDG_STATE_HOME/brelmoth/varnok (~/.local/state/... by default), on Windows under
// %LOCALAPPDATA%. Not created here; nullopt when the user has none.
std::optional<std::filesystem::path> UserStateFolder();

// The state folder, made when missing, where only the running user may make, rename or remove
// files: a folder of its own that no link leads to and nobody else may write. The problem and
// the folder it is about when there is none such (no home, a folder that cannot be made, one
// another user owns or others may write).
FileResult PrivateStateFolder(std::filesystem::path& folder);

// Makes file with contents, only where no file or link has that name yet, readable and writable
// by the running user alone, and makes it and its name durable.
FileResult CreatePrivateFile(const std::filesystem::path& file,
                             std::span<const std::uint8_t> contents);

// Gives the file named from the name to, which no file or link may hold yet, durably.
FileResult PublishPrivateFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Why a file found in the state folder may not be one this user's Varnok made.
enum class Ownership {
    Own,         // a regular file with one name, owned by the running user
    Missing,     // no file has the name
    Link,        // a symbolic link (or another reparse point)
    NotAFile,    // a folder, a pipe, a device
    OtherOwner,  // another user's file
    OtherNames,  // a file with more names than this one: a link to a file elsewhere
};
Ownership OwnershipOf(const std::filesystem::path& file);

}  // namespace varnok
