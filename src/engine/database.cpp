#include "engine/database.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <limits>

#include <fmt/format.h>

#include "engine/closerecord.h"
#include "engine/collation.h"
#include "engine/engineerror.h"
#include "engine/jetdialect.h"
#include "engine/tabledef.h"
#include "engine/transaction.h"
#include "platform/usertext.h"

namespace {

int CompareIgnoringCaseCallback(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return CompareIgnoringCase(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                               std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

std::string_view TextArgument(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text != nullptr ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)))
                           : std::string_view();
}

void SearchMatchesCallback(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    const std::string_view word = TextArgument(arguments[1]);
    sqlite3_result_int(context, SearchFolded(TextArgument(arguments[0])).find(word) != std::string::npos ? 1 : 0);
}

std::string UpperKey(const std::string& name) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
}

std::string FirstWord(const std::string& statement) {
    const std::size_t begin = std::min(statement.find_first_not_of(" \t\r\n"), statement.size());
    const std::size_t end = std::min(statement.find_first_of(" \t\r\n", begin), statement.size());
    return UpperKey(statement.substr(begin, end - begin));
}

}  // namespace

CDatabase::~CDatabase() {
    Close();
}

void CDatabase::Connect(const std::string& path, int flags) {
    Close();
    sqlite3* db = nullptr;
    // A connection is used by one thread at a time: SQLite need not lock on every call.
    const int code = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = fmt::format(fmt::runtime(CUserText::tr("Could not open '{}': {}")), path,
                                                db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code));
        sqlite3_close(db);
        throw CEngineError(message, code);
    }
    m_db = db;
    m_readOnly = (flags & SQLITE_OPEN_READONLY) != 0;
    try {
        Configure();
    } catch (...) {
        Close();
        throw;
    }
}

void CDatabase::Configure() {
    sqlite3_extended_result_codes(m_db, 1);
    // A double-quoted name is always a name: a misspelt field must fail, never become a text.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    const int collation = sqlite3_create_collation_v2(m_db, kIgnoreCaseCollation, SQLITE_UTF8, nullptr,
                                                      CompareIgnoringCaseCallback, nullptr);
    if (collation != SQLITE_OK) {
        ThrowSqliteError(m_db, collation, "");
    }
    const int search = sqlite3_create_function_v2(m_db, kSearchMatchesFunction, 2,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY, nullptr,
                                                  SearchMatchesCallback, nullptr, nullptr, nullptr);
    if (search != SQLITE_OK) {
        ThrowSqliteError(m_db, search, "");
    }
    // A library file is data, not code: no change of the schema by statements that look like
    // data, and no function of ours called from a trigger or view of the file.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    Run("PRAGMA trusted_schema=OFF");
    SetLargeCache(false);
    // Temporary data in memory: an import's savepoint of each folder (inside the savepoint
    // of its batch) keeps the pages it changes, megabytes that SQLite would otherwise write to
    // a temporary file.
    Run("PRAGMA temp_store = MEMORY");
}

void CDatabase::Open(const std::string& path, bool exclusive, bool readOnly) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("Could not find the file '{}'.")), path));
    }
    if (info.st_size == 0) {
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("'{}' is empty: it is not a library file.")), path));
    }
    const CCloseRecord closed(path);
    const bool vouched = closed.Vouches();
    if (!readOnly) {
        closed.Remove();  // until the next orderly close
    }
    Connect(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    m_path = path;
    try {
        if (exclusive) {
            Run("PRAGMA locking_mode=EXCLUSIVE");
        }
        // The first read; in exclusive mode it also takes the lock for good.
        if (vouched) {
            Run("SELECT count(*) FROM sqlite_schema");
        } else {
            CheckIntegrity();
        }
        if (exclusive && !readOnly) {
            Run("BEGIN EXCLUSIVE");
            Run("COMMIT");
        }
    } catch (...) {
        Close();
        throw;
    }
}

void CDatabase::CheckIntegrity() {
    CStatement check(m_db, "PRAGMA quick_check(1)");
    if (!check.Step()) {
        throw CEngineError(CUserText::tr("The library file could not be checked."));
    }
    const auto* result = reinterpret_cast<const char*>(sqlite3_column_text(check.Get(), 0));
    const std::string verdict = result != nullptr ? result : "";
    if (verdict != "ok") {
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("The library file is damaged: {}")), verdict),
                           SQLITE_CORRUPT);
    }
}

