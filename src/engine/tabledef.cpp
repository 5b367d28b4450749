#include "engine/tabledef.h"

#include <fmt/format.h>

#include "engine/database.h"
#include "engine/engineerror.h"
#include "engine/jetdialect.h"
#include "engine/statement.h"

void CTableDef::Open(CDatabase& db, const std::string& name) {
    Close();
    if (!db.IsOpen()) {
        throw CEngineError("The database is not open.");
    }
    m_name = db.Schema(name).name;
    m_db = &db;
    m_open = true;
    m_appended = true;
}

void CTableDef::Create(CDatabase& db, const std::string& name, long /*attributes*/) {
    Close();
    m_db = &db;
    m_name = name;
    m_open = true;
}

void CTableDef::Close() {
    m_open = false;
    m_appended = false;
    m_newFields.clear();
    m_newIndexes.clear();
}

void CTableDef::MarkAppended() {
    m_appended = true;
    m_newFields.clear();
    m_newIndexes.clear();
}

CDatabase& CTableDef::Database() const {
    if (m_db == nullptr || !m_open || !m_db->IsOpen()) {
        throw CEngineError("The table definition is not open.");
    }
    return *m_db;
}

const std::vector<CFieldInfo>& CTableDef::Fields() const {
    return m_appended ? Database().Schema(m_name).fields : m_newFields;
}

std::vector<std::string> CTableDef::IndexNames() const {
    if (!m_appended) {
        std::vector<std::string> names;
        for (const CIndexInfo& index : m_newIndexes) {
            names.push_back(index.primary ? "PrimaryKey" : index.name);
        }
        return names;
    }
    CDatabase& db = Database();
    std::vector<std::string> names;
    if (db.Schema(m_name).hasPrimaryKey) {
        names.emplace_back("PrimaryKey");
    }
    // Indexes of our own making, in the order they were made (SQLite's own have no text).
    CStatement list(db.Handle(),
                    "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 AND sql IS NOT NULL "
                    "ORDER BY rowid");
    list.Bind(1, CVariant(m_name));
    const std::string prefix = m_name + "_";
    while (list.Step()) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(list.Get(), 0));
        names.push_back(name.starts_with(prefix) ? name.substr(prefix.size()) : name);
    }
    return names;
}

void CTableDef::CreateField(const CFieldInfo& field) {
    CDatabase& db = Database();
    if (!m_appended) {
        ColumnDefinition(field);  // refuses a field that could never be created
        m_newFields.push_back(field);
        return;
    }
    db.Execute(fmt::format("ALTER TABLE {} ADD COLUMN {}", QuoteIdentifier(m_name), ColumnDefinition(field)));
}

void CTableDef::CreateIndex(const CIndexInfo& index) {
    CDatabase& db = Database();
    if (!m_appended) {
        m_newIndexes.push_back(index);
        return;
    }
    db.Execute(fmt::format("CREATE {}INDEX {} ON {} ({})", index.unique || index.primary ? "UNIQUE " : "",
                           QuoteIdentifier(m_name + "_" + (index.primary ? "PrimaryKey" : index.name)),
                           QuoteIdentifier(m_name), QuoteIdentifier(index.field)));
}
