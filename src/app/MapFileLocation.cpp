#include "app/MapFileLocation.h"

#include <system_error>

#include "store/FileProblemTexts.h"
#include "store/QuotedText.h"
#include "store/ReplaceFile.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMapFileName = "msmap.dat";

// What CheckReplaceable found at the map, as far as the run's use of it cares: a file or
// folder that may not be written is no problem for a run that only reads it.
FileResult MapProblem(const fs::path& file, MapFileLocation::Use use) {
    FileResult check = CheckReplaceable(file);
    if (use == MapFileLocation::Use::ReadOnly &&
        (check.problem == FileProblem::ReadOnly || check.problem == FileProblem::NoNewFiles)) {
        return {};
    }
    return check;
}

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
                                        const fs::path& workingDirectory, std::int32_t language,
                                        Use use) {
    const bool english = language == 0;
    if (namedFile) {
        const fs::path file = workingDirectory / *namedFile;
        if (const FileResult check = MapProblem(file, use); !check) {
            return Failed(PathInMessage(*namedFile) +
                          (english ? ": the key map cannot be written there: "
                                   // ：按键映射文件无法写在这里：
                                   : "\uFF1A\u6309\u952E\u6620\u5C04\u6587\u4EF6\u65E0\u6CD5"
                                     "\u5199\u5728\u8FD9\u91CC\uFF1A") +
                          DescribeFileResult(check, language));
        }
        MapFileLocation location;
        location.file = file;
        return location;
    }

    if (!dataFolder) {
        return Failed(english ? "there is no home folder to keep msmap.dat in; name a file with "
                                "--map FILE"
                              // 没有可存放 msmap.dat 的主文件夹；请用 --map FILE 指定一个文件
                              : "\u6CA1\u6709\u53EF\u5B58\u653E msmap.dat \u7684\u4E3B\u6587"
                                "\u4EF6\u5939\uFF1B\u8BF7\u7528 --map FILE \u6307\u5B9A\u4E00"
                                "\u4E2A\u6587\u4EF6");
    }
    std::error_code error;
    fs::create_directories(*dataFolder, error);
    const fs::path file = *dataFolder / kMapFileName;
    const FileResult check = error ? FileResult{} : MapProblem(file, use);
    if (error || !check) {
        const std::string reason = error ? error.message() : DescribeFileResult(check, language);
        return Failed(PathInMessage(*dataFolder) +
                      (english ? ": msmap.dat cannot be kept there (" + reason +
                                     "); name another file with --map FILE"
                               // ：msmap.dat 无法存放在这里（…）；请用 --map FILE 指定另一个文件
                               : "\uFF1Amsmap.dat \u65E0\u6CD5\u5B58\u653E\u5728\u8FD9\u91CC"
                                 "\uFF08" +
                                     reason +
                                     "\uFF09\uFF1B\u8BF7\u7528 --map FILE \u6307\u5B9A\u53E6"
                                     "\u4E00\u4E2A\u6587\u4EF6"));
    }

    MapFileLocation location;
    location.file = file;
    const fs::path earlier = workingDirectory / kMapFileName;
    if (fs::exists(fs::symlink_status(file, error)) || !fs::is_regular_file(earlier, error) ||
        fs::equivalent(earlier.parent_path(), *dataFolder, error)) {
        return location;
    }
    if (!CopyMap(earlier, file, error)) {
        return Failed(english ? PathInMessage(earlier) + " could not be copied to " +
                                    PathInMessage(*dataFolder) + " (" + error.message() + ")"
                              // 无法把 A 复制到 B（…）
                              : "\u65E0\u6CD5\u628A " + PathInMessage(earlier) +
                                    " \u590D\u5236\u5230 " + PathInMessage(*dataFolder) + "\uFF08" +
                                    error.message() + "\uFF09");
    }
    location.notice = "copied " + PathInMessage(earlier) + " to " + PathInMessage(file) +
                      ", where the key map is kept from now on; the original stays as it was";
    return location;
}

}  // namespace varnok
