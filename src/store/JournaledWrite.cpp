#include "store/JournaledWrite.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace varnok {

namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// The journal: this mark, the file's device and file identity, the lengths of the old and the
// new contents, both contents, and a checksum of everything before it; numbers are 64-bit
// little-endian. A journal cut off while it was written fails the checksum.
constexpr std::string_view kMark = "VNKJRNL1";
constexpr std::size_t kHeaderSize = kMark.size() + 4 * 8;
constexpr std::size_t kChecksumSize = 8;
// Bounds what a journal may claim to hold: each contents is less than the map's load limit.
constexpr std::uint64_t kContentsLimit = std::uint64_t{4} * 1024 * 1024;

struct Journal {
    Bytes old;
    Bytes contents;
};

void PutNumber(Bytes& bytes, std::uint64_t number) {
    for (int shift = 0; shift < 64; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(number >> shift));
    }
}

std::uint64_t NumberAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint64_t number = 0;
    for (int i = 7; i >= 0; --i) number = (number << 8) | bytes[offset + i];
    return number;
}

// FNV-1a: enough to tell a whole journal from one that was cut off or is no journal.
std::uint64_t Checksum(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xCBF29CE484222325;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001B3;
    return hash;
}

Bytes Encode(const FileIdentity& identity, std::span<const std::uint8_t> old,
             std::span<const std::uint8_t> contents) {
    Bytes bytes(kMark.begin(), kMark.end());
    bytes.reserve(kHeaderSize + old.size() + contents.size() + kChecksumSize);
    for (const std::uint64_t number : {identity.device, identity.file, std::uint64_t{old.size()},
                                       std::uint64_t{contents.size()}}) {
        PutNumber(bytes, number);
    }
    bytes.insert(bytes.end(), old.begin(), old.end());
    bytes.insert(bytes.end(), contents.begin(), contents.end());
    PutNumber(bytes, Checksum(bytes));
    return bytes;
}

// The journal bytes hold, when they are whole and belong to identity.
std::optional<Journal> Decode(std::span<const std::uint8_t> bytes, const FileIdentity& identity) {
    if (bytes.size() < kHeaderSize + kChecksumSize ||
        !std::equal(kMark.begin(), kMark.end(), bytes.begin())) {
        return std::nullopt;
    }
    const std::uint64_t oldSize = NumberAt(bytes, kMark.size() + 16);
    const std::uint64_t newSize = NumberAt(bytes, kMark.size() + 24);
    if (NumberAt(bytes, kMark.size()) != identity.device ||
        NumberAt(bytes, kMark.size() + 8) != identity.file || oldSize >= kContentsLimit ||
        newSize >= kContentsLimit ||
        bytes.size() != kHeaderSize + oldSize + newSize + kChecksumSize) {
        return std::nullopt;
    }
    const std::size_t checked = bytes.size() - kChecksumSize;
    if (NumberAt(bytes, checked) != Checksum(bytes.first(checked))) return std::nullopt;
    const auto old = bytes.begin() + static_cast<std::ptrdiff_t>(kHeaderSize);
    const auto contents = old + static_cast<std::ptrdiff_t>(oldSize);
    return Journal{Bytes(old, contents),
                   Bytes(contents, contents + static_cast<std::ptrdiff_t>(newSize))};
}

// The whole of a regular file of at most limit bytes; nothing when it cannot be read.
std::optional<Bytes> ReadWhole(const fs::path& file, std::uint64_t limit) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > limit) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    Bytes bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in || in.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
    return bytes;
}

// What a write of contents over old can leave when it stops anywhere: each byte old or new
// (or zero where the file was lengthened), the length between the two.
bool IsOnTheWay(std::span<const std::uint8_t> now, std::span<const std::uint8_t> old,
                std::span<const std::uint8_t> contents) {
    if (now.size() < std::min(old.size(), contents.size()) ||
        now.size() > std::max(old.size(), contents.size())) {
        return false;
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        const bool asNew = i < contents.size() && now[i] == contents[i];
        const bool asOld = i < old.size() ? now[i] == old[i] : now[i] == 0;
        if (!asNew && !asOld) return false;
    }
    return true;
}

