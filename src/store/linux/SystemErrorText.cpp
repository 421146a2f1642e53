#include "store/linux/SystemErrorText.h"

#include <string.h>

namespace varnok {

std::string SystemErrorText(int error) {
    char buffer[256];
    // The GNU strerror_r: it returns the text, in the buffer or in static storage.
    return strerror_r(error, buffer, sizeof buffer);
}

}  // namespace varnok
