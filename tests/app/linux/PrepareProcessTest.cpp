#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "app/ProgramPlatform.h"
#include "support/TempDirectory.h"
#include "support/linux/ChildProcess.h"

namespace varnok {
namespace {

using namespace std::chrono_literals;

// A process started with standard descriptors closed: after PrepareProcess the next file it
// opens gets a descriptor above 2, and each closed one still fails its use as a closed one does.
TEST(PrepareProcess, AClosedStandardDescriptorIsNeverTakenByAFile) {
    const std::vector<std::vector<int>> cases = {{0}, {1}, {2}, {1, 2}, {0, 1, 2}, {}};
    for (const std::vector<int>& closed : cases) {
        SCOPED_TRACE(::testing::PrintToString(closed));
        TempDirectory folder;
        const std::string file = (folder.Path() / "trace.log").string();
        const auto outcome = RunInChild(
            [&] {
                for (const int fd : closed) ::close(fd);
                PrepareProcess();
                const int opened = ::open(file.c_str(), O_WRONLY | O_CREAT, 0600);
                std::string said = opened > 2 ? "file above 2;" : "file took a standard one;";
                char byte = 'x';
                for (const int fd : {0, 1, 2}) {
                    const ssize_t used = fd == 0 ? ::read(fd, &byte, 0) : ::write(fd, &byte, 0);
                    said += used < 0 && errno == EBADF ? " closed" : " open";
                }
                return said;
            },
            5s, false);
        std::string expected = "file above 2;";
        for (const int fd : {0, 1, 2}) {
            const bool wasClosed = std::find(closed.begin(), closed.end(), fd) != closed.end();
            expected += wasClosed ? " closed" : " open";
        }
        EXPECT_EQ(outcome, expected);
    }
}

}  // namespace
}  // namespace varnok