void CDatabase::Create(const std::string& path, const std::string& /*locale*/, int /*options*/) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("Could not create '{}': the file exists.")), path));
    }
    Connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    m_path = path;
}

void CDatabase::Close() {
    SchemaChanged();
    if (m_db != nullptr) {
        // A connection that still has statements is closed when they end: it is not recorded.
        const bool closed = sqlite3_close(m_db) == SQLITE_OK;
        if (!closed) {
            sqlite3_close_v2(m_db);
        }
        m_db = nullptr;
        if (closed && !m_readOnly) {
            CCloseRecord(m_path).Write();
        }
    }
    m_readOnly = false;
}

void CDatabase::Run(const std::string& sql) {
    CStatement(m_db, sql).Run();
}

void CDatabase::Execute(const std::string& sql, int /*options*/) {
    if (m_db == nullptr) {
        throw CEngineError("The database is not open.");
    }
    const std::string verb = FirstWord(sql);
    if (verb != "UPDATE" && verb != "DELETE" && verb != "INSERT") {
        Run(TranslateJetSql(sql));
        if (verb == "CREATE" || verb == "DROP" || verb == "ALTER") {
            SchemaChanged();
        }
        return;
    }
    // Changes of rows reuse one prepared statement for every value.
    const ParameterizedSql change = Parameterize(sql);
    std::unique_ptr<CStatement> prepared = TakeStatement(Translated(change.sql).sql, sql);
    prepared->BindAll(change.values);
    prepared->Run();
    ReturnStatement(std::move(prepared));
}

void CDatabase::SetLargeCache(bool large) {
    // Browsing reads each view's rows once; a write that looks up many rows by their indexes (an
    // import) finds them in memory.
    // A hint: never fails, so that it may run in a destructor.
    sqlite3_exec(m_db, large ? "PRAGMA cache_size = -32768" : "PRAGMA cache_size = -2048", nullptr, nullptr, nullptr);
}

int CDatabase::SetSynchronous(int level) {
    int before = 2;  // FULL, SQLite's own, should the level not be read: restoring it is then safe
    sqlite3_exec(
        m_db, "PRAGMA synchronous",
        [](void* found, int, char** values, char**) {
            if (values[0] != nullptr) {
                *static_cast<int*>(found) = std::atoi(values[0]);
            }
            return 0;
        },
        &before, nullptr);
    sqlite3_exec(m_db, fmt::format("PRAGMA synchronous = {}", level).c_str(), nullptr, nullptr, nullptr);
    return before;
}

void CDatabase::Checkpoint() {
    sqlite3_wal_checkpoint_v2(m_db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

bool CDatabase::SetJournalMode(const std::string& mode) {
    try {
        CStatement change(m_db, "PRAGMA journal_mode = " + mode);
        const auto* result =
            change.Step() ? reinterpret_cast<const char*>(sqlite3_column_text(change.Get(), 0)) : nullptr;
        return result != nullptr && SameName(result, mode);
    } catch (const CEngineError&) {
        return false;
    }
}

std::int32_t CDatabase::ApplicationId() {
    CStatement query(m_db, "PRAGMA application_id");
    return query.Step() ? sqlite3_column_int(query.Get(), 0) : 0;
}

void CDatabase::SetApplicationId(std::int32_t id) {
    Run(fmt::format("PRAGMA application_id = {}", id));
}

std::vector<std::string> CDatabase::TableNames() {
    CStatement query(m_db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
    std::vector<std::string> names;
    while (query.Step()) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query.Get(), 0)));
    }
    return names;
}

const CTableSchema& CDatabase::Schema(const std::string& name) {
    const std::string key = UpperKey(name);
    const auto known = m_schemas.find(key);
    if (known != m_schemas.end()) {
        return known->second;
    }
    CStatement find(m_db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    find.Bind(1, CVariant(name));
    if (!find.Step()) {
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("The table '{}' does not exist.")), name));
    }
    const std::string stored = reinterpret_cast<const char*>(sqlite3_column_text(find.Get(), 0));
    return m_schemas.emplace(key, LoadSchema(stored)).first->second;
}

