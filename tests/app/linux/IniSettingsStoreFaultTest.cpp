#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "app/IniSettingsStore.h"
#include "store/FileProblemTexts.h"
#include "store/SaveLock.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"
#include "support/linux/ChildProcess.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct FaultCase {
    const char* label;
    std::function<void(const fs::path& file)> arrange;  // runs as the ordinary user
    const char* reason;                                 // after "<file>: "
};

// A settings write that cannot land says why, and the file is as it was; never a success.
TEST(IniSettingsStoreFault, AWriteThatCannotLandSaysWhyAndLeavesTheFile) {
    const FaultCase cases[] = {
        {"a read-only file",
         [](const fs::path& file) { fs::permissions(file, fs::perms::owner_read); },
         "the file is read-only"},
        {"a file that cannot be read",
         [](const fs::path& file) { fs::permissions(file, fs::perms::owner_write); },
         "it cannot be read and was left as it is (Permission denied)"},
        {"a folder",
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_directory(file);
         },
         "it is not a regular file"},
        {"a pipe",
         [](const fs::path& file) {
             fs::remove(file);
             ::mkfifo(file.c_str(), 0600);
         },
         "it is not a regular file"},
        {"a link to a device",
         [](const fs::path& file) {
             fs::remove(file);
             fs::create_symlink("/dev/zero", file);
         },
         "it is not a regular file"},
        {"another program holding the lock",
         [](const fs::path& file) {
             // Held until the child ends; flock locks of two opens exclude each other.
             static SaveLock* held = new SaveLock;
             held->Acquire(file);
         },
         "another program is saving it"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory folder;
        ASSERT_EQ(::chown(folder.Path().c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
        const fs::path file = folder.Path() / "varnok.conf";
        const auto outcome = RunInChild(
            [&] {
                WriteBytes(file, {'[', 'S', ']', '\n', 'a', '=', '1', '\n'});
                c.arrange(file);
                IniSettingsStore store(file);
                const FileResult written = store.WriteSetting("Settings", "keynum", 2);
                std::error_code ignored;
                fs::permissions(file, fs::perms::owner_all, fs::perm_options::add, ignored);
                const bool kept =
                    !fs::is_regular_file(file) ||
                    ReadBytes(file) == Bytes{'[', 'S', ']', '\n', 'a', '=', '1', '\n'};
                return (written ? std::string("written") : DescribeFileResult(written, 0)) +
                       (kept ? "" : " / the file changed");
            },
            10s, true);
        EXPECT_EQ(outcome, file.string() + ": " + c.reason);
    }
}

}  // namespace
}  // namespace varnok
