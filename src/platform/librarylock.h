#pragma once

#include <string>

#include "platform/filedescriptor.h"

// The advisory lock (flock, apart from SQLite's own locks) that every copy of the program holds
// on its library file while it has the library open: through it a copy learns whether another
// copy has the file open, before it makes the library anew or changes it.
class CLibraryLock {
public:
    CLibraryLock() = default;

    // Opens the file at `path` and shares its lock; false when the file cannot be opened.
    // `alone` tells whether no other copy had the file open.
    bool Share(const std::string& path, bool& alone);
    // Takes the lock for this copy alone; false, with the lock still shared, while another copy
    // holds it.
    bool TakeAlone();

private:
    CFileDescriptor m_fd;
};
