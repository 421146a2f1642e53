#include "support/linux/KillAtChange.h"

#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace varnok {

namespace {

bool ChangesFiles(long call) {
    switch (call) {
#if defined(__x86_64__)
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
        case SYS_link:
        case SYS_linkat:
        case SYS_unlink:
        case SYS_unlinkat:
            return true;
#endif
        default:
            return false;
    }
}

}  // namespace

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
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr,
             PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL | PTRACE_O_TRACEEXEC);
    int changes = 0;
    bool entering = true;
    int pending = 0;
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, pending);
        pending = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status)) return false;
        if ((status >> 8) == (SIGTRAP | (PTRACE_EVENT_EXEC << 8))) {
            // The new program starts; its execve returns after this stop.
            continue;
        }
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            pending = WSTOPSIG(status);
            continue;
        }
        if (entering) {
            user_regs_struct registers{};
            ::ptrace(PTRACE_GETREGS, child, nullptr, &registers);
#if defined(__x86_64__)
            if (ChangesFiles(static_cast<long>(registers.orig_rax)) && ++changes == n) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                return true;
            }
#endif
        }
        entering = !entering;
    }
}

}  // namespace varnok
