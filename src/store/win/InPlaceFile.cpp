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
