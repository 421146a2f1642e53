#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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
    std::string contents = "[S]\na=1\n";                // the file before arrange
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
        {"a read-only file with a second name",
         [](const fs::path& file) {
             fs::create_hard_link(file, fs::path(file) += ".2");
             fs::permissions(file, fs::perms::owner_read);
         },
         "the file is read-only"},
        {"a file of more than a mebibyte, one byte over", [](const fs::path&) {},
         "it is too large to be loaded and was left as it is",
         "[S]\na=1\n" + std::string(1024 * 1024 - 7, ';')},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory folder;
        ASSERT_EQ(::chown(folder.Path().c_str(), OrdinaryUserId(), OrdinaryGroupId()), 0);
        const fs::path file = folder.Path() / "varnok.conf";
        const auto outcome = RunInChild(
            [&] {
                WriteBytes(file, Bytes(c.contents.begin(), c.contents.end()));
                c.arrange(file);
                IniSettingsStore store(file);
                const FileResult written = store.WriteSetting("Settings", "keynum", 2);
                std::error_code ignored;
                fs::permissions(file, fs::perms::owner_all, fs::perm_options::add, ignored);
                const bool kept = !fs::is_regular_file(file) ||
                                  ReadBytes(file) == Bytes(c.contents.begin(), c.contents.end());
                return (written ? std::string("written") : DescribeFileResult(written, 0)) +
                       (kept ? "" : " / the file changed");
            },
            10s, true);
        EXPECT_EQ(outcome, file.string() + ": " + c.reason);
    }
}

// Several Varnok processes, each storing its own value over and over at once: each write
// reads the file under the save lock, so none of them loses another's value.
TEST(IniSettingsStoreFault, ProcessesWritingAtOnceKeepEachOthersValues) {
    constexpr int kProcesses = 6;
    constexpr int kWrites = 5;
    TempDirectory folder;
    const fs::path file = folder.Path() / "varnok.conf";
    std::vector<pid_t> children;
    for (int n = 1; n <= kProcesses; ++n) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            IniSettingsStore store(file);
            bool written = true;
            for (int i = kWrites; i >= 0; --i) {
                written =
                    store.WriteSetting("Settings", kFunctionModeSettings[n], n * 10 + i) && written;
            }
            ::_exit(written ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "process " << child;
    }
    IniSettingsStore store(file);
    for (int n = 1; n <= kProcesses; ++n) {
        SCOPED_TRACE(kFunctionModeSettings[n]);
        EXPECT_EQ(store.ReadSetting("Settings", kFunctionModeSettings[n], -1), n * 10);
    }
}

}  // namespace
}  // namespace varnok