std::string JournalName(const FileIdentity& identity) {
    const auto hex = [](std::uint64_t number) {
        constexpr char kDigits[] = "0123456789abcdef";
        std::string text;
        do {
            text.insert(text.begin(), kDigits[number & 0xF]);
            number >>= 4;
        } while (number != 0);
        return text;
    };
    return ".varnok-" + hex(identity.device) + "-" + hex(identity.file) + ".journal";
}

fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Where a journal for the file may lie: beside it, then in the user's state folder.
std::vector<fs::path> JournalPlaces(const fs::path& file, const FileIdentity& identity) {
    std::vector<fs::path> places = {FolderOf(file) / JournalName(identity)};
    if (const auto state = UserStateFolder()) places.push_back(*state / JournalName(identity));
    return places;
}

}  // namespace

FileResult WriteThroughJournal(const fs::path& file, const FileIdentity& identity,
                               std::span<const std::uint8_t> old,
                               std::span<const std::uint8_t> contents, std::size_t pieceSize) {
    const Bytes journalBytes = Encode(identity, old, contents);
    const std::vector<fs::path> places = JournalPlaces(file, identity);
    // A start through another name of the file looks only beside that name and in the state
    // folder.
    fs::path journal = places.front();
    FileResult kept = identity.links > 1 ? FileResult{FileProblem::NoNewFiles, journal, {}}
                                         : WriteDurableFile(journal, journalBytes);
    if (!kept && kept.problem == FileProblem::NoNewFiles && places.size() > 1) {
        journal = places.back();
        std::error_code ignored;
        fs::create_directories(FolderOf(journal), ignored);
        kept = WriteDurableFile(journal, journalBytes);
    }
    if (!kept) return kept;
    std::error_code ignored;
    if (FileResult written = WriteOver(file, contents, pieceSize); !written) {
        // Put back, or never changed (a file that may not be written): the journal goes.
        const auto now = ReadWhole(file, kContentsLimit);
        if (WriteOver(file, old, pieceSize) ||
            (now && std::equal(now->begin(), now->end(), old.begin(), old.end()))) {
            fs::remove(journal, ignored);
        }
        return written;
    }
    fs::remove(journal, ignored);
    return {};
}

FileResult FinishJournaledWrite(const fs::path& file, std::size_t pieceSize,
                                JournaledWriteEnd& end) {
    end = JournaledWriteEnd::None;
    FileIdentity identity;
    if (!IdentifyFile(file, identity)) return {};
    for (const fs::path& journal : JournalPlaces(file, identity)) {
        std::error_code error;
        if (!fs::is_regular_file(fs::symlink_status(journal, error))) continue;
        const auto bytes = ReadWhole(journal, kHeaderSize + 2 * kContentsLimit + kChecksumSize);
        const std::optional<Journal> read = bytes ? Decode(*bytes, identity) : std::nullopt;
        if (!read) {
            // Cut off before it was whole: the file was not touched yet.
            fs::remove(journal, error);
            end = JournaledWriteEnd::RolledBack;
            continue;
        }
        const auto now = ReadWhole(file, kContentsLimit);
        if (!now) return {FileProblem::Unreadable, file, {}};
        if (*now != read->contents) {
            // Changed since by something else: the journal no longer speaks of this file.
            if (!IsOnTheWay(*now, read->old, read->contents)) {
                fs::remove(journal, error);
                continue;
            }
            if (FileResult written = WriteOver(file, read->contents, pieceSize); !written) {
                return written;
            }
        }
        fs::remove(journal, error);
        end = JournaledWriteEnd::Completed;
    }
    return {};
}

}  // namespace varnok
