#pragma once

#include <cstdint>
#include <string>

#include "engine/tabledef.h"
#include "engine/variant.h"

class CDbHelper;

// The kinds of index CreateIndex makes.
enum IndexKind : int { kPrimaryKeyIndex = 0, kUniqueIndex = 1, kPlainIndex = 2 };

// One table of the library: fields and indexes to create, and lookups and updates of a single
// value. A table that could not be opened stays closed; its lookups give 0, 0.0 or "" and its
// updates false without touching the engine. Errors while running a lookup or update raise
// CEngineError.
class CDbTable : public CTableDef {
public:
    // Opens the existing table `name`.
    CDbTable(CDbHelper* db, const std::string& name);
    // A new table definition (see CDbHelper::CreateTable).
    CDbTable(CDbHelper* db, const std::string& name, long attributes);

    bool FieldExists(const std::string& name) const;

    // Typed field adders; a null default means "False" for booleans, "0" for numbers and none
    // for text. With `onlyIfMissing` an existing field of that name is left alone.
    bool AddBoolField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing);
    bool AddByteField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing);
    bool AddIntegerField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing);
    bool AddLongField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing);
    bool AddDoubleField(const std::string& name, const char* defaultValue, long attributes, bool onlyIfMissing);
    bool AddTextField(const std::string& name, int size, const char* defaultValue, long attributes, bool onlyIfMissing);

    // Adds the field and fills it in existing rows with the default ("0" without one). False
    // when the table has no database or the filling statement fails (always, on a table not
    // appended yet); a failure to create the field raises CEngineError.
    bool AddField(const std::string& name, int type, int size, long attributes, const std::string& defaultValue,
                  bool onlyIfMissing);

    // Index on one field: the primary key (named "PrimaryKey"), unique, or plain for any other
    // kind. False when the engine refuses.
    bool CreateIndex(const std::string& field, int kind);

    // `field` of the first row whose `keyField` equals the key; 0, 0.0 or "" when none.
    std::int32_t LookupLong(const std::string& field, const std::string& keyField, std::int32_t key);
    std::int16_t LookupShort(const std::string& field, const std::string& keyField, std::int32_t key);
    double LookupDouble(const std::string& field, const std::string& keyField, std::int32_t key);
    std::string LookupText(const std::string& field, const std::string& keyField, std::int32_t key);
    std::int32_t LookupLongBy2(const std::string& field, const std::string& keyField1, std::int32_t key1,
                               const std::string& keyField2, std::int32_t key2);
    std::int32_t LookupLongByText(const std::string& field, const std::string& keyField, const std::string& text);
    std::int32_t LookupLongByTextAndLong(const std::string& field, const std::string& textField,
                                         const std::string& text, const std::string& keyField, std::int32_t key);

    // Sets `field` of the first row whose `keyField` equals the key; true when a row changed.
    bool UpdateLong(const std::string& field, const std::string& keyField, std::int32_t key, std::int32_t value);
    bool UpdateShort(const std::string& field, const std::string& keyField, std::int32_t key, std::int16_t value);
    bool UpdateDouble(const std::string& field, const std::string& keyField, std::int32_t key, double value);

    CDbHelper* GetDbHelper() const { return m_db; }

private:
    bool IsUsable() const;
    CVariant LookupValue(const std::string& field, const std::string& sql);
    bool UpdateValue(const std::string& field, const std::string& keyField, std::int32_t key, const CVariant& value);

    CDbHelper* m_db;
};
