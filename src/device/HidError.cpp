#include "device/HidError.h"

namespace varnok {

std::string DescribeHidError(const HidError& error) {
    return error.code.empty() ? error.text : error.text + " (" + error.code + ")";
}

}  // namespace varnok
