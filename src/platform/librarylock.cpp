#include "platform/librarylock.h"

#include <fcntl.h>
#include <sys/file.h>

bool CLibraryLock::Share(const std::string& path, bool& alone) {
    m_fd = CFileDescriptor(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!m_fd.IsOpen()) {
        return false;
    }
    // Alone when the lock can be held exclusively for a moment; shared from then on.
    alone = flock(m_fd.Get(), LOCK_EX | LOCK_NB) == 0;
    flock(m_fd.Get(), LOCK_SH | LOCK_NB);
    return true;
}

bool CLibraryLock::TakeAlone() {
    if (!m_fd.IsOpen()) {
        return true;  // nothing held: this copy opened no library file
    }
    if (flock(m_fd.Get(), LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    flock(m_fd.Get(), LOCK_SH | LOCK_NB);  // a failed conversion may have let the shared lock go
    return false;
}
