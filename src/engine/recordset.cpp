#include "engine/recordset.h"

#include <algorithm>
#include <limits>

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

CVariant ReadColumn(sqlite3_stmt* statement, int column, int type) {
    const int storage = sqlite3_column_type(statement, column);
    if (storage == SQLITE_NULL) {
        return {};
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
        case dbText:
        case dbMemo:
            break;
        default:  // a computed column: its value decides
            if (storage == SQLITE_INTEGER && integer == Clamp<std::int32_t>(integer)) {
                return CVariant(static_cast<std::int32_t>(integer));
            }
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
                return CVariant(sqlite3_column_double(statement, column));
            }
    }
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    const auto length = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
    return CVariant(std::string(bytes != nullptr ? bytes : "", length));
}

// The value as the field stores it: booleans as 0 or 1, numbers in the field's range.
CVariant StoredValue(const CVariant& value, int type) {
    if (value.IsNull()) {
        return value;
    }
    switch (type) {
        case dbBoolean:
            return CVariant(static_cast<std::int32_t>(value.AsDouble() != 0.0 ? 1 : 0));
        case dbByte:
            return CVariant(value.AsByte());
        case dbInteger:
            return CVariant(value.AsShort());
        case dbLong:
            return CVariant(value.AsLong());
        case dbDouble:
            return CVariant(value.AsDouble());
        default:
            return CVariant(value.AsText());
    }
}

const char* const kNoCurrentRecord = "No current record.";

[[noreturn]] void ThrowNoField(const std::string& name) {
    throw CEngineError(fmt::format("Item not found in this collection: there is no field '{}'.", name));
}

}  // namespace

CRecordset::CRecordset(CDatabase& db, int type, const std::string& sql, int options) : m_db(db) {
    if (!db.IsOpen()) {
        throw CEngineError("The database is not open.");
    }
    const std::string translated = TranslateJetSql(sql);
    m_sql = translated;
    const auto single = SingleTableOf(translated);
    if (type == dbOpenDynaset && (options & dbReadOnly) == 0 && single) {
        // The row ID goes last, so that "ORDER BY 1" still means the first field.
        m_table = single->table;
        m_sql = translated.substr(0, single->fromPosition) + ", _ROWID_ " + translated.substr(single->fromPosition);
    }
    const ParameterizedSql cursor = Parameterize(m_sql);
    m_statement = db.TakeStatement(cursor.sql, sql);
    m_statement->BindAll(cursor.values);
    sqlite3_stmt* statement = m_statement->Get();
    const int fieldCount = sqlite3_column_count(statement) - (m_table ? 1 : 0);
    for (int column = 0; column < fieldCount; ++column) {
        m_names.emplace_back(sqlite3_column_name(statement, column));
        m_types.push_back(DaoTypeOf(sqlite3_column_decltype(statement, column)));
    }
    m_baseSql = translated;
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
    const ParameterizedSql base = Parameterize(m_baseSql);
    CStatement count(m_db.Handle(), "SELECT COUNT(*) FROM (" + base.sql + ")", m_baseSql);
    count.BindAll(base.values);
    const std::int64_t rows = count.Step() ? sqlite3_column_int64(count.Get(), 0) : 0;
    return Clamp<std::int32_t>(rows);
}

int CRecordset::ColumnIndex(const std::string& name) const {
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (SameName(m_names[i], name)) {
            return static_cast<int>(i);
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
    return ReadColumn(Statement().Get(), column, m_types[static_cast<std::size_t>(column)]);
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
    const CTableSchema& table = EditableTable();
    const CFieldInfo* field = table.Find(name);
    if (field == nullptr) {
        ThrowNoField(name);
    }
    if (SameName(field->name, table.autoIncrementField)) {
        throw CEngineError(fmt::format("Field '{}' cannot be updated.", field->name));
    }
    const CVariant stored = StoredValue(value, field->type);
    const auto existing = std::find_if(m_pending.begin(), m_pending.end(),
                                       [&](const auto& entry) { return SameName(entry.first, field->name); });
    if (existing != m_pending.end()) {
        existing->second = stored;
    } else {
        m_pending.emplace_back(field->name, stored);
    }
}

void CRecordset::WritePending() {
    const std::string table = QuoteIdentifier(EditableTable().name);
    std::string sql;
    if (m_editMode == EditMode::Add) {
        std::string names;
        std::string places;
        for (const auto& entry : m_pending) {
            names += (names.empty() ? "" : ", ") + QuoteIdentifier(entry.first);
            places += places.empty() ? "?" : ", ?";
        }
        sql = m_pending.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                                : "INSERT INTO " + table + " (" + names + ") VALUES (" + places + ")";
    } else {
        for (const auto& entry : m_pending) {
            sql += (sql.empty() ? "" : ", ") + QuoteIdentifier(entry.first) + " = ?";
        }
        sql = "UPDATE " + table + " SET " + sql + " WHERE _ROWID_ = ?";
    }
    std::unique_ptr<CStatement> statement = m_db.TakeStatement(sql, sql);
    int index = 1;
    for (const auto& entry : m_pending) {
        statement->Bind(index++, entry.second);
    }
    if (m_editMode == EditMode::Edit) {
        sqlite3_bind_int64(statement->Get(), index, m_editRow);
    }
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
