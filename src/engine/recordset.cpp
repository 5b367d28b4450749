#include "engine/recordset.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include <fmt/format.h>

#include "engine/daoconstants.h"
#include "engine/database.h"
#include "engine/engineerror.h"
#include "engine/jetdialect.h"
#include "engine/schema.h"

namespace {

template <typename T>
T Clamp(std::int64_t value) {
    return static_cast<T>(
        std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

bool IsNumberField(int type) {
    return type == dbBoolean || type == dbByte || type == dbInteger || type == dbLong || type == dbDouble;
}

// Whether ReadColumn gives a column its bytes: a text field, or a computed column that holds a
// text (only then is its storage looked at).
bool ReadsAsText(sqlite3_stmt* statement, int column, int type) {
    if (type == dbText || type == dbMemo) {
        return true;
    }
    if (IsNumberField(type)) {
        return false;
    }
    const int storage = sqlite3_column_type(statement, column);
    return storage == SQLITE_TEXT || storage == SQLITE_BLOB;
}

// The column's bytes, valid until the statement moves on; empty for Null.
std::string_view ColumnBytes(sqlite3_stmt* statement, int column) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return bytes != nullptr ? std::string_view(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                            : std::string_view();
}

CVariant ReadColumn(sqlite3_stmt* statement, int column, int type) {
    const int storage = sqlite3_column_type(statement, column);
    if (storage == SQLITE_NULL) {
        return {};
    }
    if (ReadsAsText(statement, column, type)) {
        return CVariant(std::string(ColumnBytes(statement, column)));
    }
    const std::int64_t integer = sqlite3_column_int64(statement, column);
    switch (type) {
        case dbBoolean:
            return CVariant(static_cast<std::int16_t>(integer != 0 ? 1 : 0));
        case dbByte:
            return CVariant(Clamp<std::uint8_t>(integer));
        case dbInteger:
            return CVariant(Clamp<std::int16_t>(integer));
        case dbLong:
            return CVariant(Clamp<std::int32_t>(integer));
        case dbDouble:
            return CVariant(sqlite3_column_double(statement, column));
        default:  // a computed column holding a number: its value decides
            if (storage == SQLITE_INTEGER && integer == Clamp<std::int32_t>(integer)) {
                return CVariant(static_cast<std::int32_t>(integer));
            }
            return CVariant(sqlite3_column_double(statement, column));
    }
}

const char* const kNoCurrentRecord = "No current record.";

}  // namespace

CRecordset::CRecordset(CDatabase& db, int type, const std::string& sql, int options) : m_db(db), m_shownSql(sql) {
    if (!db.IsOpen()) {
        throw CEngineError("The database is not open.");
    }
    ParameterizedSql parameterized = Parameterize(sql);
    const CTranslatedSql& translated = db.Translated(parameterized.sql);
    const bool editable = type == dbOpenDynaset && (options & dbReadOnly) == 0 && translated.table;
    if (editable) {
        m_table = translated.table;
    }
    m_statement = db.TakeStatement(editable ? translated.editableSql : translated.sql, sql);
    m_baseSql = translated.sql;
    m_baseValues = std::move(parameterized.values);
    m_statement->BindAll(m_baseValues);
    m_columns = m_statement->Columns();
    m_fieldCount = static_cast<int>(m_columns->names.size()) - (editable ? 1 : 0);
}

CRecordset::~CRecordset() {
    Close();
}

void CRecordset::Close() {
    m_db.ReturnStatement(std::move(m_statement));
}

CStatement& CRecordset::Statement() {
    if (!m_statement) {
        throw CEngineError("The recordset is closed.");
    }
    return *m_statement;
}

void CRecordset::Fetch() {
    m_updated.clear();
    if (Statement().Step()) {
        ++m_position;
    } else {
        m_eof = true;
    }
}

void CRecordset::Rewind() {
    Statement().Rewind();
    m_started = true;
    m_eof = false;
    m_position = -1;
    Fetch();
}

void CRecordset::Start() {
    if (!m_started) {
        Rewind();
    }
}

bool CRecordset::IsBOF() {
    Start();
    return m_position < 0;
}

bool CRecordset::IsEOF() {
    Start();
    return m_eof;
}

void CRecordset::MoveFirst() {
    Rewind();
}

void CRecordset::MoveNext() {
    if (IsEOF()) {
        throw CEngineError(kNoCurrentRecord);
    }
    Fetch();
}

void CRecordset::Move(long rows) {
    Start();
    const long target = m_position + rows;
    if (target < m_position || m_eof) {
        Rewind();
    }
    while (!m_eof && m_position < target) {
        Fetch();
    }
}

void CRecordset::MoveLast() {
    const long count = GetRecordCount();
    MoveFirst();
    Move(count - 1);
}

long CRecordset::GetRecordCount() {
    Statement();
    CStatement count(m_db.Handle(), "SELECT COUNT(*) FROM (" + m_baseSql + ")", m_shownSql);
    count.BindAll(m_baseValues);
    const std::int64_t rows = count.Step() ? sqlite3_column_int64(count.Get(), 0) : 0;
    return Clamp<std::int32_t>(rows);
}

int CRecordset::ColumnIndex(const std::string& name) const {
    for (int i = 0; i < m_fieldCount; ++i) {
        if (SameName(m_columns->names[static_cast<std::size_t>(i)], name)) {
            return i;
        }
    }
    ThrowNoField(name);
}

std::optional<CVariant> CRecordset::PendingValue(const std::string& name) const {
    const auto& values = m_editMode != EditMode::None ? m_pending : m_updated;
    for (const auto& [field, value] : values) {
        if (SameName(field, name)) {
            return value;
        }
    }
    return std::nullopt;
}

CVariant CRecordset::GetFieldValue(const std::string& name) {
    Statement();
    if (std::optional<CVariant> pending = PendingValue(name)) {
        return *pending;
    }
    if (m_editMode == EditMode::Add) {
        if (EditableTable().Find(name) == nullptr) {
            ThrowNoField(name);
        }
        return {};  // a field not set since AddNew
    }
    const int column = ColumnIndex(name);
    if (IsEOF() || IsBOF()) {
        throw CEngineError(kNoCurrentRecord);
    }
    return ReadColumn(Statement().Get(), column, m_columns->types[static_cast<std::size_t>(column)]);
}

CVariant CRecordset::FieldAt(int index) {
    return ReadColumn(CurrentRow(), index, m_columns->types[static_cast<std::size_t>(index)]);
}

sqlite3_stmt* CRecordset::CurrentRow() {
    if (IsEOF() || IsBOF()) {
        throw CEngineError(kNoCurrentRecord);
    }
    return Statement().Get();
}

std::int32_t CRecordset::LongAt(int index) {
    if (m_columns->types[static_cast<std::size_t>(index)] != dbLong) {
        return FieldAt(index).AsLong();
    }
    // As ReadColumn reads a Long field (Null reads as 0).
    return Clamp<std::int32_t>(sqlite3_column_int64(CurrentRow(), index));
}

std::string_view CRecordset::TextAt(int index, std::string& scratch) {
    sqlite3_stmt* statement = CurrentRow();
    const int type = m_columns->types[static_cast<std::size_t>(index)];
    if (ReadsAsText(statement, index, type)) {
        return ColumnBytes(statement, index);
    }
    scratch = ReadColumn(statement, index, type).AsText();
    return scratch;
}

const CTableSchema& CRecordset::EditableTable() const {
    if (!m_table) {
        throw CEngineError("The recordset cannot be changed: it is read-only or not over one table.");
    }
    return m_db.Schema(*m_table);
}

void CRecordset::AddNew() {
    const CTableSchema& table = EditableTable();
    m_pending.clear();
    m_editMode = EditMode::Add;
    if (!table.autoIncrementField.empty()) {
        m_pending.emplace_back(table.autoIncrementField, CVariant(m_db.NextAutoIncrement(table)));
    }
}

void CRecordset::Edit() {
    EditableTable();
    if (IsEOF() || IsBOF()) {
        throw CEngineError(kNoCurrentRecord);
    }
    m_editRow = sqlite3_column_int64(Statement().Get(), GetFieldCount());
    m_pending = m_updated;
    m_editMode = EditMode::Edit;
}

void CRecordset::SetFieldValue(const std::string& name, const CVariant& value) {
    if (m_editMode == EditMode::None) {
        throw CEngineError("Update or CancelUpdate without AddNew or Edit.");
    }
    auto stored = EditableTable().WritableValue(name, value);
    const auto existing = std::find_if(m_pending.begin(), m_pending.end(),
                                       [&](const auto& entry) { return SameName(entry.first, stored.first); });
    if (existing != m_pending.end()) {
        existing->second = std::move(stored.second);
    } else {
        m_pending.push_back(std::move(stored));
    }
}

void CRecordset::WritePending() {
    if (m_editMode == EditMode::Add) {
        m_db.InsertValues(EditableTable(), m_pending);
        return;
    }
    std::string sql;
    for (const auto& entry : m_pending) {
        sql += (sql.empty() ? "" : ", ") + QuoteIdentifier(entry.first) + " = ?";
    }
    sql = "UPDATE " + QuoteIdentifier(EditableTable().name) + " SET " + sql + " WHERE _ROWID_ = ?";
    std::unique_ptr<CStatement> statement = m_db.TakeStatement(sql, sql);
    int index = 1;
    for (const auto& entry : m_pending) {
        statement->Bind(index++, entry.second);
    }
    sqlite3_bind_int64(statement->Get(), index, m_editRow);
    statement->Run();
    m_db.ReturnStatement(std::move(statement));
}

void CRecordset::Update() {
    if (m_editMode == EditMode::None) {
        throw CEngineError("Update or CancelUpdate without AddNew or Edit.");
    }
    if (m_editMode == EditMode::Add || !m_pending.empty()) {
        WritePending();
    }
    if (m_editMode == EditMode::Edit) {
        m_updated = std::move(m_pending);
    }
    m_pending.clear();
    m_editMode = EditMode::None;
}
