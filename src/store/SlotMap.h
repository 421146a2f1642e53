#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/ChangeJournal.h"
#include "store/FileResult.h"
#include "store/SettingChange.h"
#include "store/SlotEntry.h"

namespace varnok {

class SettingsStore;

// The per-slot display texts and definition bytes, keyed by slot name, and their file
// msmap.dat. The keyboard keeps only the encoded key table; this map is what lets the window
// show the same definitions at the next start.
class SlotMap {
public:
    // Uses msmap.dat in the process's current directory as it is at each load and save.
    SlotMap();
    // Uses msmap.dat in the given directory.
    explicit SlotMap(std::filesystem::path directory);
    // Uses the given file, whatever its name. settings is the store of the settings that change
    // with the map (each key's function, the key count): a change cut off between the two is
    // finished there too.
    static SlotMap InFile(std::filesystem::path file, SettingsStore* settings = nullptr);

    // Makes or updates the entry for name. An empty text keeps the entry's previous text;
    // data and flag are always replaced.
    void Set(std::string_view name, std::string_view text, const SlotData& data, std::uint8_t flag);
    // False for an empty name; otherwise true, whether or not an entry was there.
    bool Remove(std::string_view name);
    // The entry for name, owned by the map and valid until it is removed; nullptr if none.
    const SlotEntry* Find(std::string_view name) const;
    std::size_t Size() const;

    // Writes msmap.dat, and the settings given, as one change: whenever the process or the
    // machine stops, the next load finds the file and the settings as they were or as the
    // change left them. The file is replaced through a new file that takes its name or, for a
    // file with more than one name (each sees the save), in a folder that takes no new files,
    // or under a name too long for another beside it, written where it stands. A change that
    // writes settings or writes where the file stands is first written whole into a journal in
    // the user's private state folder; with no such folder, a map that can be written is still
    // saved (Unguarded says so when it was written where it stands).
    // After a load that failed other than for a missing file, nothing is written: the load's
    // result is returned. A failure puts back whatever the change had written.
    // Another program may have saved the same file since this map last read or wrote it: the
    // names this map set or removed since then are written as this map holds them, every
    // other name as the file now holds it, and afterwards the map holds what the file holds.
    // A name marked by Revert is written only where the file still holds what this map holds.
    // A file that could not be loaded (too large, unreadable, a link to nothing) is never
    // overwritten, and no file is written that the next load would refuse. Entries whose text
    // was not changed keep the text's bytes as they were read.
    FileResult Save(std::span<const SettingChange> settings = {});
    // Writes bytes as the whole of msmap.dat (removes it for none), with the settings, as one
    // change; the map then holds what the file holds.
    FileResult SaveBytes(const std::optional<std::vector<std::uint8_t>>& bytes,
                         std::span<const SettingChange> settings = {});
    // Makes this map hold target's entries. The next Save writes each name where the two differ,
    // unless another program saved that name since this map last read or wrote the file: that
    // key stays as the file holds it.
    void Revert(const SlotMap& target);
    // When the last Save wrote the map where it stands without a journal: the file and why no
    // journal could be kept.
    const std::optional<FileResult>& Unguarded() const { return unguarded_; }
    // The names whose entries the last Save took from the file as another program left it,
    // where they differ from what this map held: the keys changed elsewhere.
    const std::vector<std::string>& ChangedElsewhere() const { return changedElsewhere_; }
    // When the last Save found msmap.dat ending in part of a record, which it did not write
    // back: the file and, as detail, where the copy of it as it was is kept.
    const std::optional<FileResult>& KeptCopy() const { return keptCopy_; }
    // Removes name's record from msmap.dat as the file is now, leaving every other record as
    // the file holds it (this map's unsaved entries included); success too when the file has
    // no such record or there is no file. A file that cannot be loaded is left alone, and the
    // result says why.
    FileResult RemoveFromFile(std::string_view name) const;
    // Sets one entry per record of msmap.dat. Missing when there is no file: the map is as it
    // was (a first start). Unreadable, TooLargeToLoad (4 MiB or more), NotAFile (a folder, a pipe)
    // or BrokenLink when the file is there but cannot be loaded: nothing is set, and this map
    // never writes the file (Save and RemoveFromFile return this result).
    FileResult Load();
    // Finishes a change of msmap.dat and its settings that was cut off (the process killed, the
    // power gone), so that both hold what they held before it or all that it wrote; found says
    // which, or why a journal found was set aside instead. Load and Save do this too; a start
    // does it first, to say so once.
    FileResult FinishCutOffSave(CutOffChange& found) const;

    // msmap.dat's bytes as they are now, for SaveBytes to put back later; nullopt when there
    // is no file. A file that cannot be loaded gives its problem and no bytes.
    FileResult ReadFileBytes(std::optional<std::vector<std::uint8_t>>& bytes) const;

    // Sets one entry per whole record of msmap.dat's contents, as Load does with the file.
    void Read(std::span<const std::uint8_t> contents);
    // The file Save writes for the entries as they are: one record each, sorted by name.
    std::vector<std::uint8_t> Contents() const;

    // The path of msmap.dat for the next load or save.
    std::filesystem::path FilePath() const;

private:
    // Lets the map look names up as string_views without copying them.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    template <typename Value>
    using ByName = std::unordered_map<std::string, Value, NameHash, std::equal_to<>>;

    struct StoredEntry {
        SlotEntry entry;
        // The text exactly as the file held it, until the text changes: bytes that are not
        // valid GBK go back to the file as they came.
        std::optional<std::string> storedText;
    };

    StoredEntry& EntryFor(std::string_view name, bool& created);
    // Makes this map hold what other holds, keeping the entries that stay where they are.
    void TakeOver(const SlotMap& other);

    // Under the map's locks: finishes or sets aside a cut-off change of the file real.
    CutOffChange Recover(const std::filesystem::path& real) const;
    // The same for one journal; byPath: named for the map's path, not for the file's identity.
    CutOffChange RecoverFrom(const std::filesystem::path& real,
                             const std::filesystem::path& journal, bool byPath) const;
    // Under the map's locks: writes contents (none: removes the file) over real, which holds
    // old, and the settings, as one change.
    FileResult Commit(const std::filesystem::path& real,
                      const std::optional<std::vector<std::uint8_t>>& old,
                      const std::optional<std::vector<std::uint8_t>>& contents,
                      std::span<const SettingChange> settings);

    std::filesystem::path file_;
    SettingsStore* settings_ = nullptr;
    ByName<StoredEntry> entries_;
    // Names set or removed since the last save: the next save writes them as this map holds
    // them, whatever the file holds.
    std::unordered_set<std::string, NameHash, std::equal_to<>> touched_;
    // Names Revert changed, with what this map held for them before (none: no entry): written
    // only where the file still holds that.
    ByName<std::optional<SlotEntry>> reverted_;
    std::optional<FileResult> unguarded_;
    std::vector<std::string> changedElsewhere_;
    std::optional<FileResult> keptCopy_;
    // Why the last load found a file it could not load.
    std::optional<FileResult> loadProblem_;
};

}  // namespace varnok
