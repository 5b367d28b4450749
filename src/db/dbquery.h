#pragma once

#include <optional>
#include <string>

#include "engine/recordset.h"

class CDbHelper;
class CDbTable;

// A forward cursor over a whole table (in the order of its first field) or over a statement.
// Rows are read while GetRecordset() is not null and not at its end, then Next(). Engine
// errors while opening or reading raise CEngineError.
class CDbQuery {
public:
    // All rows of an open table, as "SELECT * FROM <table> ORDER BY 1"; no recordset when the
    // table is closed.
    explicit CDbQuery(CDbTable& table);
    // The rows of `sql`; no recordset when the database is closed.
    CDbQuery(CDbHelper& db, const std::string& sql);
    ~CDbQuery();
    CDbQuery(const CDbQuery&) = delete;
    CDbQuery& operator=(const CDbQuery&) = delete;

    // The recordset, or null when there is none or it was closed.
    CRecordset* GetRecordset();

    // Null at the end; otherwise moves to the next row and returns the recordset.
    CRecordset* Next();

    // Moves to row `index`, clamped to the rows there are; false when there are none.
    bool MoveTo(long index);

    // The number of rows; counted on the first call (a count of the rows is a walk of the
    // result, so a query opened only to add a row never pays for it).
    long GetCount();

    void Close();

private:
    std::optional<CRecordset> m_recordset;
    std::optional<long> m_count;
};
