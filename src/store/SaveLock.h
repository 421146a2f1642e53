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
    // The same, for the file itself rather than its folder: a file with more than one name is
    // written where it stands, and whichever name a saver uses, it meets this lock.
    FileResult AcquireFile(const std::filesystem::path& file);

private:
    std::intptr_t handle_ = -1;
};

}  // namespace varnok
