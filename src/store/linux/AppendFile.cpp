#include "store/AppendFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/linux/FdOutputStream.h"
#include "store/linux/FileFailure.h"

namespace varnok {
namespace {

bool IsFileOrTerminal(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 &&
           (S_ISREG(status.st_mode) || (S_ISCHR(status.st_mode) && ::isatty(fd) == 1));
}

}  // namespace

std::unique_ptr<std::ostream> OpenAppendFile(const std::filesystem::path& file,
                                             FileResult& result) {
    result = {};
    // Anything but a regular file or a character device is refused before it is opened.
    struct stat status {};
    const bool exists = ::stat(file.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode) && !S_ISCHR(status.st_mode)) {
        result = {FileProblem::NotFileOrTerminal, file, {}};
        return nullptr;
    }
    // Non-blocking, so that a pipe put there meanwhile fails at once instead of waiting for a
    // reader; the descriptor's own type is what counts.
    const int fd = ::open(file.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        result = FileFailure(errno, file, exists ? FileProblem::ReadOnly : FileProblem::NoNewFiles);
        if (result.problem == FileProblem::NotAFile)
            result.problem = FileProblem::NotFileOrTerminal;
        return nullptr;
    }
    if (!IsFileOrTerminal(fd)) {
        ::close(fd);
        result = {FileProblem::NotFileOrTerminal, file, {}};
        return nullptr;
    }
    // Lines to a terminal wait for it rather than get lost.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<FdOutputStream>(fd);
}

}  // namespace varnok
