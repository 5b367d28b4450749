#include "db/dbtable.h"

#include "db/dbhelper.h"
#include "db/librarysql.h"
#include "engine/engineerror.h"
#include "engine/recordset.h"

namespace {

const char* Or(const char* value, const char* fallback) {
    return value != nullptr ? value : fallback;
}

}  // namespace

CDbTable::CDbTable(CDbHelper* db, const std::string& name) : m_db(db) {
    try {
        if (db != nullptr) {
            Open(*db, name);
        }
    } catch (const CEngineError&) {
        // Stays closed; lookups on it give nothing.
    }
}

CDbTable::CDbTable(CDbHelper* db, const std::string& name, long attributes) : m_db(db) {
    Create(*db, name, attributes);
}

bool CDbTable::IsUsable() const {
    return IsOpen() && m_db != nullptr && m_db->IsOpen();
}

bool CDbTable::FieldExists(const std::string& name) const {
    if (!IsUsable()) {
        return false;
    }
    for (const CFieldInfo& field : Fields()) {
        if (SameName(field.name, name)) {
            return true;
        }
    }
    return false;
}

bool CDbTable::AddBoolField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing) {
    return AddField(name, dbBoolean, 1, attributes, Or(defaultValue, "False"), onlyIfMissing);
}

bool CDbTable::AddByteField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing) {
    return AddField(name, dbByte, 1, attributes, Or(defaultValue, "0"), onlyIfMissing);
}

bool CDbTable::AddIntegerField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing) {
    return AddField(name, dbInteger, 2, attributes, Or(defaultValue, "0"), onlyIfMissing);
}

bool CDbTable::AddLongField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing) {
    return AddField(name, dbLong, 4, attributes, Or(defaultValue, "0"), onlyIfMissing);
}

bool CDbTable::AddDoubleField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing) {
    return AddField(name, dbDouble, 8, attributes, Or(defaultValue, "0"), onlyIfMissing);
}

bool CDbTable::AddTextField(const std::string& name, int size, const char* defaultValue, long attributes,
                            bool onlyIfMissing) {
    return AddField(name, dbText, size, attributes, Or(defaultValue, ""), onlyIfMissing);
}

bool CDbTable::AddField(const std::string& name, int type, int size, long attributes, const std::string& defaultValue,
                        bool onlyIfMissing) {
    if (m_db == nullptr) {
        return false;
    }
    if (onlyIfMissing && FieldExists(name)) {
        return true;
    }
    CFieldInfo field;
    field.name = name;
    field.type = type;
    field.size = size;
    field.attributes = attributes | dbUpdatableField | (type == dbText ? 0 : dbFixedField);
    field.allowZeroLength = type == dbText || type == dbMemo;
    field.defaultValue = defaultValue;
    CreateField(field);
    try {
        m_db->Execute(FillFieldSql(GetName(), name, defaultValue.empty() ? "0" : defaultValue), dbFailOnError);
        return true;
    } catch (const CEngineError&) {
        return false;
    }
}

bool CDbTable::CreateIndex(const std::string& field, int kind) {
    try {
        CIndexInfo index;
        index.name = kind == kPrimaryKeyIndex ? "PrimaryKey" : field;
        index.field = field;
        index.primary = kind == kPrimaryKeyIndex;
        index.unique = kind == kPrimaryKeyIndex || kind == kUniqueIndex;
        CTableDef::CreateIndex(index);
        return true;
    } catch (const CEngineError&) {
        return false;
    }
}

CVariant CDbTable::LookupValue(const std::string& field, const std::string& sql) {
    if (!IsUsable()) {
        return {};
    }
    CRecordset rows(*m_db, dbOpenSnapshot, sql, 0);
    return rows.IsEOF() ? CVariant() : rows.GetFieldValue(field);
}

std::int32_t CDbTable::LookupLong(const std::string& field, const std::string& keyField, std::int32_t key) {
    return LookupValue(field, LookupSql(field, GetName(), keyField, key)).AsLong();
}

std::int16_t CDbTable::LookupShort(const std::string& field, const std::string& keyField, std::int32_t key) {
    return LookupValue(field, LookupSql(field, GetName(), keyField, key)).AsShort();
}

double CDbTable::LookupDouble(const std::string& field, const std::string& keyField, std::int32_t key) {
    return LookupValue(field, LookupSql(field, GetName(), keyField, key)).AsDouble();
}

std::string CDbTable::LookupText(const std::string& field, const std::string& keyField, std::int32_t key) {
    return LookupValue(field, LookupSql(field, GetName(), keyField, key)).AsText();
}

std::int32_t CDbTable::LookupLongBy2(const std::string& field, const std::string& keyField1, std::int32_t key1,
                                     const std::string& keyField2, std::int32_t key2) {
    return LookupValue(field, LookupBy2Sql(field, GetName(), keyField1, key1, keyField2, key2)).AsLong();
}

std::int32_t CDbTable::LookupLongByText(const std::string& field, const std::string& keyField,
                                        const std::string& text) {
    return LookupValue(field, LookupByTextSql(field, GetName(), keyField, text)).AsLong();
}

std::int32_t CDbTable::LookupLongByTextAndLong(const std::string& field, const std::string& textField,
                                               const std::string& text, const std::string& keyField, std::int32_t key) {
    return LookupValue(field, LookupByTextAndLongSql(field, GetName(), textField, text, keyField, key)).AsLong();
}

bool CDbTable::UpdateValue(const std::string& field, const std::string& keyField, std::int32_t key,
                           const CVariant& value) {
    if (!IsUsable()) {
        return false;
    }
    CRecordset rows(*m_db, dbOpenDynaset, LookupSql(field, GetName(), keyField, key), 0);
    if (rows.IsEOF()) {
        return false;
    }
    rows.Edit();
    rows.SetFieldValue(field, value);
    rows.Update();
    return true;
}

bool CDbTable::UpdateLong(const std::string& field, const std::string& keyField, std::int32_t key, std::int32_t value) {
    return UpdateValue(field, keyField, key, CVariant(value));
}

bool CDbTable::UpdateShort(const std::string& field, const std::string& keyField, std::int32_t key,
                           std::int16_t value) {
    return UpdateValue(field, keyField, key, CVariant(value));
}

bool CDbTable::UpdateDouble(const std::string& field, const std::string& keyField, std::int32_t key, double value) {
    return UpdateValue(field, keyField, key, CVariant(value));
}
