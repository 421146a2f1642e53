#include "store/AppendFile.h"

#include <windows.h>

#include <fstream>

#include "store/win/FileFailure.h"
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
        result = FileFailure(GetLastError(), file,
                             exists ? FileProblem::ReadOnly : FileProblem::NoNewFiles);
        if (result.problem == FileProblem::NotAFile)
            result.problem = FileProblem::NotFileOrTerminal;
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
