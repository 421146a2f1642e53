#include "store/ReplaceFile.h"

#include <windows.h>
// windows.h names ReplaceFileW ReplaceFile; this file defines Varnok's own.
#undef ReplaceFile

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "store/TemporaryName.h"
#include "store/win/FileFailure.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

// Gives up after this many names beside the target that are already taken.
constexpr int kTemporaryNameAttempts = 100;
// The longest name a folder takes, in UTF-16 units.
constexpr std::size_t kLongestName = 255;
// ReadFile and WriteFile take a DWORD count; larger contents go in pieces of this size.
constexpr std::size_t kPiece = std::size_t{1} << 30;

// The file a write goes to: the target, or the file its symbolic link names.
struct Target {
    fs::path file;
    bool exists = false;
    DWORD attributes = 0;
    std::uint64_t size = 0;
};

fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

FileResult Failure(FileProblem problem, const fs::path& file) {
    return {problem, file, {}};
}

bool IsRefused(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

bool IsFolder(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file a symbolic link or junction names; nothing when it leads nowhere.
bool FinalPath(const fs::path& link, fs::path& resolved) {
    const HANDLE file = CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.resize(length);
        length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), 0);
    }
    CloseHandle(file);
    if (length == 0 || length >= path.size()) {
        return false;
    }
    path.resize(length);
    resolved = path;
    return true;
}

FileResult Resolve(const fs::path& target, Target& resolved) {
    resolved.file = target;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return IsFolder(FolderOf(target)) ? FileResult{}
                                              : Failure(FileProblem::NoFolder, target);
        }
        return FileFailure(error, target);
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (!FinalPath(target, resolved.file) ||
            !GetFileAttributesExW(resolved.file.c_str(), GetFileExInfoStandard, &data)) {
            return Failure(FileProblem::BrokenLink, target);
        }
    }
    resolved.exists = true;
    resolved.attributes = data.dwFileAttributes;
    resolved.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return Failure(FileProblem::NotAFile, target);
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Failure(FileProblem::ReadOnly, target);
    }
    return {};
}

// Opens the file as a writer would; tells another program's hold on it (Busy) from a file
// this user may not write (ReadOnly).
FileResult OpenForWriting(const Target& target, DWORD access, HANDLE& handle,
                          const fs::path& reported) {
    handle = CreateFileW(target.file.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        return {};
    }
    return FileFailure(GetLastError(), reported);
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> contents) {
    while (!contents.empty()) {
        const auto piece = static_cast<DWORD>(std::min(contents.size(), kPiece));
        DWORD written = 0;
        if (!WriteFile(file, contents.data(), piece, &written, nullptr) || written == 0) {
            return false;
        }
        contents = contents.subspan(written);
    }
    return true;
}

std::vector<std::uint8_t> ReadAll(HANDLE file, std::uint64_t size) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto piece = static_cast<DWORD>(std::min(bytes.size() - done, kPiece));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + done, piece, &got, nullptr) || got == 0) {
            break;
        }
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

bool SetLength(HANDLE file, std::uint64_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

bool Rewind(HANDLE file) {
    return SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN);
}

// Creates a new file beside the target, which no one else may open while it is written, with
// the old file's attributes (hidden, archive, ...); INVALID_HANDLE_VALUE with the error when
// the folder refuses one.
HANDLE CreateTemporary(const Target& target, fs::path& temporary) {
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = target.exists && (target.attributes & kKeptAttributes) != 0
                                 ? target.attributes & kKeptAttributes
                                 : FILE_ATTRIBUTE_NORMAL;
    const std::u8string name = target.file.filename().u8string();
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string temporaryName =
            TemporaryName(std::string(name.begin(), name.end()), GetCurrentProcessId(), attempt);
        temporary = target.file.parent_path() /
                    fs::path(std::u8string(temporaryName.begin(), temporaryName.end()));
        // Some file systems say only that the path was not found for a name past the limit.
        if (temporary.filename().native().size() > kLongestName) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return INVALID_HANDLE_VALUE;
        }
        const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// For a folder that takes no new files: writes over the file itself. Room for the new
