#include <gtest/gtest.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/StartUp.h"
#include "store/SlotMap.h"
#include "support/FileBytes.h"
#include "support/HidFakePlatform.h"
#include "support/TempDirectory.h"
#include "support/linux/ScopedEnvironment.h"

namespace varnok {
namespace {

namespace fs = std::filesystem;

#if defined(__x86_64__)

// A call that changes a file or a folder: where a kill leaves its mark.
bool ChangesFiles(long call) {
    switch (call) {
        case SYS_write:
        case SYS_pwrite64:
        case SYS_writev:
        case SYS_ftruncate:
        case SYS_fallocate:
        case SYS_fsync:
        case SYS_fdatasync:
        case SYS_rename:
        case SYS_renameat:
        case SYS_renameat2:
        case SYS_unlink:
        case SYS_unlinkat:
            return true;
        default:
            return false;
    }
}

// Runs work in a child process and kills it with SIGKILL as it enters its nth call that
// changes a file, before the call does anything. False when work ended before that.
bool KillAtChange(const std::function<void()>& work, int n) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int changes = 0;
    bool entering = true;
    int pending = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, pending);
        pending = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status)) return false;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            pending = WSTOPSIG(status);
            continue;
        }
        if (entering) {
            user_regs_struct registers{};
            ::ptrace(PTRACE_GETREGS, child, nullptr, &registers);
            if (ChangesFiles(static_cast<long>(registers.orig_rax)) && ++changes == n) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                return true;
            }
        }
        entering = !entering;
    }
}

Bytes MapOf(const char* text, int records) {
    SlotMap map;
    for (int i = 0; i < records; ++i) {
        map.Set("key" + std::to_string(i), text + std::to_string(i), {static_cast<std::uint8_t>(i)},
                0);
    }
    return map.Contents();
}

// A map with two names is written where it stands, through a journal. Killed at each call of
// that write that changes a file, the next start finds the map as it was or as the save wrote
// it, says that nothing was lost, and leaves no journal behind.
TEST(CutOffSave, AKilledWriteInPlaceLeavesTheOldMapOrTheNewOneAtTheNextStart) {
    const Bytes old = MapOf("before ", 12);
    const Bytes saved = MapOf("after the save ", 24);
    TempDirectory directory;
    ScopedEnvironment environment;
    environment.Set("XDG_STATE_HOME", (directory.Path() / "state").string());
    const fs::path map = directory.Path() / "msmap.dat";
    const fs::path otherName = directory.Path() / "other.dat";
    fs::create_directory(directory.Path() / "state");

    int oldSeen = 0;
    int newSeen = 0;
    for (int point = 1; point <= 40; ++point) {
        SCOPED_TRACE("killed at call " + std::to_string(point));
        fs::remove(map);
        fs::remove(otherName);
        WriteBytes(map, old);
        fs::create_hard_link(map, otherName);
        const bool killed = KillAtChange(
            [&] {
                SlotMap writer = SlotMap::InFile(map);
                writer.Load();
                for (int i = 0; i < 24; ++i) {
                    writer.Set("key" + std::to_string(i), "after the save " + std::to_string(i),
                               {static_cast<std::uint8_t>(i)}, 0);
                }
                static_cast<void>(writer.Save());
            },
            point);

        CommandLineOptions options;
        options.mapFile = otherName.string();
        StartUp startUp(
            options, [] { return std::make_unique<HidFakePlatform>(std::vector<HidFakeDevice>{}); },
            0);
        std::string error;
        ASSERT_TRUE(startUp.SettleMap(std::nullopt, nullptr, error)) << error;
        const Bytes now = ReadBytes(otherName);
        ASSERT_TRUE(now == old || now == saved);
        (now == old ? oldSeen : newSeen) += 1;
        const std::string& notice = startUp.MapNotice();
        EXPECT_TRUE(notice.empty() || notice.find("nothing was lost") != std::string::npos ||
                    notice.find("holds its keys as before") != std::string::npos)
            << notice;
        if (!killed) {
            EXPECT_EQ(notice, "");
        }
        EXPECT_TRUE(fs::equivalent(map, otherName));
        EXPECT_EQ(ReadBytes(map), now);
        EXPECT_EQ(Listing(directory.Path()),
                  (std::vector<std::string>{"msmap.dat", "other.dat", "state"}));
        const auto journals =
            std::count_if(fs::recursive_directory_iterator(directory.Path() / "state"), {},
                          [](const fs::directory_entry& entry) { return entry.is_regular_file(); });
        EXPECT_EQ(journals, 0);
    }
    // The points reach from before the journal to after the map was written.
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);
}

#endif

}  // namespace
}  // namespace varnok
