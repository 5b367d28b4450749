#include "platform/filedescriptor.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

CFileDescriptor& CFileDescriptor::operator=(CFileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

bool CFileDescriptor::Close() {
    if (m_fd < 0) {
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
}

void IgnoreBrokenPipes() {
    signal(SIGPIPE, SIG_IGN);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}