CTableSchema CDatabase::LoadSchema(const std::string& storedName) {
    CTableSchema table;
    table.name = storedName;
    CStatement columns(m_db, fmt::format("PRAGMA table_info({})", QuoteIdentifier(storedName)));
    while (columns.Step()) {
        CFieldInfo field;
        field.name = reinterpret_cast<const char*>(sqlite3_column_text(columns.Get(), 1));
        const char* declared = nullptr;
        const char* collation = nullptr;
        int notNull = 0;
        int primary = 0;
        int autoIncrement = 0;
        const int code = sqlite3_table_column_metadata(m_db, "main", storedName.c_str(), field.name.c_str(), &declared,
                                                       &collation, &notNull, &primary, &autoIncrement);
        if (code != SQLITE_OK) {
            ThrowSqliteError(m_db, code, "");
        }
        field.type = DaoTypeOf(declared != nullptr ? declared : "", &field.size);
        const bool text = field.type == dbText || field.type == dbMemo;
        field.allowZeroLength = text;
        field.attributes = dbUpdatableField | (text ? 0 : dbFixedField) | (autoIncrement != 0 ? dbAutoIncrField : 0) |
                           (text && SameName(collation, "BINARY") ? dbExactTextField : 0);
        if (sqlite3_column_type(columns.Get(), 4) != SQLITE_NULL) {
            field.defaultValue = reinterpret_cast<const char*>(sqlite3_column_text(columns.Get(), 4));
        }
        if (autoIncrement != 0) {
            table.autoIncrementField = field.name;
        }
        table.hasPrimaryKey = table.hasPrimaryKey || primary != 0;
        table.fields.push_back(std::move(field));
    }
    return table;
}

void CDatabase::AppendTableDef(CTableDef& table) {
    std::vector<std::string> columns;
    std::vector<std::string> indexes;
    std::string autoIncrement;
    for (const CFieldInfo& field : table.NewFields()) {
        columns.push_back(ColumnDefinition(field));
        if ((field.attributes & dbAutoIncrField) != 0) {
            autoIncrement = field.name;
        }
    }
    const std::string name = QuoteIdentifier(table.GetName());
    for (const CIndexInfo& index : table.NewIndexes()) {
        if (index.primary && SameName(index.field, autoIncrement)) {
            continue;  // the autoincrement field is the table's key already
        }
        if (index.primary && autoIncrement.empty()) {
            columns.push_back(fmt::format("CONSTRAINT \"PrimaryKey\" PRIMARY KEY ({})", QuoteIdentifier(index.field)));
            autoIncrement = index.field;  // at most one key
            continue;
        }
        indexes.push_back(fmt::format("CREATE {}INDEX {} ON {} ({})", index.unique || index.primary ? "UNIQUE " : "",
                                      QuoteIdentifier(table.GetName() + "_" + index.name), name,
                                      QuoteIdentifier(index.field)));
    }
    std::string create = "CREATE TABLE " + name + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        create += (i == 0 ? "" : ", ") + columns[i];
    }
    create += ")";

    CTransaction transaction(*this);
    Run(create);
    for (const std::string& index : indexes) {
        Run(index);
    }
    transaction.Commit();
    SchemaChanged();
    table.MarkAppended();
}

std::int32_t CDatabase::NextAutoIncrement(const CTableSchema& table) {
    const std::string sequenceSql = "SELECT seq FROM sqlite_sequence WHERE name = ?1";
    std::unique_ptr<CStatement> sequence = TakeStatement(sequenceSql, sequenceSql);
    sequence->Bind(1, CVariant(table.name));
    std::int64_t last = sequence->Step() ? sqlite3_column_int64(sequence->Get(), 0) : 0;
    ReturnStatement(std::move(sequence));
    const std::string highestSql = "SELECT max(_ROWID_) FROM " + QuoteIdentifier(table.name);
    std::unique_ptr<CStatement> highest = TakeStatement(highestSql, highestSql);
    if (highest->Step()) {
        last = std::max<std::int64_t>(last, sqlite3_column_int64(highest->Get(), 0));
    }
    ReturnStatement(std::move(highest));
    if (last >= std::numeric_limits<std::int32_t>::max()) {
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("The table '{}' has used up its IDs.")), table.name));
    }
    return static_cast<std::int32_t>(last + 1);
}

