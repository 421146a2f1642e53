#include "store/linux/FdOutputStream.h"

#include <unistd.h>

#include <cerrno>

namespace varnok {

FdOutputStream::FdOutputStream(int fd) : std::ostream(nullptr), buffer_(fd) {
    rdbuf(&buffer_);
}

FdOutputStream::~FdOutputStream() {
    buffer_.pubsync();
}

FdOutputStream::Buffer::~Buffer() {
    sync();
    ::close(fd_);
}

FdOutputStream::Buffer::int_type FdOutputStream::Buffer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        pending_ += traits_type::to_char_type(c);
    }
    return traits_type::not_eof(c);
}

std::streamsize FdOutputStream::Buffer::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
}

int FdOutputStream::Buffer::sync() {
    std::size_t done = 0;
    while (done < pending_.size()) {
        const ssize_t written = ::write(fd_, pending_.data() + done, pending_.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            pending_.erase(0, done);
            return -1;
        }
        done += static_cast<std::size_t>(written);
    }
    pending_.clear();
    return 0;
}

}  // namespace varnok
