#include "store/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace varnok {

namespace {

// Gives up after this many names beside the target that are already taken.
constexpr int kTemporaryNameAttempts = 100;

bool WriteAll(int fd, std::span<const std::uint8_t> contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        contents = contents.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a new file beside target, with the permissions the target has if it exists.
int CreateTemporary(const std::filesystem::path& target, const struct stat* targetStatus,
                    std::filesystem::path& temporary) {
    const std::string stem = target.string() + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = stem + std::to_string(attempt) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (targetStatus != nullptr) {
                ::fchmod(fd, targetStatus->st_mode & 07777);
            }
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

// Makes the rename itself durable; the file is already in place, so a failure here changes
// nothing that a caller could act on.
void SyncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool ReplaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> contents) {
    std::error_code error;
    std::filesystem::path file = target;
    if (std::filesystem::is_symlink(file, error)) {
        const std::filesystem::path resolved = std::filesystem::canonical(file, error);
        if (!error) {
            file = resolved;
        }
    }

    struct stat status {};
    const bool exists = ::stat(file.c_str(), &status) == 0;
    if (exists && (!S_ISREG(status.st_mode) || ::access(file.c_str(), W_OK) != 0)) {
        return false;
    }

    std::filesystem::path temporary;
    const int fd = CreateTemporary(file, exists ? &status : nullptr, temporary);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    const std::filesystem::path directory = file.parent_path();
    SyncDirectory(directory.empty() ? std::filesystem::path(".") : directory);
    return true;
}

}  // namespace varnok
