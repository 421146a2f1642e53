#include "store/AppendFile.h"

#include <windows.h>

#include <fstream>

#include "store/win/WideText.h"

namespace varnok {

std::unique_ptr<std::ostream> OpenAppendFile(const std::filesystem::path& file,
                                             FileResult& result) {
    result = {};
    const DWORD attributes = GetFileAttributesW(file.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        result = {FileProblem::NotFileOrTerminal, file, {}};
        return nullptr;
    }
    // Opened once by the system to learn what it is: a file on a disk, or the console; a pipe
    // is refused. Named pipes live apart from files, so nothing can take the name between this
    // look and the stream's own open.
    const HANDLE handle =
        CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        switch (error) {
            case ERROR_PATH_NOT_FOUND:
            case ERROR_FILE_NOT_FOUND:
                result = {FileProblem::NoFolder, file, {}};
                break;
            case ERROR_ACCESS_DENIED:
            case ERROR_WRITE_PROTECT:
                result = {exists ? FileProblem::ReadOnly : FileProblem::NoNewFiles, file, {}};
                break;
            case ERROR_PIPE_BUSY:
                result = {FileProblem::NotFileOrTerminal, file, {}};
                break;
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
                result = {FileProblem::DiskFull, file, {}};
                break;
            default:
                result = {FileProblem::SystemError, file, SystemErrorText(error)};
                break;
        }
        return nullptr;
    }
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_CHAR) {
        result = {FileProblem::NotFileOrTerminal, file, {}};
        return nullptr;
    }
    auto stream = std::make_unique<std::ofstream>(file, std::ios::binary | std::ios::app);
    if (!*stream) {
        result = {FileProblem::SystemError, file, SystemErrorText(GetLastError())};
        return nullptr;
    }
    return stream;
}

}  // namespace varnok
