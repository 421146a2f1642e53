#pragma once

#include "device/linux/HidrawSystem.h"

namespace varnok {

// The real kernel behind the hidraw backend.
class PosixHidrawSystem : public HidrawSystem {
public:
    int Open(const std::string& path, int flags) override;
    int Close(int fd) override;
    int Ioctl(int fd, unsigned long request, void* argument) override;
};

}  // namespace varnok
