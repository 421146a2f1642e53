#include "app/OutputFailure.h"

#include <cerrno>
#include <cstring>

namespace varnok {

std::string OutputFailure(std::ostream& out) {
    // A write that failed before (a line flushed at its end) has left its errno.
    if (out) {
        errno = 0;
        out.flush();
    }
    if (out) return {};
    const int error = errno;
    return std::string("the result could not be written to standard output") +
           (error != 0 ? std::string(" (") + std::strerror(error) + ")" : "");
}

}  // namespace varnok