// contents is reserved before a byte changes; should the write still break off, the old
// contents are put back as far as the system lets.
FileResult WriteInPlace(const Target& target, std::span<const std::uint8_t> contents,
                        const fs::path& reported) {
    HANDLE file = INVALID_HANDLE_VALUE;
    bool readable = true;
    if (!OpenForWriting(target, GENERIC_READ | GENERIC_WRITE, file, reported)) {
        readable = false;
        if (FileResult opened = OpenForWriting(target, GENERIC_WRITE, file, reported); !opened) {
            return opened;
        }
    }
    const std::vector<std::uint8_t> old =
        readable ? ReadAll(file, target.size) : std::vector<std::uint8_t>{};
    if (contents.size() > target.size && !SetLength(file, contents.size())) {
        const DWORD error = GetLastError();
        SetLength(file, target.size);
        CloseHandle(file);
        return FileFailure(error, reported);
    }
    DWORD error = ERROR_SUCCESS;
    if (!Rewind(file) || !WriteAll(file, contents) || !SetLength(file, contents.size()) ||
        !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS && old.size() == target.size && Rewind(file)) {
        WriteAll(file, old);
        SetLength(file, target.size);
    }
    CloseHandle(file);
    return error == ERROR_SUCCESS ? FileResult{} : FileFailure(error, reported);
}

// Nothing may hold the file in a way that keeps it from being replaced. Asked before anything
// is written, so that a refused replace leaves no file behind (some systems' ReplaceFileW
// leaves its own temporary file when it fails).
FileResult CheckHeldFile(const Target& target, const fs::path& reported) {
    const HANDLE file = CreateFileW(target.file.c_str(), GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Without the right to delete the file it can still be written over: not refused here.
        return IsRefused(error) ? FileResult{} : FileFailure(error, reported);
    }
    CloseHandle(file);
    return {};
}

}  // namespace

FileResult ReplaceFile(const fs::path& target, std::span<const std::uint8_t> contents,
                       NoNewFile noNewFile) {
    Target resolved;
    if (FileResult result = Resolve(target, resolved); !result) {
        return result;
    }
    if (resolved.exists) {
        if (FileResult held = CheckHeldFile(resolved, target); !held) {
            return held;
        }
    }
    fs::path temporary;
    const HANDLE file = CreateTemporary(resolved, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        const FileResult created = FileFailure(GetLastError(), target, FileProblem::NoNewFiles);
        const bool noNew = created.problem == FileProblem::NoNewFiles ||
                           created.problem == FileProblem::NameTooLong;
        if (noNew && resolved.exists && noNewFile == NoNewFile::WriteInPlace) {
            return WriteInPlace(resolved, contents, target);
        }
        return created;
    }
    DWORD error = ERROR_SUCCESS;
    if (!WriteAll(file, contents) || !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    if (!CloseHandle(file) && error == ERROR_SUCCESS) {
        error = GetLastError();
    }
    // ReplaceFileW keeps the replaced file's security and streams. Where it cannot (or has
    // taken the old file away and then failed), the move puts the new file in place, written
    // through to the disk before it returns.
    if (error == ERROR_SUCCESS &&
        !(resolved.exists && ReplaceFileW(resolved.file.c_str(), temporary.c_str(), nullptr,
                                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) &&
        !MoveFileExW(temporary.c_str(), resolved.file.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return FileFailure(error, target);
    }
    return {};
}

fs::path RealFile(const fs::path& target) {
    fs::path real;
    if (FinalPath(target, real)) return real;
    if (FinalPath(FolderOf(target), real)) return real / target.filename();
    return target;
}

FileResult CheckReplaceable(const fs::path& target) {
    Target resolved;
    if (FileResult result = Resolve(target, resolved); !result) {
        return result;
    }
    if (resolved.exists) {
        HANDLE file = INVALID_HANDLE_VALUE;
        FileResult opened = OpenForWriting(resolved, GENERIC_WRITE, file, target);
        if (opened) {
            CloseHandle(file);
        }
        return opened;
    }
    // Whether the folder takes a new file is known only by making one.
    fs::path probe;
    const HANDLE file = CreateTemporary(resolved, probe);
    if (file == INVALID_HANDLE_VALUE) {
        return FileFailure(GetLastError(), target, FileProblem::NoNewFiles);
    }
    CloseHandle(file);
    DeleteFileW(probe.c_str());
    return {};
}

void RemoveLeftoverTemporaries(const fs::path& target) {
    // A link is followed, as the replace follows it.
    Target resolved;
    Resolve(target, resolved);
    const std::u8string name = resolved.file.filename().u8string();
    std::error_code error;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(FolderOf(resolved.file), error)) {
        const std::u8string candidate = entry.path().filename().u8string();
        if (IsTemporaryOf(std::string(candidate.begin(), candidate.end()),
                          std::string(name.begin(), name.end())) &&
            entry.is_regular_file(error)) {
            DeleteFileW(entry.path().c_str());
        }
    }
}

}  // namespace varnok
