#pragma once

#include <memory>
#include <string>

#include "engine/database.h"

class CDbTable;

// The open library file. Construction tries to open it; when that fails the object stays
// closed (IsOpen() is false) and nothing is raised. Other engine failures raise CEngineError.
class CDbHelper : public CDatabase {
public:
    CDbHelper(const std::string& path, bool exclusive, bool readOnly);

    const std::string& GetPath() const { return m_path; }
    bool IsExclusive() const { return m_exclusive; }
    bool IsReadOnly() const { return m_readOnly; }

    // True when the file has a table of that name (letter case ignored, system tables too).
    bool TableExists(const std::string& name);

    // A new table definition of that name, not yet appended; null when the table exists.
    std::unique_ptr<CDbTable> CreateTable(const std::string& name, long attributes);

    // Creates the table `table` describes. False when the engine refuses (the table exists,
    // the file is read-only, ...).
    bool AppendTable(CDbTable& table);

    // The schema version kept in table Version; 0 when the table or its row is missing.
    int GetVersion();

    // Writes the schema version; false when table Version does not exist.
    bool SetVersion(int version);

    // Makes sure table Version with field DBVersion exists (new: holding 0). Always true;
    // raises CEngineError when the table cannot be created.
    bool EnsureVersionTable();

protected:
    // The file the object now stands for (a library created under another name, say).
    void SetPath(const std::string& path) { m_path = path; }

private:
    std::string m_path;
    bool m_exclusive;
    bool m_readOnly;
};
