#pragma once

#include <string>

// What the library reads of the program's settings. Each call reads the value afresh.
class CLibrarySettings {
public:
    virtual ~CLibrarySettings() = default;

    // The path of the library file; empty when none is set.
    virtual std::string GetDatabasePath() const = 0;
    // Folders with no more songs than this are asked about at import.
    virtual int GetMinSongAskThreshold() const = 0;
    // A new song takes the rating and play count other players wrote into its file.
    virtual bool ReadRatingsFromTags() const { return true; }
};
