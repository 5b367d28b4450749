#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/variant.h"

// The columns of a statement's result: their names and field types (DaoTypeOf).
struct CResultColumns {
    std::vector<std::string> names;
    std::vector<int> types;
};

// One prepared SQLite statement. The text must hold exactly one statement; every failure
// raises CEngineError with SQLite's message and the statement.
class CStatement {
public:
    // `shownSql`, when given, is the text errors name instead of `sql` (the statement as the
    // program wrote it, before its values became parameters).
    CStatement(sqlite3* db, std::string_view sql, std::string_view shownSql = {});
    ~CStatement();
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;

    // Advances to the next row: true when there is one, false when the statement is done.
    bool Step();

    // Rewinds to before the first row and clears the bindings.
    void Reset();
    // Rewinds to before the first row, keeping the bindings.
    void Rewind() { sqlite3_reset(m_stmt); }
    // Binds values to ?1, ?2, ...
    void BindAll(const std::vector<CVariant>& values);

    // Runs the statement to its end, ignoring any rows.
    void Run();

    void Bind(int index, const CVariant& value);

    int ColumnCount() const { return sqlite3_column_count(m_stmt); }
    // Read once: a reused statement keeps them.
    std::shared_ptr<const CResultColumns> Columns();
    sqlite3_stmt* Get() const { return m_stmt; }
    // The connection the statement was prepared on.
    sqlite3* Connection() const { return m_db; }
    const std::string& Sql() const { return m_sql; }
    void SetShownSql(std::string_view shownSql) { m_shownSql = shownSql; }

private:
    [[noreturn]] void Fail(int code) const;

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    std::string m_sql;
    std::string m_shownSql;
    std::shared_ptr<const CResultColumns> m_columns;
};

// Raises CEngineError for the SQLite result `code` on `db`, naming `sql` when it is not empty.
[[noreturn]] void ThrowSqliteError(sqlite3* db, int code, std::string_view sql);
