#pragma once

#include <unistd.h>

namespace platform {

// A file descriptor that is closed when it goes out of scope: on every way out of the code that opened
// it, an exception's included.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    // Closes it before the scope ends, where that is part of what the code does.
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

} // namespace platform
