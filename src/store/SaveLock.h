#pragma once

#include <cstdint>
#include <filesystem>

#include "store/FileResult.h"

namespace varnok {

// Keeps other programs from saving the same file while this one reads, merges and writes it:
// one holder at a time, across processes, from Acquire until the lock is destroyed.
// Implemented once per platform (store/linux/, store/win/).
class SaveLock {
public:
    SaveLock() = default;
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    // Waits a short while for another holder to finish; Busy when it does not.
    FileResult Acquire(const std::filesystem::path& file);

private:
    std::intptr_t handle_ = -1;
};

}  // namespace varnok
