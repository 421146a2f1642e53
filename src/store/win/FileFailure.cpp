#include "store/win/FileFailure.h"

#include <windows.h>

#include "store/win/WideText.h"

namespace varnok {

FileResult FileFailure(unsigned long error, const std::filesystem::path& file,
                       FileProblem refused) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {FileProblem::NoFolder, file, {}};
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return {refused, file, {}};
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return {FileProblem::DiskFull, file, {}};
        case ERROR_SHARING_VIOLATION:  // another program holds the file open
        case ERROR_LOCK_VIOLATION:
            return {FileProblem::Busy, file, {}};
        case ERROR_FILENAME_EXCED_RANGE:
            return {FileProblem::NameTooLong, file, {}};
        case ERROR_PIPE_BUSY:
            return {FileProblem::NotAFile, file, {}};
        default:
            return {FileProblem::SystemError, file, SystemErrorText(error)};
    }
}

}  // namespace varnok
