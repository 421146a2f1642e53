#include "store/linux/FileFailure.h"

#include <cerrno>

#include "store/linux/SystemErrorText.h"

namespace varnok {

FileResult FileFailure(int error, const std::filesystem::path& file, FileProblem refused) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return {FileProblem::NoFolder, file, {}};
        case EACCES:
        case EPERM:
        case EROFS:
            return {refused, file, {}};
        case ENOSPC:
        case EDQUOT:
        case EFBIG:  // over the process's file size limit
            return {FileProblem::DiskFull, file, {}};
        case EISDIR:
        case ENXIO:  // a pipe without a reader, a device without its hardware
            return {FileProblem::NotAFile, file, {}};
        case ENAMETOOLONG:
            return {FileProblem::NameTooLong, file, {}};
        case ELOOP:
            return {FileProblem::BrokenLink, file, {}};
        default:
            return {FileProblem::SystemError, file, SystemErrorText(error)};
    }
}

}  // namespace varnok
