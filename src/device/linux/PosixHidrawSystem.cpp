#include "device/linux/PosixHidrawSystem.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace varnok {

int PosixHidrawSystem::Open(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Not retried on EINTR: Linux releases the descriptor even when close reports it.
int PosixHidrawSystem::Close(int fd) {
    return ::close(fd);
}

// Not retried on EINTR either: a feature report may already have reached the device.
int PosixHidrawSystem::Ioctl(int fd, unsigned long request, void* argument) {
    return ::ioctl(fd, request, argument);
}

}  // namespace varnok
