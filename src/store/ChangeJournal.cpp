#include "store/ChangeJournal.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "store/InPlaceFile.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// The journal: this mark; the map's path; a byte of flags (bit 0: there was a map, bit 1: it
// is written where it stands, bit 2: there is a map after the change); the old and the new
// contents; the settings, each a name and a value; and the checksum of all that. Numbers are 64-bit
// little-endian, each text and contents led by its length.
constexpr std::string_view kMark = "VNKCHNG1";
constexpr std::uint8_t kOldExists = 1;
constexpr std::uint8_t kInPlace = 2;
constexpr std::uint8_t kNewExists = 4;
// Bounds what a journal may claim: a map is read only below 4 MiB; a path, a setting's name and
// the number of settings are far below these.
constexpr std::uint64_t kContentsLimit = std::uint64_t{4} * 1024 * 1024;
constexpr std::uint64_t kPathLimit = 64 * 1024;
constexpr std::uint64_t kNameLimit = 256;
constexpr std::uint64_t kSettingsLimit = 64;

void PutNumber(Bytes& bytes, std::uint64_t number) {
    for (int shift = 0; shift < 64; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(number >> shift));
    }
}

void PutText(Bytes& bytes, std::span<const std::uint8_t> text) {
    PutNumber(bytes, text.size());
    bytes.insert(bytes.end(), text.begin(), text.end());
}

// FNV-1a: tells a whole journal from one that was damaged.
std::uint64_t Checksum(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xCBF29CE484222325;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3;
    return hash;
}

// Reads the journal's fields in order; every length is checked against what is left and
// against its limit before it is used.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : rest_(bytes) {}

    std::optional<std::uint64_t> Number() {
        if (rest_.size() < 8) return std::nullopt;
        std::uint64_t number = 0;
        for (int i = 7; i >= 0; --i) number = (number << 8) | rest_[static_cast<std::size_t>(i)];
        rest_ = rest_.subspan(8);
        return number;
    }
    std::optional<std::uint8_t> Byte() {
        if (rest_.empty()) return std::nullopt;
        const std::uint8_t byte = rest_.front();
        rest_ = rest_.subspan(1);
        return byte;
    }
    std::optional<Bytes> Text(std::uint64_t limit) {
        const std::optional<std::uint64_t> size = Number();
        if (!size || *size >= limit || *size > rest_.size()) return std::nullopt;
        Bytes text(rest_.begin(), rest_.begin() + static_cast<std::ptrdiff_t>(*size));
        rest_ = rest_.subspan(static_cast<std::size_t>(*size));
        return text;
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::span<const std::uint8_t> rest_;
};

std::string Hex(std::uint64_t number) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, number >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[number & 0xF];
    return text;
}

Bytes PathBytes(const fs::path& path) {
    const std::u8string text = path.u8string();
    return Bytes(text.begin(), text.end());
}

}  // namespace

Bytes EncodeChange(const ChangeRecord& change) {
    Bytes bytes(kMark.begin(), kMark.end());
    PutText(bytes, PathBytes(change.map));
    bytes.push_back(static_cast<std::uint8_t>((change.old ? kOldExists : 0) |
                                              (change.inPlace ? kInPlace : 0) |
                                              (change.contents ? kNewExists : 0)));
    const auto orNothing = [](const std::optional<Bytes>& contents) {
        return contents ? std::span<const std::uint8_t>(*contents)
                        : std::span<const std::uint8_t>();
    };
    PutText(bytes, orNothing(change.old));
    PutText(bytes, orNothing(change.contents));
    PutNumber(bytes, change.settings.size());
    for (const auto& [name, value] : change.settings) {
        PutText(bytes, std::span(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
        PutNumber(bytes, static_cast<std::uint64_t>(static_cast<std::int64_t>(value)));
    }
    PutNumber(bytes, Checksum(bytes));
    return bytes;
}

std::optional<ChangeRecord> DecodeChange(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMark.size() + 8 || !std::equal(kMark.begin(), kMark.end(), bytes.begin())) {
        return std::nullopt;
    }
    const std::size_t checked = bytes.size() - 8;
    Reader sum(bytes.subspan(checked));
    if (sum.Number() != Checksum(bytes.first(checked))) return std::nullopt;

    Reader reader(bytes.subspan(kMark.size(), checked - kMark.size()));
    ChangeRecord change;
    const std::optional<Bytes> path = reader.Text(kPathLimit);
    const std::optional<std::uint8_t> flags = reader.Byte();
    std::optional<Bytes> old = reader.Text(kContentsLimit);
    std::optional<Bytes> contents = reader.Text(kContentsLimit);
    const std::optional<std::uint64_t> count = reader.Number();
    if (!path || path->empty() || !flags || !old || !contents || !count ||
        *count > kSettingsLimit) {
        return std::nullopt;
    }
    change.map = fs::path(std::u8string(path->begin(), path->end()));
    if ((*flags & kOldExists) != 0) change.old = std::move(*old);
    change.inPlace = (*flags & kInPlace) != 0;
    if ((*flags & kNewExists) != 0) change.contents = std::move(*contents);
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::optional<Bytes> name = reader.Text(kNameLimit);
        const std::optional<std::uint64_t> value = reader.Number();
        if (!name || name->empty() || !value) return std::nullopt;
        change.settings.emplace_back(std::string(name->begin(), name->end()),
                                     static_cast<std::int32_t>(static_cast<std::int64_t>(*value)));
    }
    if (!reader.AtEnd()) return std::nullopt;
    return change;
}

std::string MapFileKey(const fs::path& real) {
    return "p" + Hex(Checksum(PathBytes(real)));
}

std::string FileIdentityKey(std::uint64_t device, std::uint64_t file) {
    return "i" + Hex(device) + "-" + Hex(file);
}

fs::path ChangeJournalName(const fs::path& folder, std::string_view key) {
    return folder / ("change-" + std::string(key) + ".journal");
}

fs::path UnfinishedJournalName(const fs::path& journal) {
    fs::path name = journal;
    name += ".new";
    return name;
}

FileResult WriteChangeJournal(const ChangeRecord& change, std::string_view key, fs::path& journal) {
    fs::path folder;
    if (FileResult privateFolder = PrivateStateFolder(folder); !privateFolder) {
        return privateFolder;
    }
    journal = ChangeJournalName(folder, key);
    const fs::path unfinished = UnfinishedJournalName(journal);
    if (FileResult written = CreatePrivateFile(unfinished, EncodeChange(change)); !written) {
        return written;
    }
    FileResult published = PublishPrivateFile(unfinished, journal);
    if (!published) {
        std::error_code ignored;
        fs::remove(unfinished, ignored);
    }
    return published;
}

fs::path SetAsideJournal(const fs::path& journal) {
    std::error_code error;
    for (int n = 1; n < 1000; ++n) {
        fs::path aside = journal;
        aside += ".set-aside" + (n == 1 ? std::string() : std::to_string(n));
        if (fs::exists(fs::symlink_status(aside, error))) continue;
        fs::rename(journal, aside, error);
        return error ? journal : aside;
    }
    return journal;
}

}  // namespace varnok
