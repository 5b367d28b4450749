#include "engine/statement.h"

#include <cctype>
#include <cerrno>

#include <fmt/format.h>

#include "engine/engineerror.h"
#include "engine/schema.h"
#include "platform/usertext.h"

namespace {

// What a failure means to the user, in plain words, for the failures a user can do something
// about; "" for the others. `systemError` is the system's error number behind it, when known.
const char* PlainDescription(int code, int systemError) {
    const bool full = systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
    switch (full ? SQLITE_FULL : code & 0xFF) {
        case SQLITE_FULL:
            return CUserText::tr("The library could not be written: the disk is full.");
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return CUserText::tr("The library could not be written: it is read-only.");
        case SQLITE_IOERR:
            return CUserText::tr("The library could not be read or written: the disk reported an error.");
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return CUserText::tr("The library file is damaged.");
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return CUserText::tr("The library is in use by another program.");
        case SQLITE_CANTOPEN:
            return CUserText::tr("The library file could not be opened.");
        case SQLITE_NOMEM:
            return CUserText::tr("There is not enough memory.");
        default:
            return "";
    }
}

}  // namespace

void ThrowSqliteError(sqlite3* db, int code, std::string_view sql) {
    const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    // The plain description first, then the engine's own words and the statement, for a report.
    std::string description = PlainDescription(code, db != nullptr ? sqlite3_system_errno(db) : 0);
    description += description.empty() ? message : fmt::format("\n({})", message);
    if (sql.empty()) {
        throw CEngineError(description, code);
    }
    throw CEngineError(fmt::format("{} (in the statement: {})", description, sql), code);
}

CStatement::CStatement(sqlite3* db, std::string_view sql, std::string_view shownSql)
    : m_db(db), m_sql(sql), m_shownSql(shownSql.empty() ? sql : shownSql) {
    const char* tail = nullptr;
    const int code = sqlite3_prepare_v2(db, m_sql.data(), static_cast<int>(m_sql.size()), &m_stmt, &tail);
    if (code != SQLITE_OK) {
        Fail(code);
    }
    const char* end = m_sql.data() + m_sql.size();
    for (; tail != nullptr && tail < end; ++tail) {
        if (*tail != ';' && std::isspace(static_cast<unsigned char>(*tail)) == 0) {
            sqlite3_finalize(m_stmt);
            throw CEngineError(fmt::format("Only one statement can run at a time (in: {})", m_shownSql));
        }
    }
    if (m_stmt == nullptr) {
        throw CEngineError(fmt::format("The statement is empty (in: {})", m_shownSql));
    }
}

CStatement::~CStatement() {
    sqlite3_finalize(m_stmt);
}

void CStatement::Fail(int code) const {
    ThrowSqliteError(m_db, code, m_shownSql);
}

bool CStatement::Step() {
    const int code = sqlite3_step(m_stmt);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    sqlite3_reset(m_stmt);
    Fail(code);
}

void CStatement::Reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

std::shared_ptr<const CResultColumns> CStatement::Columns() {
    if (!m_columns) {
        auto columns = std::make_shared<CResultColumns>();
        for (int column = 0; column < ColumnCount(); ++column) {
            columns->names.emplace_back(sqlite3_column_name(m_stmt, column));
            columns->types.push_back(DaoTypeOf(sqlite3_column_decltype(m_stmt, column)));
        }
        m_columns = std::move(columns);
    }
    return m_columns;
}

void CStatement::Run() {
    while (Step()) {
    }
}

void CStatement::Bind(int index, const CVariant& value) {
    int code = SQLITE_OK;
    if (value.IsNull()) {
        code = sqlite3_bind_null(m_stmt, index);
    } else if (value.IsInteger()) {
        code = sqlite3_bind_int64(m_stmt, index, value.Integer());
    } else if (value.GetType() == CVariant::Type::Double) {
        code = sqlite3_bind_double(m_stmt, index, value.AsDouble());
    } else {
        const std::string text = value.AsText();
        code = sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    if (code != SQLITE_OK) {
        Fail(code);
    }
}

void CStatement::BindAll(const std::vector<CVariant>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        Bind(static_cast<int>(i + 1), values[i]);
    }
}
