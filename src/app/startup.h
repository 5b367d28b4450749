#pragma once

#include <memory>
#include <optional>
#include <string>

#include "db/librarydb.h"
#include "platform/librarylock.h"

class CMessageBox;
class CSettings;

// The library as start-up leaves it.
struct COpenedLibrary {
    std::unique_ptr<CLibraryDb> db;  // null when the settings name no library file
    bool readOnly = false;           // the file may not be changed, Exclusive is set, or another copy has it
    CLibraryLock lock;               // held while the library is open

    // True when the program can run on it.
    bool IsUsable() const { return db != nullptr && db->IsOpen(); }
};

// The first run-time part the program cannot find: the tag library ("<soname> could not be
// found") or the tag worker beside the program; none when all are there. `tagWorker` is the
// worker's command.
std::optional<std::string> MissingRuntimePart(const std::string& tagLibrary, const std::string& tagWorker);

// The soname of the tag library the tag worker is built against.
inline constexpr const char* kTagLibrarySoname = "libtag.so.1";

// Opens (or creates) the library file that the settings name. An empty path is reported as
// "Error: Couldn't find directory at path \"\"". A file that this user may not change, or the
// Exclusive setting, opens it read-only; there is no second attempt with other flags. So does a
// library that another copy of the program has open, which the user is told.
COpenedLibrary OpenLibrary(const CSettings& settings, CMessageBox& messages);
