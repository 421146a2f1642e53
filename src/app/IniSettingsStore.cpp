#include "app/IniSettingsStore.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "app/IniDocument.h"
#include "store/ReplaceFile.h"

namespace varnok {

namespace {

// The file's text; an empty text for a missing file, nullopt for one that cannot be read.
std::optional<std::string> ReadFile(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return std::string();
    if (error || status.type() != std::filesystem::file_type::regular) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
}

// Decimal digits with an optional sign, in range, as QString::toInt takes them.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::int32_t IniSettingsStore::ReadSetting(std::string_view section, std::string_view name,
                                           std::int32_t defaultValue) {
    const std::optional<std::string> text = ReadFile(file_);
    if (!text) return defaultValue;
    const std::optional<std::string> value = IniDocument::Parse(*text).Text(section, name);
    if (!value) return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

bool IniSettingsStore::WriteSetting(std::string_view section, std::string_view name,
                                    std::int32_t value) {
    const std::optional<std::string> text = ReadFile(file_);
    if (!text) return false;
    IniDocument document = IniDocument::Parse(*text);
    document.SetText(section, name, std::to_string(value));
    std::error_code error;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), error);
    const std::string written = document.ToText();
    return static_cast<bool>(ReplaceFile(
        file_, {reinterpret_cast<const std::uint8_t*>(written.data()), written.size()}));
}

}  // namespace varnok
