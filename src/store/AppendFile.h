#pragma once

#include <filesystem>
#include <memory>
#include <ostream>

#include "store/FileResult.h"

namespace varnok {

// Opens file to append to: a regular file, made when missing, or a terminal. Anything else (a
// pipe, a folder, a device) is refused without waiting for a reader and without a byte of it
// changing; nullptr then, and result says why. Implemented once per platform (store/linux/,
// store/win/).
std::unique_ptr<std::ostream> OpenAppendFile(const std::filesystem::path& file, FileResult& result);

}  // namespace varnok
