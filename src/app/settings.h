#pragma once

#include <string>

#include "db/librarysettings.h"
#include "platform/inifile.h"

// The working directory at start-up followed by "/". Fixed for the life of the process once
// InitProgramDirectory has run; empty before.
const std::string& ProgramDirectory();

// Captures the current working directory as ProgramDirectory. Called once at start-up (tests
// call it again after changing into a temporary folder).
void InitProgramDirectory();

// The program's settings file "Cadenzo.ini" in ProgramDirectory. Cheap to construct; every
// construction writes the defaults of missing keys, and every accessor reads the file afresh.
class CSettings : public CIniFile, public CLibrarySettings {
public:
    CSettings();

    std::string GetPlayerPath() const;
    std::string GetEnqueueFlag() const;  // the value with one blank before and one after
    std::string GetDatabasePath() const override;
    bool IsExclusive() const;
    bool UseNetworkTranslation() const;
    std::string GetTranslationFrom() const;
    std::string GetTranslationTo() const;
    std::string GetTextEditor() const;
    int GetUnratedAsRating() const;
    int GetMinSongAskThreshold() const override;
    bool IgnoreSplash() const;
    // [Settings] Read Ratings From Tags, 1 when absent (never written by the program).
    bool ReadRatingsFromTags() const override;
    std::string LegacyCodePage() const override;
    // A song's rating and play count are written into its file when they change (off unless set:
    // the user's files are never touched unasked).
    bool SaveRatingsInTags() const;
    // Where the main window was at the last exit ([Window] Place, written at exit only); "" for
    // none yet.
    std::string GetWindowPlace() const;
    void SetWindowPlace(const std::string& place);
    // Where the line between the tree and the grid is; empty when never saved.
    std::string GetSplitterPlace() const;
    void SetSplitterPlace(const std::string& place);
    const std::string& GetIniPath() const { return GetPath(); }

private:
    void WriteDefaults();
    std::string Read(const char* key, const char* section) const;
    int ReadNumber(const char* key, const char* section) const;
};
