#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "store/AppendFile.h"
#include "store/FileProblemTexts.h"
#include "support/FileBytes.h"
#include "support/TempDirectory.h"
#include "support/linux/ChildProcess.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Opens the output, writes a line and says what happened; in a child process, so that an open
// that waits for a reader fails the test instead of hanging it.
std::optional<std::string> AppendLine(
    const fs::path& path, const std::function<void()>& arrange = [] {}) {
    return RunInChild(
        [&] {
            arrange();
            FileResult result;
            auto out = OpenAppendFile(path, result);
            if (!out) return DescribeFileResult(result, 0);
            *out << "line\n" << std::flush;
            return std::string(*out ? "written" : "write failed");
        },
        5s, true);
}

struct RefusalCase {
    const char* label;
    const char* name;                                     // in the test's folder, or absolute
    std::function<void(const fs::path& folder)> arrange;  // runs as the ordinary user
    const char* reason;
};

TEST(AppendFile, RefusesAnythingButARegularFileOrATerminalWithoutWaiting) {
    const RefusalCase cases[] = {
        {"a pipe without a reader", "fifo",
         [](const fs::path& folder) { ::mkfifo((folder / "fifo").c_str(), 0600); },
         "it is neither a regular file nor a terminal"},
        {"a pipe with a reader", "fifo",
         [](const fs::path& folder) {
             ::mkfifo((folder / "fifo").c_str(), 0600);
             ::open((folder / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
         },
         "it is neither a regular file nor a terminal"},
        {"a folder", "sub", [](const fs::path& folder) { fs::create_directory(folder / "sub"); },
         "it is neither a regular file nor a terminal"},
        {"a device that is no terminal", "/dev/null", [](const fs::path&) {},
         "it is neither a regular file nor a terminal"},
        {"a read-only file", "trace.log",
         [](const fs::path& folder) {
             WriteBytes(folder / "trace.log", {'o', 'l', 'd'});
             fs::permissions(folder / "trace.log", fs::perms::owner_read);
         },
         "the file is read-only"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDirectory directory;
        [[maybe_unused]] const int ignored =
            ::chown(directory.Path().c_str(), OrdinaryUserId(), OrdinaryGroupId());
        const fs::path path = directory.Path() / c.name;
        const auto outcome = AppendLine(path, [&] { c.arrange(directory.Path()); });
        ASSERT_TRUE(outcome.has_value()) << "the open did not return";
        EXPECT_EQ(*outcome, path.string() + ": " + c.reason);
    }
}

TEST(AppendFile, AppendsToAFileAndWritesToATerminal) {
    TempDirectory directory;
    [[maybe_unused]] const int ignored =
        ::chown(directory.Path().c_str(), OrdinaryUserId(), OrdinaryGroupId());
    const fs::path log = directory.Path() / "trace.log";
    EXPECT_EQ(AppendLine(log), "written");
    EXPECT_EQ(AppendLine(log), "written");
    EXPECT_EQ(ReadBytes(log), Bytes({'l', 'i', 'n', 'e', '\n', 'l', 'i', 'n', 'e', '\n'}));

    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0) {
        GTEST_SKIP() << "no pseudo-terminal here";
    }
    const fs::path side = ::ptsname(terminal);
    const auto outcome = RunInChild(
        [&] {
            FileResult result;
            auto out = OpenAppendFile(side, result);
            if (!out) return DescribeFileResult(result, 0);
            *out << "line\n" << std::flush;
            return std::string("written");
        },
        5s, false);
    EXPECT_EQ(outcome, "written");
    char received[16] = {};
    const ssize_t got = ::read(terminal, received, sizeof received - 1);
    ::close(terminal);
    EXPECT_GT(got, 0);
    EXPECT_EQ(std::string(received).substr(0, 4), "line");
}

}  // namespace
}  // namespace varnok
