#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/daoconstants.h"
#include "engine/schema.h"
#include "engine/statement.h"

class CTableDef;

// One library file, open through SQLite. Failures raise CEngineError.
class CDatabase {
public:
    CDatabase() = default;
    virtual ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    // Opens the existing file at `path` and checks at once that it is an undamaged library
    // file that can be read. Read-only: nothing can be written, and a journal left by a crash
    // makes the open fail rather than change the file. Exclusive: the file stays locked for
    // as long as it is open (against writers only, when also read-only).
    void Open(const std::string& path, bool exclusive, bool readOnly);

    // Creates a new, empty library file at `path` and opens it for writing. Fails when a file
    // of that name exists or cannot be created. The locale and options are accepted for
    // compatibility; texts are always UTF-8.
    void Create(const std::string& path, const std::string& locale = dbLangGeneral, int options = 0);

    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    bool IsOpenReadOnly() const { return m_readOnly; }
    // True while a transaction is open (SQLite may end one itself, on a full disk say).
    bool InTransaction() const { return m_db != nullptr && sqlite3_get_autocommit(m_db) == 0; }

    // Runs one action statement of the program's dialect (DELETE, UPDATE, ...).
    void Execute(const std::string& sql, int options = dbFailOnError);

    // The number in the file's header that tells which program's file it is; 0 when unset.
    std::int32_t ApplicationId();
    void SetApplicationId(std::int32_t id);

    // The names of all tables in the file, system tables included, in creation order.
    std::vector<std::string> TableNames();

    // The table named `name` (letter case ignored). Raises CEngineError when there is none.
    const CTableSchema& Schema(const std::string& name);

    // Creates the table `table` describes, with its fields and indexes, all or nothing.
    void AppendTableDef(CTableDef& table);

    // The ID that the next row added to `table` will get: never one that the table has used,
    // even when that row was deleted since.
    std::int32_t NextAutoIncrement(const CTableSchema& table);

    // A prepared statement for `sql`, reused from one that was given back when possible
    // (preparing costs more than running a small statement); without bindings. Give it back
    // with ReturnStatement. `shownSql` is what its errors name (see CStatement). The pool is
    // emptied whenever the schema changes.
    std::unique_ptr<CStatement> TakeStatement(const std::string& sql, const std::string& shownSql);
    void ReturnStatement(std::unique_ptr<CStatement> statement);

    // Drops what the engine remembers of the schema; called after every change to it.
    void SchemaChanged();

    // A number for a new savepoint name, unique while the file is open.
    int NextSavepointNumber() { return ++m_savepoints; }

    sqlite3* Handle() const { return m_db; }

private:
    void Connect(const std::string& path, int flags);
    void Configure();
    void Run(const std::string& sql);
    void CheckIntegrity();
    CTableSchema LoadSchema(const std::string& storedName);

    sqlite3* m_db = nullptr;
    bool m_readOnly = false;
    int m_savepoints = 0;
    std::map<std::string, CTableSchema> m_schemas;              // by upper-case name
    std::vector<std::unique_ptr<CStatement>> m_idleStatements;  // oldest first
};
