#pragma once

#include <string>

namespace varnok {

// The system calls the hidraw backend makes, and nothing more: the seam where tests put a
// recorded device in place of the kernel. Each call answers as its POSIX namesake does (a
// file descriptor or -1, 0 or -1, the ioctl's result or -1).
class HidrawSystem {
public:
    virtual ~HidrawSystem() = default;

    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
};

}  // namespace varnok
