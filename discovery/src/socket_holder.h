// Closes a socket when its holder goes, on every return path.
#pragma once

#include <unistd.h>

namespace zelk {

class SocketHolder {
public:
    explicit SocketHolder(int fd = -1) : fd_(fd) {}
    ~SocketHolder() { close(); }
    SocketHolder(const SocketHolder&) = delete;
    SocketHolder& operator=(const SocketHolder&) = delete;

    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }

    // Hands the socket on; the holder no longer closes it.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    // What close returned; 0 when nothing was open.
    int close() {
        if (fd_ < 0) return 0;
        return ::close(release());
    }

private:
    int fd_;
};

}  // namespace zelk
