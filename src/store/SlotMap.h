#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "store/SlotEntry.h"

namespace varnok {

// The per-slot display texts and definition bytes, keyed by slot name, and their file
// msmap.dat. The keyboard keeps only the encoded key table; this map is what lets the window
// show the same definitions at the next start.
class SlotMap {
public:
    // Uses msmap.dat in the process's current directory as it is at each load and save.
    SlotMap();
    // Uses msmap.dat in the given directory.
    explicit SlotMap(std::filesystem::path directory);
    // Uses the given file, whatever its name.
    static SlotMap InFile(std::filesystem::path file);

    // Makes or updates the entry for name. An empty text keeps the entry's previous text;
    // data and flag are always replaced.
    void Set(std::string_view name, std::string_view text, const SlotData& data, std::uint8_t flag);
    // False for an empty name; otherwise true, whether or not an entry was there.
    bool Remove(std::string_view name);
    // The entry for name, owned by the map and valid until it is removed; nullptr if none.
    const SlotEntry* Find(std::string_view name) const;
    std::size_t Size() const;

    // Replaces msmap.dat with every entry. The previous file stays whole when the new one
    // cannot be written completely; false then.
    bool Save() const;
    // Sets one entry per record of msmap.dat. False when the file cannot be opened or read
    // into memory; true otherwise, also when it is too short or too long to hold records.
    bool Load();

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

    std::filesystem::path file_;
    std::unordered_map<std::string, SlotEntry, NameHash, std::equal_to<>> entries_;
};

}  // namespace varnok
