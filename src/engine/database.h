#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/daoconstants.h"
#include "engine/schema.h"
#include "engine/statement.h"

class CTableDef;

// A statement of the program's dialect, its values already taken out as parameters (see
// Parameterize), as SQLite runs it.
struct CTranslatedSql {
    std::string sql;                   // in SQLite's dialect (TranslateJetSql)
    std::optional<std::string> table;  // the table of a select over one table (SingleTableOf)
    std::string editableSql;           // for such a select: sql with the row ID as the last column
};

// One library file, open through SQLite. Failures raise CEngineError.
class CDatabase {
public:
    CDatabase() = default;
    virtual ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    // Opens the existing file at `path` and checks at once that it is an undamaged library
    // file that can be read: every page is checked unless the file is as an orderly close left
    // it (see CCloseRecord). Read-only: nothing can be written, and a journal left by a crash
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

    // Switches the file between a rollback journal ("delete": its usual form, one file when
    // closed) and a write-ahead log ("wal": a commit then costs one sync instead of four).
    // False when the engine refuses, inside a transaction or with another reader, say.
    bool SetJournalMode(const std::string& mode);
    // A page cache of 32 MB (for many index lookups) or of 2 MB (browsing).
    void SetLargeCache(bool large);
    // SQLite's synchronous level (1 NORMAL: with a write-ahead log a commit waits for no sync,
    // only the log's checkpoints do; 2 FULL: each commit waits for the disk). Gives the level
    // it replaces. A hint: never fails.
    int SetSynchronous(int level);
    // Copies what the write-ahead log holds into the file, waiting for the disk before and after
    // (a checkpoint), as far as no reader holds it back. A hint: never fails.
    void Checkpoint();

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

    using FieldValues = std::vector<std::pair<std::string, CVariant>>;
    // Adds a row to the table named `table` with `fields` set (see CTableSchema::WritableValue)
    // and returns the ID its autoincrement field got, as NextAutoIncrement would have given
    // it; 0 for a table without one. No cursor is opened.
    std::int32_t AddRow(const std::string& table, const FieldValues& fields);
    // Inserts a row of `table` with the values as they are; its row ID.
    std::int64_t InsertValues(const CTableSchema& table, const FieldValues& values);

    // A prepared statement for `sql`, reused from one that was given back when possible
    // (preparing costs more than running a small statement); without bindings. Give it back
    // with ReturnStatement. `shownSql` is what its errors name (see CStatement). The pool is
    // emptied whenever the schema changes.
    std::unique_ptr<CStatement> TakeStatement(const std::string& sql, const std::string& shownSql);
    void ReturnStatement(std::unique_ptr<CStatement> statement);

    // The translation of `parameterizedSql`, worked out once: the program runs a few hundred
    // statement texts, each with many values. Valid until the next call.
    const CTranslatedSql& Translated(const std::string& parameterizedSql);

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
    std::string m_path;
    bool m_readOnly = false;
    int m_savepoints = 0;
    std::map<std::string, CTableSchema> m_schemas;              // by upper-case name
    std::vector<std::unique_ptr<CStatement>> m_idleStatements;  // oldest first
    std::unordered_map<std::string, CTranslatedSql> m_translations;
};
