#include "store/InPlaceFile.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "store/OrganisationName.h"
#include "store/win/FileFailure.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

// WriteFile takes a DWORD count; a piece is never larger than this.
constexpr std::size_t kLargestPiece = std::size_t{1} << 30;

bool SetLength(HANDLE file, std::uint64_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// Writes, cuts and flushes an open file from its start, and closes it; the file problem when
// any step fails.
FileResult Finish(HANDLE file, std::span<const std::uint8_t> contents, std::size_t pieceSize,
                  const fs::path& path) {
    DWORD error = ERROR_SUCCESS;
    bool written = SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN);
    for (std::span<const std::uint8_t> rest = contents; written && !rest.empty();) {
        const auto piece = static_cast<DWORD>(std::min({rest.size(), pieceSize, kLargestPiece}));
        DWORD done = 0;
        written = WriteFile(file, rest.data(), piece, &done, nullptr) && done > 0;
        rest = rest.subspan(written ? done : rest.size());
    }
    if (!written || !SetLength(file, contents.size()) || !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    return error == ERROR_SUCCESS ? FileResult{} : FileFailure(error, path);
}

// WriteDurableFile, or with CREATE_NEW WriteNewDurableFile.
FileResult MakeDurableFile(const fs::path& file, std::span<const std::uint8_t> contents,
                           DWORD disposition) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (disposition == CREATE_NEW &&
            (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)) {
            return {FileProblem::NameTaken, file, {}};
        }
        return FileFailure(error, file, FileProblem::NoNewFiles);
    }
    FileResult written = Finish(handle, contents, contents.size() + 1, file);
    if (!written) DeleteFileW(file.c_str());
    return written;
}

}  // namespace

FileResult IdentifyFile(const fs::path& path, FileIdentity& identity) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? FileResult{FileProblem::Missing, path, {}}
                                             : FileFailure(error, path);
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!known) return FileFailure(error, path);
    identity = {information.dwVolumeSerialNumber,
                (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow,
                information.nNumberOfLinks};
    return {};
}

FileResult WriteDurableFile(const fs::path& file, std::span<const std::uint8_t> contents) {
    return MakeDurableFile(file, contents, CREATE_ALWAYS);
}

FileResult WriteNewDurableFile(const fs::path& file, std::span<const std::uint8_t> contents) {
    return MakeDurableFile(file, contents, CREATE_NEW);
}

FileResult WriteOver(const fs::path& file, std::span<const std::uint8_t> contents,
                     std::size_t pieceSize) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return FileFailure(GetLastError(), file);
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle, &size) &&
        static_cast<std::uint64_t>(size.QuadPart) < contents.size() &&
        !SetLength(handle, contents.size())) {
        const FileResult reserved = FileFailure(GetLastError(), file);
        SetLength(handle, static_cast<std::uint64_t>(size.QuadPart));
        CloseHandle(handle);
        return reserved;
    }
    return Finish(handle, contents, pieceSize, file);
}

// %LOCALAPPDATA%, the machine's own (not roaming) part of the user's profile.
std::optional<fs::path> UserStateFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || *local == L'\0' || !fs::path(local).is_absolute()) return std::nullopt;
    return fs::path(local) / fs::path(kOrganisationName) / "varnok";
}

}  // namespace varnok

namespace varnok {

FileResult PrivateStateFolder(fs::path& folder) {
    const std::optional<fs::path> state = UserStateFolder();
    if (!state) return {FileProblem::NoFolder, "%LOCALAPPDATA%", {}};
    folder = *state;
    // %LOCALAPPDATA% is the user's own: only its owner and the system may write there.
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (!made.has_relative_path()) continue;
        if (!CreateDirectoryW(made.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            return FileFailure(GetLastError(), made, FileProblem::NoNewFiles);
        }
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileFailure(GetLastError(), folder);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return {FileProblem::NotPrivate, folder, {}};
    }
    return {};
}

FileResult CreatePrivateFile(const fs::path& file, std::span<const std::uint8_t> contents) {
    // CREATE_NEW never opens an existing file, and a reparse point counts as one.
    const HANDLE handle =
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return FileFailure(GetLastError(), file, FileProblem::NoNewFiles);
    }
    FileResult written = Finish(handle, contents, contents.size() + 1, file);
    if (!written) DeleteFileW(file.c_str());
    return written;
}

FileResult PublishPrivateFile(const fs::path& from, const fs::path& to) {
    // Without MOVEFILE_REPLACE_EXISTING an existing name is never taken over.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return FileFailure(GetLastError(), to, FileProblem::NoNewFiles);
    }
    return {};
}

Ownership OwnershipOf(const fs::path& file) {
    const HANDLE handle = CreateFileW(
        file.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Ownership::Missing
                                                                              : Ownership::NotAFile;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(handle, &information);
    CloseHandle(handle);
    if (!known) return Ownership::NotAFile;
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return Ownership::Link;
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Ownership::NotAFile;
    // The folder is the user's own profile: a file in it is the user's.
    if (information.nNumberOfLinks != 1) return Ownership::OtherNames;
    return Ownership::Own;
}

}  // namespace varnok
