#include "store/SlotMap.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include "store/ChangeJournal.h"
#include "store/GbkCodec.h"
#include "store/InPlaceFile.h"
#include "store/PathText.h"
#include "store/ReplaceFile.h"
#include "store/SaveLock.h"
#include "store/SettingsStore.h"
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

// What a write of contents over old where it stands can leave when it stops anywhere: each
// byte old or new (or zero where the file was lengthened), the length between the two.
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

SlotMap SlotMap::InFile(std::filesystem::path file, SettingsStore* settings) {
    SlotMap map;
    map.file_ = std::move(file);
    map.settings_ = settings;
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

FileResult SlotMap::Save(std::span<const SettingChange> settings) {
    changedElsewhere_.clear();
    keptCopy_.reset();
    unguarded_.reset();
    if (loadProblem_) {
        return *loadProblem_;
    }
    const fs::path file = FilePath();
    // Two links to one file are one file: its own folder holds the lock, the new file and the
    // leftovers, whichever name a saver used. Messages name the file as the user did.
    const fs::path real = RealFile(file);
    // A settings file that refused is named as it is.
    const auto named = [&file, &real](FileResult result) {
        if (result.file == real || result.file.empty()) result.file = file;
        return result;
    };
    MapLocks locks;
    if (FileResult locked = locks.Acquire(real); !locked) {
        return named(locked);
    }
    Recover(real);
    // What the file holds now, perhaps saved by another program since this map read it.
    std::vector<std::uint8_t> onDisk;
    const FileResult read = ReadStoreFile(file, onDisk);
    if (!read && read.problem != FileProblem::Missing) {
        return read;
    }
    SlotMap merged;
    merged.Read(onDisk);
    for (const std::string& name : touched_) {
        const auto reverted = reverted_.find(name);
        if (reverted != reverted_.end()) {
            // Put back only where the file holds what this map last knew of it.
            const SlotEntry* now = merged.Find(name);
            const bool asKnown =
                reverted->second ? now != nullptr && *now == *reverted->second : now == nullptr;
            if (!asKnown) continue;
        }
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
    std::optional<std::vector<std::uint8_t>> old;
    if (read) old = std::move(onDisk);
    if (FileResult written = Commit(real, old, contents, settings); !written) {
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
    reverted_.clear();
    return {};
}

FileResult SlotMap::SaveBytes(const std::optional<std::vector<std::uint8_t>>& bytes,
                              std::span<const SettingChange> settings) {
    unguarded_.reset();
    if (loadProblem_) return *loadProblem_;
    const fs::path real = RealFile(file_);
    MapLocks locks;
    FileResult written = locks.Acquire(real);
    std::optional<std::vector<std::uint8_t>> old;
    if (written) {
        Recover(real);
        written = ReadFileBytes(old);
    }
    if (written) written = Commit(real, old, bytes, settings);
    if (!written) {
        if (written.file == real || written.file.empty()) written.file = file_;
        return written;
    }
    SlotMap now;
    if (bytes) now.Read(*bytes);
    TakeOver(now);
    touched_.clear();
    reverted_.clear();
    return {};
}

void SlotMap::Revert(const SlotMap& target) {
    std::unordered_set<std::string, NameHash, std::equal_to<>> names;
    for (const auto& [name, stored] : entries_) names.insert(name);
    for (const auto& [name, stored] : target.entries_) names.insert(name);
    for (const std::string& name : names) {
        const SlotEntry* now = Find(name);
        const SlotEntry* then = target.Find(name);
        if (now != nullptr && then != nullptr && *now == *then) continue;
        if (now == nullptr && then == nullptr) continue;
        // What the file held the last time this map saw it: a name changed but not saved since
        // is this map's own change, and put back whatever the file holds.
        if (!reverted_.contains(name) && !touched_.contains(name)) {
            reverted_.emplace(name, now != nullptr ? std::optional<SlotEntry>(*now) : std::nullopt);
        }
        if (then != nullptr) {
            entries_.insert_or_assign(name, target.entries_.find(name)->second);
        } else {
            entries_.erase(name);
        }
        touched_.insert(name);
    }
}

FileResult SlotMap::Commit(const fs::path& real,
                           const std::optional<std::vector<std::uint8_t>>& old,
                           const std::optional<std::vector<std::uint8_t>>& contents,
                           std::span<const SettingChange> settings) {
    ChangeRecord change{real, old, contents, false, {}};
    // The settings as they will be, and as they are, for the way back.
    std::vector<std::pair<std::string, std::int32_t>> before;
    if (settings_ != nullptr) {
        for (const SettingChange& setting : settings) {
            const std::int32_t now = settings_->ReadSetting(kSettingsSection, setting.name, 0);
            const std::int32_t value =
                setting.atLeast ? std::max(now, setting.value) : setting.value;
            before.emplace_back(setting.name, now);
            change.settings.emplace_back(setting.name, value);
        }
    }
    FileIdentity identity;
    const bool exists = old && IdentifyFile(real, identity);
    // A file with more than one name is written where it stands, so every name sees it.
    change.inPlace = exists && identity.links > 1;
    fs::path journal;
    std::optional<FileResult> noJournal;
    // A map written where it stands may be opened next by another of its names: its journal is
    // found by the file's identity, any other by the map's path.
    const auto keepJournal = [&]() {
        if (!journal.empty() || noJournal) return;
        FileIdentity now;
        const std::string key = change.inPlace && IdentifyFile(real, now)
                                    ? FileIdentityKey(now.device, now.file)
                                    : MapFileKey(real);
        if (FileResult kept = WriteChangeJournal(change, key, journal); !kept) {
            journal.clear();
            noJournal = kept;
        }
    };
    if (!change.settings.empty() || change.inPlace) keepJournal();

    const auto putBack = [&] {
        std::error_code ignored;
        if (!old) {
            fs::remove(real, ignored);
        } else if (change.inPlace) {
            WriteOver(real, *old, kRecordSize);
        } else {
            ReplaceFile(real, *old);
        }
    };
    FileResult written;
    if (!contents) {
        std::error_code error;
        fs::remove(real, error);
        if (error) written = {FileProblem::SystemError, real, error.message()};
    } else {
        if (!change.inPlace) {
            // Under the lock no other save is under way: a new file beside this one is a
            // leftover.
            RemoveLeftoverTemporaries(real);
            written = ReplaceFile(real, *contents, NoNewFile::Refuse);
            const bool noNewFile = written.problem == FileProblem::NoNewFiles ||
                                   written.problem == FileProblem::NameTooLong;
            if (noNewFile && !exists && written.problem == FileProblem::NameTooLong) {
                // The map's own name fits where a longer one beside it does not: made empty,
                // it is then written where it stands.
                written = WriteDurableFile(real, {});
                if (written) change.old = std::vector<std::uint8_t>();
            }
            change.inPlace = noNewFile && (exists || written);
            if (change.inPlace) {
                // The journal, if one was written, told of a replace: it is written anew.
                if (!journal.empty()) {
                    std::error_code ignored;
                    fs::remove(journal, ignored);
                    journal.clear();
                }
                keepJournal();
            }
        }
        if (change.inPlace) {
            if (noJournal) unguarded_ = FileResult{FileProblem::WrittenUnguarded, file_, {}};
            written = WriteOver(real, *contents, kRecordSize);
            if (!written) putBack();
        }
    }
    if (written && settings_ != nullptr) {
        for (std::size_t i = 0; i < change.settings.size(); ++i) {
            const auto& [name, value] = change.settings[i];
            if (FileResult stored = settings_->WriteSetting(kSettingsSection, name, value);
                !stored) {
                // All or nothing: the map and the settings written so far go back.
                for (std::size_t j = 0; j < i; ++j) {
                    settings_->WriteSetting(kSettingsSection, before[j].first, before[j].second);
                }
                putBack();
                written = stored;
                break;
            }
        }
    }
    if (!journal.empty()) {
        std::error_code ignored;
        fs::remove(journal, ignored);
    }
    if (!written && unguarded_) unguarded_.reset();
    return written;
}

CutOffChange SlotMap::Recover(const fs::path& real) const {
    CutOffChange found;
    const std::optional<fs::path> folder = UserStateFolder();
    if (!folder) return found;
    // The journal of a change by this path, and that of one written where the file stands
    // through any of its names.
    std::vector<std::pair<fs::path, bool>> journals = {
        {ChangeJournalName(*folder, MapFileKey(real)), true}};
    if (FileIdentity identity; IdentifyFile(real, identity)) {
        journals.emplace_back(
            ChangeJournalName(*folder, FileIdentityKey(identity.device, identity.file)), false);
    }
    for (const auto& [journal, byPath] : journals) {
        const CutOffChange one = RecoverFrom(real, journal, byPath);
        if (one.end != CutOffChange::End::None) found = one;
    }
    return found;
}

CutOffChange SlotMap::RecoverFrom(const fs::path& real, const fs::path& journal,
                                  bool byPath) const {
    CutOffChange found;
    const auto setAside = [&](CutOffChange::Why why) {
        found.end = CutOffChange::End::SetAside;
        found.why = why;
        found.journal = SetAsideJournal(journal);
        return found;
    };
    // A journal still being written when the process stopped: nothing was changed yet.
    const fs::path unfinished = UnfinishedJournalName(journal);
    switch (OwnershipOf(unfinished)) {
        case Ownership::Missing:
            break;
        case Ownership::Own: {
            std::error_code ignored;
            if (fs::remove(unfinished, ignored)) found.end = CutOffChange::End::Undone;
            break;
        }
        default:
            found.end = CutOffChange::End::SetAside;
            found.why = CutOffChange::Why::NotOwn;
            found.journal = SetAsideJournal(unfinished);
            break;
    }
    const Ownership ownership = OwnershipOf(journal);
    if (ownership == Ownership::Missing) return found;
    if (ownership != Ownership::Own) return setAside(CutOffChange::Why::NotOwn);
    std::optional<ChangeRecord> change;
    {
        std::ifstream in(journal, std::ios::binary);
        std::vector<std::uint8_t> bytes;
        // Two maps and the rest: far more than a whole journal of Varnok's holds.
        constexpr std::size_t kJournalLimit = 3 * kLoadLimit;
        std::vector<char> buffer(65536);
        while (in && bytes.size() <= kJournalLimit) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + in.gcount());
        }
        if (bytes.size() <= kJournalLimit) change = DecodeChange(bytes);
    }
    // Found by its path, a journal names that very path; found by the file's identity, it tells
    // of a write where the file stands.
    if (!change || (byPath ? change->map != real : !change->inPlace)) {
        return setAside(CutOffChange::Why::Damaged);
    }
    std::optional<std::vector<std::uint8_t>> now;
    now.emplace();
    const FileResult read = ReadStoreFile(real, *now);
    if (read.problem == FileProblem::Missing) {
        now.reset();
    } else if (!read && read.problem != FileProblem::NotAMapFile) {
        return setAside(CutOffChange::Why::MapChanged);
    }
    const bool asAfter = now == change->contents;
    const bool asBefore = now == change->old;
    const bool onTheWay = change->inPlace && now && change->old && change->contents &&
                          IsOnTheWay(*now, *change->old, *change->contents);
    if (!asAfter && !asBefore && !onTheWay) {
        found.holds = CutOffChange::Holds::Unknown;
        return setAside(CutOffChange::Why::MapChanged);
    }
    if ((change->contents && !IsSlotMapFile(*change->contents)) ||
        (now && !asAfter && !IsSlotMapFile(*now) && !now->empty())) {
        found.holds = asBefore ? CutOffChange::Holds::AsBefore : CutOffChange::Holds::Unknown;
        return setAside(CutOffChange::Why::NotAMap);
    }
    if (!asAfter) {
        FileResult written;
        std::error_code error;
        if (!change->contents) {
            fs::remove(real, error);
        } else if (now && change->inPlace) {
            written = WriteOver(real, *change->contents, kRecordSize);
        } else {
            RemoveLeftoverTemporaries(real);
            written = ReplaceFile(real, *change->contents);
        }
        // The journal stays for the next reader, who may be able to write the file.
        if (!written || error) return found;
    }
    found.end = CutOffChange::End::Completed;
    // A map without its settings store finishes the map; the journal waits for the settings.
    if (settings_ == nullptr && !change->settings.empty()) return found;
    for (const auto& [name, value] : change->settings) {
        if (!settings_->WriteSetting(kSettingsSection, name, value)) return found;
    }
    std::error_code ignored;
    fs::remove(journal, ignored);
    return found;
}

void SlotMap::TakeOver(const SlotMap& other) {
    std::erase_if(entries_,
                  [&other](const auto& item) { return !other.entries_.contains(item.first); });
    for (const auto& [name, stored] : other.entries_) {
        entries_.insert_or_assign(name, stored);
    }
}

FileResult SlotMap::FinishCutOffSave(CutOffChange& found) const {
    found = {};
    const fs::path real = RealFile(file_);
    MapLocks locks;
    FileResult finished = locks.Acquire(real);
    if (finished) found = Recover(real);
    if (!finished) finished.file = file_;
    return finished;
}

FileResult SlotMap::Load() {
    std::vector<std::uint8_t> bytes;
    // Under the locks of a save: a save that writes the file where it stands is not read
    // half done, and one that was cut off is finished first.
    const fs::path real = RealFile(file_);
    MapLocks locks;
    FileResult read = locks.Acquire(real);
    if (read) {
        Recover(real);
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
