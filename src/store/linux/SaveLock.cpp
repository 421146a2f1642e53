#include "store/SaveLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace varnok {
namespace {

// A save holds the lock for one read and one write of a small file.
constexpr auto kPatience = std::chrono::seconds(2);
constexpr auto kRetryInterval = std::chrono::milliseconds(20);

// Takes an exclusive lock on fd, which handle then owns.
FileResult Hold(int fd, const std::filesystem::path& file, std::intptr_t& handle) {
    if (fd < 0) {
        // What cannot be opened (a folder the user may not list) cannot be locked; the save
        // itself says whether the file can be written.
        return {};
    }
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // File systems without locks (some network mounts): save unlocked, as before.
            ::close(fd);
            return {};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return {FileProblem::Busy, file, {}};
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    handle = fd;
    return {};
}

}  // namespace

// The lock is taken on the folder, not on the file: a save replaces the file by renaming a new
// one over it, so a lock on the old file would not stop a second saver.
FileResult SaveLock::Acquire(const std::filesystem::path& file) {
    const std::filesystem::path folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    return Hold(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), file, handle_);
}

FileResult SaveLock::AcquireFile(const std::filesystem::path& file) {
    return Hold(::open(file.c_str(), O_RDONLY | O_CLOEXEC), file, handle_);
}

SaveLock::~SaveLock() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));  // closing releases the lock
    }
}

}  // namespace varnok
