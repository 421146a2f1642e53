#pragma once

#include <filesystem>

#include "store/FileResult.h"

namespace varnok {

// The file problem an errno value stands for, the system's own words kept for anything
// unforeseen. refused is what a denied access means where it happened: the file may not be
// written (ReadOnly), or its folder takes no new files (NoNewFiles).
FileResult FileFailure(int error, const std::filesystem::path& file,
                       FileProblem refused = FileProblem::ReadOnly);

}  // namespace varnok
