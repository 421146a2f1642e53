#include "app/MapFileLocation.h"

#include <system_error>

#include "store/FileProblemTexts.h"
#include "store/QuotedText.h"
#include "store/ReplaceFile.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMapFileName = "msmap.dat";

MapFileLocation Failed(std::string error) {
    MapFileLocation location;
    location.error = std::move(error);
    return location;
}

// Copies through a new file that takes the map's name only when whole, so an interrupted
// copy never passes for the user's map at the next start.
bool CopyMap(const fs::path& from, const fs::path& to, std::error_code& error) {
    fs::path partial = to;
    partial += ".copying";
    if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, error)) return false;
    fs::rename(partial, to, error);
    if (!error) return true;
    std::error_code ignored;
    fs::remove(partial, ignored);
    return false;
}

}  // namespace

MapFileLocation MapFileLocation::Settle(const std::optional<fs::path>& namedFile,
                                        const std::optional<fs::path>& dataFolder,
                                        const fs::path& workingDirectory) {
    if (namedFile) {
        const fs::path file = workingDirectory / *namedFile;
        if (const FileResult check = CheckReplaceable(file); !check) {
            return Failed(PathInMessage(*namedFile) +
                          ": the key map cannot be written there: " + DescribeFileResult(check, 0));
        }
        MapFileLocation location;
        location.file = file;
        return location;
    }

    if (!dataFolder) {
        return Failed("there is no home folder to keep msmap.dat in; name a file with --map FILE");
    }
    std::error_code error;
    fs::create_directories(*dataFolder, error);
    const fs::path file = *dataFolder / kMapFileName;
    const FileResult check = error ? FileResult{} : CheckReplaceable(file);
    if (error || !check) {
        return Failed(PathInMessage(*dataFolder) + ": msmap.dat cannot be kept there (" +
                      (error ? error.message() : DescribeFileResult(check, 0)) +
                      "); name another file with --map FILE");
    }

    MapFileLocation location;
    location.file = file;
    const fs::path earlier = workingDirectory / kMapFileName;
    if (fs::exists(fs::symlink_status(file, error)) || !fs::is_regular_file(earlier, error) ||
        fs::equivalent(earlier.parent_path(), *dataFolder, error)) {
        return location;
    }
    if (!CopyMap(earlier, file, error)) {
        return Failed(PathInMessage(earlier) + " could not be copied to " +
                      PathInMessage(*dataFolder) + " (" + error.message() + ")");
    }
    location.notice = "copied " + PathInMessage(earlier) + " to " + PathInMessage(file) +
                      ", where the key map is kept from now on; the original stays as it was";
    return location;
}

}  // namespace varnok
