#include "store/SlotMap.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include "store/GbkCodec.h"
#include "store/InPlaceFile.h"
#include "store/JournaledWrite.h"
#include "store/PathText.h"
#include "store/ReplaceFile.h"
#include "store/SaveLock.h"
#include "store/SlotRecord.h"

namespace varnok {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFileName = "msmap.dat";
// Bounds the one buffer the whole file is read into; a longer file is not loaded at all.
constexpr std::uintmax_t kLoadLimit = std::uintmax_t{4} * 1024 * 1024;
constexpr std::size_t kRecordSize = SlotRecordLayout::kRecordSize;

// Reads msmap.dat whole; Missing when there is no file, any other problem when the file cannot
// be loaded.
FileResult ReadStoreFile(const fs::path& file, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::error_code error;
    const fs::file_status link = fs::symlink_status(file, error);
    if (link.type() == fs::file_type::not_found) {
        return {FileProblem::Missing, file, {}};
    }
    if (error) {
        return {FileProblem::SystemError, file, error.message()};
    }
    const fs::file_status status = fs::status(file, error);
    if (fs::is_symlink(link) && (status.type() == fs::file_type::not_found ||
                                 error == std::errc::too_many_symbolic_link_levels)) {
        return {FileProblem::BrokenLink, file, {}};
    }
    if (error) {
        return {FileProblem::SystemError, file, error.message()};
    }
    // Only a regular file: a folder or a pipe named msmap.dat is not the store's file.
    if (!fs::is_regular_file(status)) {
        return {FileProblem::NotAFile, file, {}};
    }
    std::ifstream in(file, std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::streamoff length = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (length < 0) {
        return {FileProblem::Unreadable, file, {}};
    }
    if (static_cast<std::uintmax_t>(length) >= kLoadLimit) {
        return {FileProblem::TooLargeToLoad, file, {}};
    }
    try {
        bytes.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return {FileProblem::SystemError, file, "out of memory"};
    }
    in.seekg(0, std::ios::beg);
    in.read(reinterpret_cast<char*>(bytes.data()), length);
    if (in.bad()) {
        return {FileProblem::Unreadable, file, {}};
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (!IsSlotMapFile(bytes)) {
        return {FileProblem::NotAMapFile, file, {}};
    }
    return {};
}

// The locks every save and load of the map holds: those of its folder and, for a file with
// more than one name (written where it stands), of the file itself.
struct MapLocks {
    SaveLock folder;
    SaveLock file;

    FileResult Acquire(const fs::path& real) {
        if (FileResult locked = folder.Acquire(real); !locked) return locked;
        FileIdentity identity;
        return IdentifyFile(real, identity) && identity.links > 1 ? file.AcquireFile(real)
                                                                  : FileResult{};
    }
};

// Writes contents over the map real, which now holds old: through a new file that takes its
// name, or, where that cannot be (more than one name, a folder that takes no new files, a
// name too long for another beside it), where it stands through a journal. Records go one at
// a time.
FileResult WriteMap(const fs::path& real, std::span<const std::uint8_t> old,
                    std::span<const std::uint8_t> contents) {
    FileIdentity identity;
    const bool exists = static_cast<bool>(IdentifyFile(real, identity));
    if (!exists || identity.links <= 1) {
        const FileResult replaced = ReplaceFile(real, contents, NoNewFile::Refuse);
        if (replaced.problem != FileProblem::NoNewFiles &&
            replaced.problem != FileProblem::NameTooLong) {
            return replaced;
        }
        if (!exists) {
            if (replaced.problem == FileProblem::NoNewFiles) return replaced;
            // The map's own name fits where a longer one beside it does not: made empty, the
            // map is then written as any map that stays where it is.
            if (FileResult made = WriteDurableFile(real, {}); !made) return made;
            if (FileResult identified = IdentifyFile(real, identity); !identified) {
                return identified;
            }
        }
    }
    return WriteThroughJournal(real, identity, old, contents, kRecordSize);
}

// Keeps a copy of the map as it is, bytes, under a name no file has yet: beside the map's name
// as the user gave it, or in the user's state folder where that folder takes no new file. The
// copy's path. A copy already there is never written over, and when every name for one is
// taken the save that needs it is refused.
FileResult KeepCopy(const fs::path& file, std::span<const std::uint8_t> bytes, fs::path& copy) {
    constexpr int kNames = 100;
    const auto copyName = [&file](const fs::path& folder, int n) {
        fs::path name = file.filename();
        name += n == 1 ? ".kept" : ".kept" + std::to_string(n);
        return folder / name;
    };
    std::vector<fs::path> folders = {file.parent_path().empty() ? fs::path(".")
                                                                : file.parent_path()};
    if (const auto state = UserStateFolder()) folders.push_back(*state);
    FileResult kept;
    for (const fs::path& folder : folders) {
        std::error_code ignored;
        fs::create_directories(folder, ignored);
        int n = 1;
        for (; n <= kNames; ++n) {
            copy = copyName(folder, n);
            kept = WriteNewDurableFile(copy, bytes);
            if (kept.problem != FileProblem::NameTaken) break;
        }
        if (n > kNames) {
            return {
                FileProblem::PartRecordNotKept, file,
                PathText(copyName(folder, 1)) + " \u2026 " + PathText(copyName(folder, kNames))};
        }
        if (kept) return kept;
    }
    return kept;
}

}  // namespace

SlotMap::SlotMap() : file_(kFileName) {}

SlotMap::SlotMap(std::filesystem::path directory) : file_(std::move(directory) / kFileName) {}

SlotMap SlotMap::InFile(std::filesystem::path file) {
    SlotMap map;
    map.file_ = std::move(file);
    return map;
}

SlotMap::StoredEntry& SlotMap::EntryFor(std::string_view name, bool& created) {
    auto it = entries_.find(name);
    created = it == entries_.end();
    if (created) {
        it = entries_.emplace(std::string(name), StoredEntry{}).first;
        it->second.entry.name = name;
    }
    return it->second;
}

void SlotMap::Set(std::string_view name, std::string_view text, const SlotData& data,
                  std::uint8_t flag) {
    bool changed = false;
    StoredEntry& stored = EntryFor(name, changed);
    SlotEntry& entry = stored.entry;
    if (!text.empty() && text != entry.text) {
        entry.text = text;
        stored.storedText.reset();
        changed = true;
    }
    changed = changed || entry.data != data || entry.flag != flag;
    entry.data = data;
    entry.flag = flag;
    if (changed) {
        touched_.emplace(name);
    }
}

bool SlotMap::Remove(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    if (auto it = entries_.find(name); it != entries_.end()) {
        entries_.erase(it);
    }
    touched_.emplace(name);
    return true;
}

const SlotEntry* SlotMap::Find(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second.entry;
}

std::size_t SlotMap::Size() const {
    return entries_.size();
}

std::filesystem::path SlotMap::FilePath() const {
    return file_;
}

void SlotMap::Read(std::span<const std::uint8_t> contents) {
    GbkCodec codec;
    // Room for every record under its own name, so a large file never rehashes the map.
    entries_.reserve(entries_.size() + contents.size() / kRecordSize);
    for (; contents.size() >= kRecordSize; contents = contents.subspan(kRecordSize)) {
        const auto record = contents.first<kRecordSize>();
        const SlotEntry read = DecodeSlotRecord(record, codec);
        bool created = false;
        StoredEntry& stored = EntryFor(read.name, created);
        // The rule of Set: an empty text keeps what an earlier record of the name gave.
        if (!read.text.empty()) {
            stored.entry.text = read.text;
            stored.storedText = SlotRecordText(record);
        }
        stored.entry.data = read.data;
        stored.entry.flag = read.flag;
    }
}

std::vector<std::uint8_t> SlotMap::Contents() const {
    // Sorted by name, so that the same map always gives the same file.
    std::vector<const StoredEntry*> sorted;
    sorted.reserve(entries_.size());
    for (const auto& [name, stored] : entries_) {
        sorted.push_back(&stored);
    }
    std::sort(sorted.begin(), sorted.end(), [](const StoredEntry* a, const StoredEntry* b) {
        return a->entry.name < b->entry.name;
    });

    GbkCodec codec;
    std::vector<std::uint8_t> contents;
    contents.reserve(sorted.size() * kRecordSize);
    for (const StoredEntry* stored : sorted) {
        const SlotRecord record = stored->storedText
                                      ? EncodeSlotRecord(stored->entry, *stored->storedText)
                                      : EncodeSlotRecord(stored->entry, codec);
        contents.insert(contents.end(), record.begin(), record.end());
    }
    return contents;
}

FileResult SlotMap::Save() {
    changedElsewhere_.clear();
    keptCopy_.reset();
    if (loadProblem_) {
        return *loadProblem_;
    }
    const fs::path file = FilePath();
    // Two links to one file are one file: its own folder holds the lock, the new file and the
    // leftovers, whichever name a saver used. Messages name the file as the user did.
    const fs::path real = RealFile(file);
    const auto named = [&file](FileResult result) {
        result.file = file;
        return result;
    };
    MapLocks locks;
    if (FileResult locked = locks.Acquire(real); !locked) {
        return named(locked);
    }
    JournaledWriteEnd cutOff = JournaledWriteEnd::None;
    if (FileResult finished = FinishJournaledWrite(real, kRecordSize, cutOff); !finished) {
        return named(finished);
    }
    // What the file holds now, perhaps saved by another program since this map read it.
    std::vector<std::uint8_t> onDisk;
    if (FileResult read = ReadStoreFile(file, onDisk);
        !read && read.problem != FileProblem::Missing) {
        return read;
    }
    SlotMap merged;
    merged.Read(onDisk);
    for (const std::string& name : touched_) {
        if (auto it = entries_.find(name); it != entries_.end()) {
            merged.entries_.insert_or_assign(name, it->second);
        } else {
            merged.entries_.erase(name);
        }
    }
    const std::vector<std::uint8_t> contents = merged.Contents();
    if (contents.size() >= kLoadLimit) {
        return {FileProblem::TooLargeToSave, file, {}};
    }
    // The whole records are what this map loads and writes; bytes of a record cut short
    // would go with this save, so the file as it was is kept first.
    if (onDisk.size() % kRecordSize != 0) {
        fs::path copy;
        if (FileResult kept = KeepCopy(file, onDisk, copy); !kept) return named(kept);
        keptCopy_ = FileResult{FileProblem::PartRecordKept, file, PathText(copy)};
    }
    // Under the lock no other save is under way: a new file beside this one is a leftover.
    RemoveLeftoverTemporaries(real);
    if (FileResult written = WriteMap(real, onDisk, contents); !written) {
        return named(written);
    }
    for (const auto& [name, stored] : merged.entries_) {
        const SlotEntry* held = Find(name);
        if (held == nullptr || !(*held == stored.entry)) changedElsewhere_.push_back(name);
    }
    for (const auto& [name, stored] : entries_) {
        if (!merged.entries_.contains(name)) changedElsewhere_.push_back(name);
    }
    TakeOver(merged);
    touched_.clear();
    return {};
}

void SlotMap::TakeOver(const SlotMap& other) {
    std::erase_if(entries_,
                  [&other](const auto& item) { return !other.entries_.contains(item.first); });
    for (const auto& [name, stored] : other.entries_) {
        entries_.insert_or_assign(name, stored);
    }
}

FileResult SlotMap::FinishCutOffSave(JournaledWriteEnd& end) const {
    end = JournaledWriteEnd::None;
    const fs::path real = RealFile(file_);
    MapLocks locks;
    FileResult finished = locks.Acquire(real);
    if (finished) finished = FinishJournaledWrite(real, kRecordSize, end);
    if (!finished) finished.file = file_;
    return finished;
}

FileResult SlotMap::Load() {
    std::vector<std::uint8_t> bytes;
    // Under the locks of a save: a save that writes the file where it stands is not read
    // half done, and one that was cut off is finished first.
    const fs::path real = RealFile(file_);
    JournaledWriteEnd cutOff = JournaledWriteEnd::None;
    MapLocks locks;
    FileResult read = locks.Acquire(real);
    if (read) read = FinishJournaledWrite(real, kRecordSize, cutOff);
    if (read) {
        read = ReadStoreFile(file_, bytes);
    } else {
        read.file = file_;
    }
    loadProblem_.reset();
    if (read) {
        Read(bytes);
    } else if (read.problem != FileProblem::Missing) {
        // The file is there but its records are not known: writing it would lose them.
        loadProblem_ = read;
    }
    return read;
}

FileResult SlotMap::ReadFileBytes(std::optional<std::vector<std::uint8_t>>& bytes) const {
    bytes.emplace();
    FileResult read = ReadStoreFile(file_, *bytes);
    if (!read) bytes.reset();
    return read.problem == FileProblem::Missing ? FileResult{} : read;
}

FileResult SlotMap::RestoreFile(const std::optional<std::vector<std::uint8_t>>& bytes) const {
    if (loadProblem_) return *loadProblem_;
    const fs::path real = RealFile(file_);
    SaveLock lock;
    if (FileResult locked = lock.Acquire(real); !locked) {
        locked.file = file_;
        return locked;
    }
    if (!bytes) {
        std::error_code error;
        fs::remove(real, error);
        if (error) return {FileProblem::SystemError, file_, error.message()};
        return {};
    }
    RemoveLeftoverTemporaries(real);
    FileResult written = ReplaceFile(real, *bytes);
    if (!written) written.file = file_;
    return written;
}

FileResult SlotMap::RemoveFromFile(std::string_view name) const {
    if (loadProblem_) {
        return *loadProblem_;
    }
    // A file that could not be loaded may hold the record: it is left alone, and said so.
    SlotMap onDisk = InFile(file_);
    if (FileResult read = onDisk.Load(); !read) {
        return read.problem == FileProblem::Missing ? FileResult{} : read;
    }
    if (onDisk.Find(name) == nullptr) return {};
    onDisk.Remove(name);
    return onDisk.Save();
}

}  // namespace varnok
