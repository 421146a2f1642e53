#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/FileResult.h"
#include "store/LanguageTextRow.h"

namespace varnok {

// Why a file was left alone (or what was kept of it), in the words the user reads after the
// file's path.
extern const std::array<LanguageTextRow<FileProblem>, 20> FileProblemTexts;

// "<file>: <reason>" in the window's language (0 English, otherwise Chinese); an unforeseen
// failure adds the system's own words.
std::string DescribeFileResult(const FileResult& result, std::int32_t language);

}  // namespace varnok
