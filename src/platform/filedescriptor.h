#pragma once

#include <string_view>

// An open file descriptor, closed when the object goes.
class CFileDescriptor {
public:
    CFileDescriptor() = default;
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor() { Close(); }
    CFileDescriptor(CFileDescriptor&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    CFileDescriptor& operator=(CFileDescriptor&& other) noexcept;
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }

    // Closes the descriptor now; false when there was none or close reports an error (a write
    // that did not reach the file, say).
    bool Close();

private:
    int m_fd = -1;
};

// Makes a write to a pipe whose reader is gone (a tag worker that died, say) fail with EPIPE
// instead of ending the process. Called once at start-up.
void IgnoreBrokenPipes();

// Writes all of `bytes` to `fd`, going on after interruptions by signals; false on failure.
bool WriteAll(int fd, std::string_view bytes);
