#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace varnok {

// An output stream over an open file descriptor, which it owns and closes. What is written
// collects in memory and goes out with each flush.
class FdOutputStream : public std::ostream {
public:
    explicit FdOutputStream(int fd);
    ~FdOutputStream() override;
    FdOutputStream(const FdOutputStream&) = delete;
    FdOutputStream& operator=(const FdOutputStream&) = delete;

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(int fd) : fd_(fd) {}
        ~Buffer() override;

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

    private:
        int fd_;
        std::string pending_;
    };

    Buffer buffer_;
};

}  // namespace varnok
