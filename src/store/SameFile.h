#pragma once

#include <filesystem>

namespace varnok {

// a and b are one file: by identity (device and file number, through links and other names;
// on Windows the volume and file index), or, for a file still to be made, by the same full
// name once links in its folders are followed.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace varnok