std::int32_t CDatabase::AddRow(const std::string& tableName, const FieldValues& fields) {
    const CTableSchema& table = Schema(tableName);
    FieldValues values;
    values.reserve(fields.size());
    for (const auto& [name, value] : fields) {
        values.push_back(table.WritableValue(name, value));
    }
    const std::int64_t id = InsertValues(table, values);
    if (table.autoIncrementField.empty()) {
        return 0;
    }
    if (id > std::numeric_limits<std::int32_t>::max()) {
        const std::string remove = "DELETE FROM " + QuoteIdentifier(table.name) + " WHERE _ROWID_ = ?1";
        CStatement undo(m_db, remove);
        sqlite3_bind_int64(undo.Get(), 1, id);
        undo.Run();
        throw CEngineError(fmt::format(fmt::runtime(CUserText::tr("The table '{}' has used up its IDs.")), table.name));
    }
    return static_cast<std::int32_t>(id);
}

std::int64_t CDatabase::InsertValues(const CTableSchema& table, const FieldValues& values) {
    std::string sql = "INSERT INTO " + QuoteIdentifier(table.name);
    if (values.empty()) {
        sql += " DEFAULT VALUES";
    } else {
        std::string places;
        for (std::size_t i = 0; i < values.size(); ++i) {
            sql += (i == 0 ? " (" : ", ") + QuoteIdentifier(values[i].first);
            places += i == 0 ? "?" : ", ?";
        }
        sql += ") VALUES (" + places + ")";
    }
    std::unique_ptr<CStatement> statement = TakeStatement(sql, sql);
    for (std::size_t i = 0; i < values.size(); ++i) {
        statement->Bind(static_cast<int>(i) + 1, values[i].second);
    }
    statement->Run();
    ReturnStatement(std::move(statement));
    return sqlite3_last_insert_rowid(m_db);
}

std::unique_ptr<CStatement> CDatabase::TakeStatement(const std::string& sql, const std::string& shownSql) {
    for (auto idle = m_idleStatements.rbegin(); idle != m_idleStatements.rend(); ++idle) {
        if ((*idle)->Sql() == sql) {
            std::unique_ptr<CStatement> statement = std::move(*idle);
            m_idleStatements.erase(std::next(idle).base());
            statement->SetShownSql(shownSql);
            return statement;
        }
    }
    return std::make_unique<CStatement>(m_db, sql, shownSql);
}

void CDatabase::ReturnStatement(std::unique_ptr<CStatement> statement) {
    constexpr std::size_t kMaxIdle = 32;
    // A statement of a connection closed meanwhile is finalized here: it still reads the file
    // it was prepared on. (A closed connection lives on while its statements do, so its
    // address cannot have been reused by the current one.)
    if (m_db == nullptr || !statement || statement->Connection() != m_db) {
        return;
    }
    statement->Reset();
    m_idleStatements.push_back(std::move(statement));
    if (m_idleStatements.size() > kMaxIdle) {
        m_idleStatements.erase(m_idleStatements.begin());
    }
}

const CTranslatedSql& CDatabase::Translated(const std::string& parameterizedSql) {
    if (const auto known = m_translations.find(parameterizedSql); known != m_translations.end()) {
        return known->second;
    }
    constexpr std::size_t kMaxTranslations = 1024;  // texts with names typed into them may vary
    if (m_translations.size() >= kMaxTranslations) {
        m_translations.clear();
    }
    CTranslatedSql translated;
    translated.sql = TranslateJetSql(parameterizedSql);
    if (const auto single = SingleTableOf(translated.sql)) {
        translated.table = single->table;
        // The row ID goes last, so that "ORDER BY 1" still means the first field.
        translated.editableSql =
            translated.sql.substr(0, single->fromPosition) + ", _ROWID_ " + translated.sql.substr(single->fromPosition);
    }
    return m_translations.emplace(parameterizedSql, std::move(translated)).first->second;
}

void CDatabase::SchemaChanged() {
    m_schemas.clear();
    m_idleStatements.clear();
}
