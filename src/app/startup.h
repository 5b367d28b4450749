#pragma once

#include <memory>

#include "db/librarydb.h"

class CMessageBox;
class CSettings;

// The library as start-up leaves it.
struct COpenedLibrary {
    std::unique_ptr<CLibraryDb> db;  // null when the settings name no library file
    bool readOnly = false;           // the file may not be changed, or Exclusive is set

    // True when the program can run on it.
    bool IsUsable() const { return db != nullptr && db->IsOpen(); }
};

// Opens (or creates) the library file that the settings name. An empty path is reported as
// "Error: Couldn't find directory at path \"\"". A file that this user may not change, or the
// Exclusive setting, opens it read-only; there is no second attempt with other flags.
COpenedLibrary OpenLibrary(const CSettings& settings, CMessageBox& messages);
