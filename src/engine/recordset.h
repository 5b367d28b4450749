#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/statement.h"
#include "engine/variant.h"

class CDatabase;
struct CTableSchema;

// A cursor over the result of one SELECT statement of the program's dialect. The first row
// is current after opening (it is fetched on first use, so opening costs no table walk).
// Results over a single table can be edited (dynaset without dbReadOnly): AddNew or Edit, set
// fields, Update. Every failure raises CEngineError.
class CRecordset {
public:
    CRecordset(CDatabase& db, int type, const std::string& sql, int options);
    ~CRecordset();
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;

    void Close();
    bool IsOpen() const { return m_statement != nullptr; }

    // Both are true on an empty result.
    bool IsBOF();
    bool IsEOF();

    void MoveFirst();
    void MoveNext();
    void MoveLast();
    // Moves `rows` rows from the current one (backwards when negative).
    void Move(long rows);

    // The number of rows in the result (a counting query; the cursor does not move).
    long GetRecordCount();

    // Starts a new row. An autoincrement field already holds the ID the row will get.
    void AddNew();
    // Starts changing the current row.
    void Edit();
    // Writes the new or changed row. Booleans are stored as 0 or 1.
    void Update();

    // The value of field `name` (letter case ignored) of the current row, typed by the
    // field's schema type; Null for a Null field.
    CVariant GetFieldValue(const std::string& name);
    void SetFieldValue(const std::string& name, const CVariant& value);
    // For reading many rows: the position of field `name`, looked up once, and the value at that
    // position of the current row as GetFieldValue gives it (of a row that is not being changed).
    int FieldIndex(const std::string& name) const { return ColumnIndex(name); }
    CVariant FieldAt(int index);
    // FieldAt(index).AsLong() and AsText(), without a value in between for the common kinds of
    // field. A text is SQLite's own bytes, valid until the cursor moves, or kept in `scratch`.
    std::int32_t LongAt(int index);
    std::string_view TextAt(int index, std::string& scratch);

    int GetFieldCount() const { return m_fieldCount; }
    const std::string& GetFieldName(int index) const { return m_columns->names[static_cast<std::size_t>(index)]; }

private:
    enum class EditMode { None, Add, Edit };

    CStatement& Statement();
    // The statement at the current row; raises "No current record." when there is none.
    sqlite3_stmt* CurrentRow();
    void Start();
    void Fetch();
    void Rewind();
    int ColumnIndex(const std::string& name) const;
    const CTableSchema& EditableTable() const;
    std::optional<CVariant> PendingValue(const std::string& name) const;
    void WritePending();

    CDatabase& m_db;
    std::string m_shownSql;              // as the program wrote it: errors name it
    std::string m_baseSql;               // in SQLite's dialect, its values taken out
    std::vector<CVariant> m_baseValues;  // and bound to it
    std::unique_ptr<CStatement> m_statement;
    std::optional<std::string> m_table;  // the table behind an editable result
    std::shared_ptr<const CResultColumns> m_columns;
    int m_fieldCount = 0;  // the columns but the row ID of an editable result
    bool m_started = false;
    bool m_eof = false;
    long m_position = -1;
    EditMode m_editMode = EditMode::None;
    std::int64_t m_editRow = 0;
    std::vector<std::pair<std::string, CVariant>> m_pending;  // field values of AddNew or Edit
    std::vector<std::pair<std::string, CVariant>> m_updated;  // what Update wrote to this row
};
