#include "store/InPlaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "store/OrganisationName.h"
#include "store/linux/FileFailure.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

// Writes all of contents at offset, pieceSize bytes per call; errno tells why when it cannot.
bool WritePieces(int fd, std::span<const std::uint8_t> contents, std::size_t pieceSize) {
    off_t offset = 0;
    while (!contents.empty()) {
        const ssize_t written =
            ::pwrite(fd, contents.data(), std::min(contents.size(), pieceSize), offset);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents = contents.subspan(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

void SyncFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes, cuts and syncs an open file, and closes it; the file problem when any step fails.
FileResult Finish(int fd, std::span<const std::uint8_t> contents, std::size_t pieceSize,
                  const fs::path& file) {
    int error = 0;
    if (!WritePieces(fd, contents, pieceSize) ||
        ::ftruncate(fd, static_cast<off_t>(contents.size())) != 0 || ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    return error == 0 ? FileResult{} : FileFailure(error, file);
}

// WriteDurableFile, or with O_EXCL WriteNewDurableFile.
FileResult MakeDurableFile(const fs::path& file, std::span<const std::uint8_t> contents,
                           int exclusive) {
    const int fd =
        ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | exclusive, 0600);
    if (fd < 0) {
        const int error = errno;
        if (exclusive != 0 && error == EEXIST) return {FileProblem::NameTaken, file, {}};
        return FileFailure(error, file, FileProblem::NoNewFiles);
    }
    if (FileResult written = Finish(fd, contents, contents.size() + 1, file); !written) {
        ::unlink(file.c_str());
        return written;
    }
    SyncFolder(file);
    return {};
}

}  // namespace

FileResult IdentifyFile(const fs::path& path, FileIdentity& identity) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        return error == ENOENT ? FileResult{FileProblem::Missing, path, {}}
                               : FileFailure(error, path);
    }
    identity = {static_cast<std::uint64_t>(status.st_dev),
                static_cast<std::uint64_t>(status.st_ino),
                static_cast<std::uint32_t>(status.st_nlink)};
    return {};
}

FileResult WriteDurableFile(const fs::path& file, std::span<const std::uint8_t> contents) {
    return MakeDurableFile(file, contents, 0);
}

FileResult WriteNewDurableFile(const fs::path& file, std::span<const std::uint8_t> contents) {
    return MakeDurableFile(file, contents, O_EXCL);
}

FileResult WriteOver(const fs::path& file, std::span<const std::uint8_t> contents,
                     std::size_t pieceSize) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return FileFailure(errno, file);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && static_cast<std::size_t>(status.st_size) < contents.size()) {
        const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(contents.size()));
        if (const FileResult reserved = FileFailure(error, file);
            error != 0 && reserved.problem == FileProblem::DiskFull) {
            [[maybe_unused]] const int ignored = ::ftruncate(fd, status.st_size);
            ::close(fd);
            return reserved;
        }
    }
    return Finish(fd, contents, pieceSize, file);
}

// The XDG base directories: $XDG_STATE_HOME, or ~/.local/state when it is unset or not an
// absolute path (a relative one would move with the working directory).
std::optional<fs::path> UserStateFolder() {
    fs::path base;
    const char* stateHome = std::getenv("XDG_STATE_HOME");
    if (stateHome != nullptr && stateHome[0] == '/') {
        base = stateHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') return std::nullopt;
        base = fs::path(home) / ".local" / "state";
    }
    return base / kOrganisationName / "varnok";
}

}  // namespace varnok

namespace varnok {

FileResult PrivateStateFolder(fs::path& folder) {
    const std::optional<fs::path> state = UserStateFolder();
    // No home: there is no folder, and nothing to name but the variable that is missing.
    if (!state) return {FileProblem::NoFolder, "$XDG_STATE_HOME", {}};
    folder = *state;
    // Each level made for the user alone; levels that exist stay as they are.
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            return FileFailure(errno, made, FileProblem::NoNewFiles);
        }
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) return FileFailure(errno, folder);
    if (!S_ISDIR(status.st_mode)) return {FileProblem::NotPrivate, folder, {}};
    if (status.st_uid != ::geteuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return {FileProblem::NotPrivate, folder, {}};
    }
    return {};
}

FileResult CreatePrivateFile(const fs::path& file, std::span<const std::uint8_t> contents) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return FileFailure(errno, file, FileProblem::NoNewFiles);
    if (FileResult written = Finish(fd, contents, contents.size() + 1, file); !written) {
        ::unlink(file.c_str());
        return written;
    }
    SyncFolder(file);
    return {};
}

FileResult PublishPrivateFile(const fs::path& from, const fs::path& to) {
    // One step that never takes over an existing name.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        return FileFailure(errno, to, FileProblem::NoNewFiles);
    }
    SyncFolder(to);
    return {};
}

Ownership OwnershipOf(const fs::path& file) {
    struct stat status {};
    if (::lstat(file.c_str(), &status) != 0) {
        // A folder this user may not search holds nothing this user's Varnok wrote.
        return errno == ENOENT || errno == ENOTDIR || errno == EACCES ? Ownership::Missing
                                                                      : Ownership::NotAFile;
    }
    if (S_ISLNK(status.st_mode)) return Ownership::Link;
    if (!S_ISREG(status.st_mode)) return Ownership::NotAFile;
    if (status.st_uid != ::geteuid()) return Ownership::OtherOwner;
    if (status.st_nlink != 1) return Ownership::OtherNames;
    return Ownership::Own;
}

}  // namespace varnok
