#include "store/SaveLock.h"

#include <windows.h>

#include <functional>
#include <string>

#include "store/InPlaceFile.h"

namespace varnok {
namespace {

// A save holds the lock for one read and one write of a small file.
constexpr DWORD kPatienceMilliseconds = 2000;

// One name per folder: the folder's full path, in one case, hashed into a mutex name (which
// may hold no backslash and is short).
std::wstring MutexName(const std::filesystem::path& folder) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length =
            GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty()) {
        full = folder.wstring();
    }
    CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return L"Local\\varnok-save-" + std::to_wstring(std::hash<std::wstring>{}(full));
}

// Waits for the named mutex, which handle then owns.
FileResult Hold(const std::wstring& name, const std::filesystem::path& file,
                std::intptr_t& handle) {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) {
        // No lock to be had: save unlocked, as on a file system without locks.
        return {};
    }
    switch (WaitForSingleObject(mutex, kPatienceMilliseconds)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // its holder ended without letting go; the file is whole
            handle = reinterpret_cast<std::intptr_t>(mutex);
            return {};
        case WAIT_TIMEOUT:
            CloseHandle(mutex);
            return {FileProblem::Busy, file, {}};
        default:
            CloseHandle(mutex);
            return {};
    }
}

}  // namespace

// The lock belongs to the folder, not to the file: a save replaces the file by renaming a new
// one over it, so a hold on the old file would not stop a second saver. A named mutex is what
// every process of this user's session sees under the same name.
FileResult SaveLock::Acquire(const std::filesystem::path& file) {
    const std::filesystem::path folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    return Hold(MutexName(folder), file, handle_);
}

// Named for the file's volume and file index, which all its names share.
FileResult SaveLock::AcquireFile(const std::filesystem::path& file) {
    FileIdentity identity;
    if (!IdentifyFile(file, identity)) return {};
    return Hold(L"Local\\varnok-save-file-" + std::to_wstring(identity.device) + L"-" +
                    std::to_wstring(identity.file),
                file, handle_);
}

SaveLock::~SaveLock() {
    if (handle_ != -1) {
        const auto mutex = reinterpret_cast<HANDLE>(handle_);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

}  // namespace varnok
