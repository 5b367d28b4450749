#pragma once

#include <string>

// Whether a library file is still as this program left it at an orderly close. Opening such a
// file needs no scan of every page for damage: only a crash while it was open, or a change by
// something else since, can have damaged it. The record is a small file beside the library,
// "<library>-closed", holding the file's identity (device, inode, size, times of its last change)
// right after the close; an open for writing takes it away until the next orderly close.
class CCloseRecord {
public:
    explicit CCloseRecord(const std::string& libraryPath);

    // True when the record holds the identity the file has now.
    bool Vouches() const;
    void Remove() const;
    // Records the file as it is now, just closed. Nothing is recorded while the file's last
    // change is as recent as the system's clock can tell apart: a change made in that same tick
    // would leave the same times behind.
    void Write() const;

private:
    std::string m_library;
    std::string m_record;
};
