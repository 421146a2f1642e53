#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/FileResult.h"

namespace varnok {

// A change of the owner's keys that writes more than one thing: msmap.dat and the settings that
// go with it (each key's function, the key count, the language). Before either is touched, the
// change is written whole into a journal in the user's private state folder; the next reader of
// the map that finds the journal finishes the change, so that a kill or a power loss leaves the
// old keys or the new ones, never a mix.
struct ChangeRecord {
    // The map as its real path names it (links followed).
    std::filesystem::path map;
    // The map's bytes before the change and after it (none: there is no map).
    std::optional<std::vector<std::uint8_t>> old;
    std::optional<std::vector<std::uint8_t>> contents;
    // The map is written where it stands, so after a cut-off write it may hold part of each.
    bool inPlace = false;
    // Values of the settings section, as they are after the change.
    std::vector<std::pair<std::string, std::int32_t>> settings;
};

// The journal's bytes: a mark, the record, and a checksum of everything before it.
std::vector<std::uint8_t> EncodeChange(const ChangeRecord& change);
// The record a journal holds; none when it is not whole or claims more than a map can hold.
std::optional<ChangeRecord> DecodeChange(std::span<const std::uint8_t> bytes);

// A short name for the map file real names (its path's checksum in hex), so that what the state
// folder keeps of one map is never taken for another's.
std::string MapFileKey(const std::filesystem::path& real);
// The same for a map written where it stands, which any of its names (hard links) may open
// next: its device and file number. A journal found by it is applied only when the file holds
// what the change found or wrote.
std::string FileIdentityKey(std::uint64_t device, std::uint64_t file);

// Where a change is journaled in the state folder: one name per key.
std::filesystem::path ChangeJournalName(const std::filesystem::path& folder, std::string_view key);
// The name a journal has while it is written; it takes its own name only once it is whole.
std::filesystem::path UnfinishedJournalName(const std::filesystem::path& journal);

// Writes the journal of change into the private state folder under its own name, exclusively
// and durably. The folder's problem when there is none to write (see PrivateStateFolder).
FileResult WriteChangeJournal(const ChangeRecord& change, std::string_view key,
                              std::filesystem::path& journal);

// What a reader found of a change that was cut off, before it read the map.
struct CutOffChange {
    enum class End {
        None,       // no journal for this map: nothing was cut off
        Completed,  // the change was finished: the keys are as it left them
        Undone,     // it was cut off before it changed anything: the keys are as before
        SetAside,   // a journal was not applied (see why) and lies renamed at journal
    };
    // Why a journal was set aside.
    enum class Why {
        NotOwn,      // a link, another user's file, a file with more names, not a file
        Damaged,     // not whole, or not a journal at all
        MapChanged,  // the map is neither as the change found it nor as it left it
        NotAMap,     // what the change would write, or the map now, holds no map records
    };
    // What the map holds when a journal was set aside.
    enum class Holds {
        AsBefore,  // what it held before the change the journal tells of
        AsAfter,   // what that change wrote
        Unknown,   // neither: part of each, or what another program wrote since
    };
    End end = End::None;
    Why why = Why::Damaged;
    Holds holds = Holds::Unknown;
    std::filesystem::path journal;
};

// Renames a journal that is not to be applied to a name no file has, beside it, so that it is
// never applied, never lost, and never found again as a journal; that name.
std::filesystem::path SetAsideJournal(const std::filesystem::path& journal);

}  // namespace varnok
