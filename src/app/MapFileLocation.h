#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace varnok {

// Where this run keeps msmap.dat, settled once at start-up, before any window opens.
struct MapFileLocation {
    // What the run does with the map: a run that only reads it (the command line's show or
    // export) may use a map the user may read but not write.
    enum class Use { ReadAndWrite, ReadOnly };

    std::filesystem::path file;  // the map to load and save; empty when error is set
    std::string notice;          // what start-up did to the user's files, to be said once
    std::string error;           // why no map file can be used; the program stops then

    // The map file: the named one (--map FILE) as it is; otherwise msmap.dat in the user's
    // data folder, which is created when missing. When that folder holds no map yet but the
    // working directory does (where earlier versions kept it), the file is copied over; the
    // user's file itself is never moved or changed. A map that could not be saved would lose
    // the user's work at the first Save, so an unwritable place is an error, found now, unless
    // the run only reads the map: a file or folder it may not write is then no error. The
    // error is worded in language (0 English, otherwise Chinese).
    static MapFileLocation Settle(const std::optional<std::filesystem::path>& namedFile,
                                  const std::optional<std::filesystem::path>& dataFolder,
                                  const std::filesystem::path& workingDirectory,
                                  std::int32_t language = 0, Use use = Use::ReadAndWrite);
};

}  // namespace varnok
