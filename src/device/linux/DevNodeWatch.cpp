#include "device/linux/DevNodeWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

namespace varnok {
namespace {

constexpr std::string_view kNodePrefix = "hidraw";
constexpr auto kSettle = std::chrono::milliseconds(300);
constexpr auto kInterval = std::chrono::milliseconds(1000);

}  // namespace

DevNodeWatch::DevNodeWatch() : DevNodeWatch("/dev", kSettle, kInterval) {}

DevNodeWatch::DevNodeWatch(std::filesystem::path directory, std::chrono::milliseconds settle,
                           std::chrono::milliseconds interval)
    : directory_(std::move(directory)), settle_(settle), interval_(interval) {}

DevNodeWatch::~DevNodeWatch() {
    Stop();
}

bool DevNodeWatch::Start(std::function<void()> changed) {
    Stop();
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0) return false;
    if (inotify_add_watch(inotify_, directory_.c_str(),
                          IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM) < 0 ||
        pipe2(stopPipe_, O_CLOEXEC) != 0) {
        Stop();
        return false;
    }
    thread_ = std::thread([this, changed = std::move(changed)]() mutable { Watch(changed); });
    return true;
}

void DevNodeWatch::Stop() {
    if (thread_.joinable()) {
        const char stop = 0;
        [[maybe_unused]] const ssize_t written = write(stopPipe_[1], &stop, 1);
        thread_.join();
    }
    for (int* fd : {&inotify_, &stopPipe_[0], &stopPipe_[1]}) {
        if (*fd >= 0) close(*fd);
        *fd = -1;
    }
}

bool DevNodeWatch::TakeEvents() {
    bool node = false;
    alignas(inotify_event) std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t length = read(inotify_, buffer.data(), buffer.size());
        if (length <= 0) return node;
        // The kernel hands whole events only; each names the entry in the watched directory.
        for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            inotify_event event;
            std::memcpy(&event, buffer.data() + offset, sizeof event);
            const char* name = buffer.data() + offset + sizeof(inotify_event);
            const std::size_t nameLength = strnlen(name, event.len);
            if (event.len > 0 && std::string_view(name, nameLength).starts_with(kNodePrefix)) {
                node = true;
            }
            if ((event.mask & IN_Q_OVERFLOW) != 0) node = true;  // events lost: look anyway
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
    }
}

void DevNodeWatch::Watch(std::function<void()> changed) {
    using Clock = std::chrono::steady_clock;
    std::array<pollfd, 2> watched{{{inotify_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}}};
    // A change seen but not yet told waits for the settle time and the interval.
    bool pending = false;
    Clock::time_point due{};
    Clock::time_point lastTold = Clock::now() - interval_;
    for (;;) {
        int timeout = -1;
        if (pending) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
        }
        const int ready = poll(watched.data(), watched.size(), timeout);
        if (ready < 0 && errno != EINTR) return;
        if (watched[1].revents != 0) return;
        if (ready > 0 && (watched[0].revents & POLLIN) != 0 && TakeEvents()) {
            // More changes come with one plug (the node, then its rights): wait for them.
            due = std::max(Clock::now() + settle_, lastTold + interval_);
            pending = true;
        }
        if (pending && Clock::now() >= due) {
            pending = false;
            lastTold = Clock::now();
            changed();
        }
    }
}

}  // namespace varnok
