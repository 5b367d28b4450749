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
    // The code page of old tags that say Latin-1: a name ("windows-1251"), "latin1" for none, or
    // empty to detect it folder by folder.
    virtual std::string LegacyCodePage() const { return {}; }
};
