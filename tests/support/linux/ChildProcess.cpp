#include "support/linux/ChildProcess.h"

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace varnok {

namespace {

constexpr uid_t kNobody = 65534;

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written <= 0 && errno != EINTR) return;
        if (written > 0) done += static_cast<std::size_t>(written);
    }
}

}  // namespace

unsigned OrdinaryUserId() {
    if (::geteuid() != 0) return ::geteuid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody != nullptr ? nobody->pw_uid : kNobody;
}

unsigned OrdinaryGroupId() {
    if (::geteuid() != 0) return ::getegid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody != nullptr ? nobody->pw_gid : kNobody;
}

std::optional<std::string> RunInChild(const std::function<std::string()>& body,
                                      std::chrono::milliseconds timeout, bool asOrdinaryUser) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        ::close(pipeFds[0]);
        if (asOrdinaryUser && ::geteuid() == 0) {
            const gid_t group = OrdinaryGroupId();
            if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 ||
                ::setuid(OrdinaryUserId()) != 0) {
                ::_exit(3);
            }
        }
        try {
            WriteAll(pipeFds[1], body());
        } catch (...) {
            ::_exit(4);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool ended = false;
    while (!ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd readable{pipeFds[0], POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[4096];
        const ssize_t got = ::read(pipeFds[0], chunk, sizeof chunk);
        if (got > 0) {
            output.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            ended = true;
        }
    }
    ::close(pipeFds[0]);
    if (!ended) ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

}  // namespace varnok
