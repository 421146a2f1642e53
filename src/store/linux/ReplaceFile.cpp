#include "store/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "store/TemporaryName.h"
#include "store/linux/FileFailure.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

// Gives up after this many names beside the target that are already taken.
constexpr int kTemporaryNameAttempts = 100;

// The file a write goes to: the target, or the file its symbolic link names.
struct Target {
    fs::path file;
    bool exists = false;
    struct stat status {};
};

fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

FileResult Failure(FileProblem problem, const fs::path& file) {
    return {problem, file, {}};
}

FileResult Resolve(const fs::path& target, Target& resolved) {
    resolved.file = target;
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            struct stat folder {};
            const bool folderExists =
                ::stat(FolderOf(target).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode);
            return folderExists ? FileResult{} : Failure(FileProblem::NoFolder, target);
        }
        return FileFailure(error, target);
    }
    resolved.status = link;
    if (S_ISLNK(link.st_mode)) {
        const std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr),
                                                               &std::free);
        if (!real) {
            const int error = errno;
            if (error == ENOENT || error == ELOOP) {
                return Failure(FileProblem::BrokenLink, target);
            }
            return FileFailure(error, target);
        }
        resolved.file = real.get();
        if (::stat(resolved.file.c_str(), &resolved.status) != 0) {
            return FileFailure(errno, target);
        }
    }
    resolved.exists = true;
    if (!S_ISREG(resolved.status.st_mode)) {
        return Failure(FileProblem::NotAFile, target);
    }
    if (::access(resolved.file.c_str(), W_OK) != 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM || error == EROFS) {
            // A file this user may not even read is not merely read-only.
            return Failure(::access(resolved.file.c_str(), R_OK) == 0 ? FileProblem::ReadOnly
                                                                      : FileProblem::Unreadable,
                           target);
        }
        return FileFailure(error, target);
    }
    return {};
}

// Writes all of contents at offset; errno tells why when it cannot.
bool WriteAllAt(int fd, std::span<const std::uint8_t> contents, off_t offset) {
    while (!contents.empty()) {
        const ssize_t written = ::pwrite(fd, contents.data(), contents.size(), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        contents = contents.subspan(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

std::vector<std::uint8_t> ReadAll(int fd, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

// The new file gets the old one's permissions and, where the process may give them (a save
// run as root), its owner and group.
void TakeOverAttributes(int fd, const struct stat& old) {
    struct stat created {};
    if (::fstat(fd, &created) == 0 &&
        (created.st_uid != old.st_uid || created.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // An ordinary user may still hand the file to one of their own groups.
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    ::fchmod(fd, old.st_mode & 07777);
}

// Creates a new file beside the target; -1 with errno when the folder refuses one.
int CreateTemporary(const Target& target, fs::path& temporary) {
    const std::string name = target.file.filename().string();
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = target.file.parent_path() /
                    TemporaryName(name, static_cast<unsigned long>(::getpid()), attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (target.exists) {
                TakeOverAttributes(fd, target.status);
            }
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

// Makes the rename itself durable; the file is already in place, so a failure here changes
// nothing that a caller could act on.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// For a folder that takes no new files: writes over the file itself. Room for the new
// contents is reserved before a byte changes; should the write still break off, the old
// contents are put back as far as the system lets.
FileResult WriteInPlace(const Target& target, std::span<const std::uint8_t> contents,
                        const fs::path& reported) {
    bool readable = true;
    int fd = ::open(target.file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        readable = false;
        fd = ::open(target.file.c_str(), O_WRONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        return FileFailure(errno, reported);
    }
    const auto oldSize = static_cast<std::size_t>(target.status.st_size);
    const std::vector<std::uint8_t> old =
        readable ? ReadAll(fd, oldSize) : std::vector<std::uint8_t>{};
    if (contents.size() > oldSize) {
        const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(contents.size()));
        if (FileFailure(error, reported).problem == FileProblem::DiskFull) {
            [[maybe_unused]] const int ignored = ::ftruncate(fd, static_cast<off_t>(oldSize));
            ::close(fd);
            return Failure(FileProblem::DiskFull, reported);
        }
    }
    int error = 0;
    if (!WriteAllAt(fd, contents, 0)) {
        error = errno;
    } else if (contents.size() < oldSize &&
               ::ftruncate(fd, static_cast<off_t>(contents.size())) != 0) {
        error = errno;
    } else if (::fsync(fd) != 0) {
        error = errno;
    }
    if (error != 0 && old.size() == oldSize) {
        WriteAllAt(fd, old, 0);
        [[maybe_unused]] const int ignored = ::ftruncate(fd, static_cast<off_t>(oldSize));
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error == 0 ? FileResult{} : FileFailure(error, reported);
}

}  // namespace

FileResult ReplaceFile(const fs::path& target, std::span<const std::uint8_t> contents,
                       NoNewFile noNewFile) {
    Target resolved;
    if (FileResult result = Resolve(target, resolved); !result) {
        return result;
    }
    fs::path temporary;
    const int fd = CreateTemporary(resolved, temporary);
    if (fd < 0) {
        const FileResult created = FileFailure(errno, target, FileProblem::NoNewFiles);
        const bool noNew = created.problem == FileProblem::NoNewFiles ||
                           created.problem == FileProblem::NameTooLong;
        if (noNew && resolved.exists && noNewFile == NoNewFile::WriteInPlace) {
            return WriteInPlace(resolved, contents, target);
        }
        return created;
    }
    int error = 0;
    if (!WriteAllAt(fd, contents, 0) || ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), resolved.file.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return FileFailure(error, target);
    }
    SyncFolder(FolderOf(resolved.file));
    return {};
}

fs::path RealFile(const fs::path& target) {
    const auto real = [](const fs::path& path) {
        const std::unique_ptr<char, decltype(&std::free)> resolved(
            ::realpath(path.c_str(), nullptr), &std::free);
        return resolved ? std::optional<fs::path>(resolved.get()) : std::nullopt;
    };
    if (const auto file = real(target)) return *file;
    if (const auto folder = real(FolderOf(target))) return *folder / target.filename();
    return target;
}

FileResult CheckReplaceable(const fs::path& target) {
    Target resolved;
    if (FileResult result = Resolve(target, resolved); !result) {
        return result;
    }
    if (resolved.exists || ::access(FolderOf(resolved.file).c_str(), W_OK | X_OK) == 0) {
        return {};
    }
    return FileFailure(errno, target, FileProblem::NoNewFiles);
}

void RemoveLeftoverTemporaries(const fs::path& target) {
    std::error_code error;
    const fs::path file = fs::is_symlink(target, error) ? fs::canonical(target, error) : target;
    if (error) {
        return;
    }
    const std::string name = file.filename().string();
    for (const fs::directory_entry& entry : fs::directory_iterator(FolderOf(file), error)) {
        if (IsTemporaryOf(entry.path().filename().string(), name) &&
            entry.symlink_status(error).type() == fs::file_type::regular) {
            ::unlink(entry.path().c_str());
        }
    }
}

}  // namespace varnok
