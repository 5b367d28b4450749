#include "db/dbhelper.h"

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarysql.h"
#include "engine/engineerror.h"

namespace {

constexpr const char* kVersionTable = "Version";
constexpr const char* kVersionField = "DBVersion";

}  // namespace

CDbHelper::CDbHelper(const std::string& path, bool exclusive, bool readOnly)
    : m_path(path), m_exclusive(exclusive), m_readOnly(readOnly) {
    try {
        Open(path, exclusive, readOnly);
    } catch (const CEngineError&) {
        // The caller learns the outcome from IsOpen().
    }
}

bool CDbHelper::TableExists(const std::string& name) {
    for (const std::string& table : TableNames()) {
        if (SameName(table, name)) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<CDbTable> CDbHelper::CreateTable(const std::string& name, long attributes) {
    if (TableExists(name)) {
        return nullptr;
    }
    return std::make_unique<CDbTable>(this, name, attributes);
}

bool CDbHelper::AppendTable(CDbTable& table) {
    try {
        AppendTableDef(table);
        return true;
    } catch (const CEngineError&) {
        return false;
    }
}

int CDbHelper::GetVersion() {
    if (!TableExists(kVersionTable)) {
        return 0;
    }
    CRecordset versions(*this, dbOpenDynaset, VersionSql(), dbReadOnly);
    if (versions.IsEOF() && versions.IsBOF()) {
        return 0;
    }
    return versions.GetFieldValue(kVersionField).AsLong();
}

bool CDbHelper::SetVersion(int version) {
    if (!TableExists(kVersionTable)) {
        return false;
    }
    CRecordset versions(*this, dbOpenDynaset, VersionSql(), dbDenyRead);
    if (versions.IsEOF() && versions.IsBOF()) {
        versions.AddNew();
    } else {
        versions.Edit();
    }
    versions.SetFieldValue(kVersionField, CVariant(static_cast<std::int32_t>(version)));
    versions.Update();
    return true;
}

bool CDbHelper::EnsureVersionTable() {
    if (!TableExists(kVersionTable)) {
        std::unique_ptr<CDbTable> table = CreateTable(kVersionTable, 0);
        table->AddLongField(kVersionField, nullptr, 0, false);
        AppendTableDef(*table);
        SetVersion(0);
        return true;
    }
    CDbTable table(this, kVersionTable);
    if (!table.FieldExists(kVersionField)) {
        table.AddField(kVersionField, dbLong, 4, 0, "0", false);
    }
    return true;
}
