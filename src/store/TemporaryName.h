#pragma once

#include <string>
#include <string_view>

namespace varnok {

// The names of the new files that a replace writes beside a file before renaming them over it:
// "<file name>.<process id>.<attempt>.tmp". Names are UTF-8.
std::string TemporaryName(std::string_view fileName, unsigned long processId, int attempt);

// True when candidate is a name TemporaryName makes for fileName.
bool IsTemporaryOf(std::string_view candidate, std::string_view fileName);

}  // namespace varnok
