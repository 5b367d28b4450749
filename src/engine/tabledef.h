#pragma once

#include <string>
#include <vector>

#include "engine/schema.h"

class CDatabase;

// A table definition: either an existing table of the file, or a new one whose fields and
// indexes are collected until it is appended to the database.
class CTableDef {
public:
    CTableDef() = default;
    virtual ~CTableDef() = default;
    CTableDef(const CTableDef&) = delete;
    CTableDef& operator=(const CTableDef&) = delete;

    // Opens the existing table `name` (letter case ignored). Raises CEngineError when the
    // file has no such table.
    void Open(CDatabase& db, const std::string& name);

    // Starts a new table definition that CDatabase::AppendTableDef will create.
    void Create(CDatabase& db, const std::string& name, long attributes);

    void Close();
    bool IsOpen() const { return m_open; }
    bool IsAppended() const { return m_appended; }
    CDatabase* GetDatabase() const { return m_db; }

    // The table's name as the file stores it.
    const std::string& GetName() const { return m_name; }

    // The fields in order: the table's, or those collected for a new table. Valid until the
    // schema changes.
    const std::vector<CFieldInfo>& Fields() const;

    // Index names: "PrimaryKey" for the table's key, then the other indexes.
    std::vector<std::string> IndexNames() const;

    // Adds a field. On an existing table the column is added at once, filled with its
    // default. Raises CEngineError on failure.
    void CreateField(const CFieldInfo& field);

    // Adds an index. Raises CEngineError on failure.
    void CreateIndex(const CIndexInfo& index);

    // What a new definition has collected.
    const std::vector<CFieldInfo>& NewFields() const { return m_newFields; }
    const std::vector<CIndexInfo>& NewIndexes() const { return m_newIndexes; }

    // Called by the database once the new table exists.
    void MarkAppended();

private:
    CDatabase& Database() const;

    CDatabase* m_db = nullptr;
    std::string m_name;
    bool m_open = false;
    bool m_appended = false;
    std::vector<CFieldInfo> m_newFields;
    std::vector<CIndexInfo> m_newIndexes;
};
