#include "keys/linux/SystemKeyboardSetting.h"

#include <fstream>
#include <sstream>

namespace varnok {

namespace {

// The first item of a shell assignment's value: quotes gone, up to the first comma.
std::string FirstItem(std::string_view value) {
    std::string item;
    for (const char c : value) {
        if (c == ',' || c == '#' || c == ' ' || c == '\t') break;
        if (c != '"' && c != '\'') item += c;
    }
    return item;
}

}  // namespace

std::string KeyboardSettingLayout(std::string_view text) {
    std::string layout;
    std::string variant;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) continue;
        const std::string_view assignment = std::string_view(line).substr(start);
        for (auto [key, target] : {std::pair{std::string_view("XKBLAYOUT="), &layout},
                                   std::pair{std::string_view("XKBVARIANT="), &variant}}) {
            if (assignment.starts_with(key)) *target = FirstItem(assignment.substr(key.size()));
        }
    }
    if (layout.empty() || variant.empty()) return layout;
    return layout + "(" + variant + ")";
}

std::string SystemKeyboardSetting(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    // A keyboard setting is a few lines; a larger file is not one.
    constexpr std::size_t kMaxSize = 64 * 1024;
    std::string text(kMaxSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (static_cast<std::size_t>(in.gcount()) > kMaxSize) return {};
    text.resize(static_cast<std::size_t>(in.gcount()));
    return KeyboardSettingLayout(text);
}

}  // namespace varnok
