#pragma once

#include <ostream>
#include <string>

namespace varnok {

// Flushes out (standard output) and says why what was written there did not arrive: a closed
// descriptor, a full disk, a reader gone. Empty when it arrived. A program that printed a
// result reports this and ends with its usage and file status, as it does for any file.
std::string OutputFailure(std::ostream& out);

}  // namespace varnok
