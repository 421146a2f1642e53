#include "app/IniSettingsStore.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "app/IniDocument.h"
#include "store/InPlaceFile.h"
#include "store/ReplaceFile.h"
#include "store/SaveLock.h"

namespace varnok {

namespace {

// A settings file holds a few short lines; one this large is not the settings file Varnok
// wrote, and is neither loaded whole nor written over.
constexpr std::uintmax_t kLoadLimit = 1024 * 1024;

// The file's text: empty for a missing file; a problem for one that cannot be read, is too
// large, or is not a regular file (a folder, a FIFO, a link to a device), which is never read
// from or written.
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
    // Read in pieces up to one past the limit: the size asked beforehand may be out of date.
    char piece[4096];
    while (text.size() <= kLoadLimit && in.read(piece, sizeof piece).gcount() > 0) {
        text.append(piece, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return {FileProblem::Unreadable, file, {}};
    if (text.size() > kLoadLimit) {
        text.clear();
        return {FileProblem::TooLargeToLoad, file, {}};
    }
    return {};
}

// The file as it is now; a file that cannot be read reads as empty (every default).
IniDocument ReadDocument(const std::filesystem::path& file) {
    std::string text;
    ReadFile(file, text);
    return IniDocument::Parse(text);
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
    const std::optional<std::string> value = ReadDocument(file_).Text(section, name);
    if (!value) return defaultValue;
    return ParseInteger(*value).value_or(defaultValue);
}

FileResult IniSettingsStore::WriteSetting(std::string_view section, std::string_view name,
                                          std::int32_t value) {
    return Write(section, name, std::to_string(value),
                 [value](const std::string& stored) { return ParseInteger(stored) == value; });
}

std::string IniSettingsStore::ReadText(std::string_view section, std::string_view name) {
    return ReadDocument(file_).Text(section, name).value_or(std::string());
}

FileResult IniSettingsStore::WriteText(std::string_view section, std::string_view name,
                                       std::string_view text) {
    return Write(section, name, std::string(text),
                 [text](const std::string& stored) { return stored == text; });
}

FileResult IniSettingsStore::Write(std::string_view section, std::string_view name,
                                   const std::string& text,
                                   const std::function<bool(const std::string& stored)>& same) {
    FileResult written = WriteChange(section, name, text, same);
    // Named as the user knows the file, not as a link leads.
    if (!written) written.file = file_;
    return written;
}

FileResult IniSettingsStore::WriteChange(std::string_view section, std::string_view name,
                                         const std::string& value,
                                         const std::function<bool(const std::string&)>& same) {
    std::error_code error;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), error);
    const std::filesystem::path real = RealFile(file_);
    // The folder's lock, and for a file with more than one name (which may be reached through
    // another folder) the file's own, as every Varnok process takes them before it writes.
    SaveLock folderLock;
    if (FileResult locked = folderLock.Acquire(real); !locked) return locked;
    FileIdentity identity;
    const bool linked = IdentifyFile(real, identity) && identity.links > 1;
    SaveLock fileLock;
    if (linked) {
        if (FileResult locked = fileLock.AcquireFile(real); !locked) return locked;
    }
    std::string text;
    if (FileResult read = ReadFile(real, text); !read) return read;
    IniDocument document = IniDocument::Parse(text);
    // Storing what is stored changes nothing anyone can see, and costs a replace and two
    // syncs (the window starts by storing its language and key count).
    const std::optional<std::string> stored = document.Text(section, name);
    if (stored && same(*stored)) return {};
    document.SetText(section, name, value);
    const std::string contents = document.ToText();
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size());
    if (!linked) return ReplaceFile(real, bytes);
    // A new file taking the name would leave the other names on the old contents: the file is
    // written over where it stands, in one write (it is a few lines).
    if (FileResult writable = CheckReplaceable(real); !writable) return writable;
    return WriteOver(real, bytes, bytes.size());
}

}  // namespace varnok
