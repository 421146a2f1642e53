#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace varnok {

// File names as Varnok's texts carry them: UTF-8. std::filesystem's narrow strings are UTF-8 on
// Linux but the ANSI code page on Windows, which holds few of the world's names (a folder named
// in Chinese comes out as question marks, or the conversion throws), so every path becomes text
// and every text a path here, once, at the edge.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(std::string_view utf8);

}  // namespace varnok
