#include "app/IniSettingsStore.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "store/ReplaceFile.h"
#include "store/SaveLock.h"

namespace varnok {

namespace {

// The file's text: empty for a missing file; a problem for one that cannot be read or is not
// a regular file (a folder, a FIFO, a link to a device), which is never read from or written.
FileResult ReadFile(const std::filesystem::path& file, std::string& text) {
    text.clear();
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return {};
    if (error) return {FileProblem::Unreadable, file, error.message()};
    if (status.type() != std::filesystem::file_type::regular) {
        return {FileProblem::NotAFile, file, {}};
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) return {FileProblem::Unreadable, file, errno != 0 ? std::strerror(errno) : ""};
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return {FileProblem::Unreadable, file, {}};
    return {};
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

const IniDocument& IniSettingsStore::Document() {
    if (!document_) {
        // A file that cannot be read gives every default; a write says why it cannot be made.
        std::string text;
        ReadFile(file_, text);
        document_ = IniDocument::Parse(text);
    }
    return *document_;
}

std::int32_t IniSettingsStore::ReadSetting(std::string_view section, std::string_view name,
                                           std::int32_t defaultValue) {
    const std::optional<std::string> value = Document().Text(section, name);
    if (!value) return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

FileResult IniSettingsStore::WriteSetting(std::string_view section, std::string_view name,
                                          std::int32_t value) {
    FileResult written = Write(section, name, value);
    // Named as the user knows the file, not as a link leads.
    if (!written) written.file = file_;
    return written;
}

FileResult IniSettingsStore::Write(std::string_view section, std::string_view name,
                                   std::int32_t value) {
    // Storing what is stored changes nothing anyone can see, and costs a replace and two
    // syncs (the window starts by storing its language and key count).
    const std::optional<std::string> stored = Document().Text(section, name);
    if (stored && ParseInteger(*stored) == value) return {};

    std::error_code error;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), error);
    const std::filesystem::path real = RealFile(file_);
    SaveLock lock;
    if (FileResult locked = lock.Acquire(real); !locked) return locked;
    std::string text;
    if (FileResult read = ReadFile(real, text); !read) return read;
    IniDocument document = IniDocument::Parse(text);
    auto changes = written_;
    changes.insert_or_assign({std::string(section), std::string(name)}, std::to_string(value));
    for (const auto& [key, change] : changes) document.SetText(key.first, key.second, change);
    const std::string contents = document.ToText();
    if (FileResult replaced = ReplaceFile(
            real, {reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()});
        !replaced) {
        return replaced;
    }
    written_ = std::move(changes);
    document_ = std::move(document);
    return {};
}

}  // namespace varnok
