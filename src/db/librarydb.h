#pragma once

#include <string>

#include "db/dbhelper.h"

class CMessageBox;

// The library database. Construction opens the file, or creates a new library when there is
// none, and brings its schema to SchemaVersion; IsOpen() tells the outcome. Failures are
// reported through `messages`.
class CLibraryDb : public CDbHelper {
public:
    static constexpr int SchemaVersion = 1;

    CLibraryDb(const std::string& path, bool exclusive, bool readOnly, CMessageBox& messages);

    // Opens or creates the library at the path of the settings and checks its version.
    // True when the library is open and at SchemaVersion.
    bool OpenOrCreate();

    // True when the library is at SchemaVersion, after creating what is missing if needed.
    bool CheckVersion();

    // Creates every table the file lacks (complete, with its indexes; Ratings seeded) and
    // sets the version to SchemaVersion. Does nothing at version 1 or later.
    void CreateSchema();

protected:
    CMessageBox& Messages() { return m_messages; }

private:
    bool CreateNewFile(const std::string& path);
    int ReadVersion();

    CMessageBox& m_messages;
};
