#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/variant.h"

// A field of a table as the engine knows it, in DAO terms.
struct CFieldInfo {
    std::string name;
    int type = 0;         // dbBoolean .. dbMemo
    int size = 0;         // bytes; the maximum length for text
    long attributes = 0;  // dbFixedField, dbAutoIncrField, dbUpdatableField, dbExactTextField
    bool allowZeroLength = false;
    std::string defaultValue;  // the default-value text; empty when there is none
};

// An index over one field, ascending.
struct CIndexInfo {
    std::string name;
    std::string field;
    bool primary = false;
    bool unique = false;
};

// A table of the file with its fields in order.
struct CTableSchema {
    std::string name;  // as stored in the file
    std::vector<CFieldInfo> fields;
    std::string autoIncrementField;  // empty when the table has none
    bool hasPrimaryKey = false;

    // The field named `name` (letter case ignored), or nullptr.
    const CFieldInfo* Find(const std::string& fieldName) const;

    // The field named `name` with `value` as the field stores it (booleans as 0 or 1, numbers
    // in the field's range), ready to be written. Raises CEngineError for a field the table
    // lacks and for the autoincrement field, which only the engine sets.
    std::pair<std::string, CVariant> WritableValue(const std::string& fieldName, const CVariant& value) const;
};

// Raises the error of a field that a table or result does not have.
[[noreturn]] void ThrowNoField(const std::string& name);

// The SQLite declared type that stands for a DAO field type and size ("SMALLINT", "VARCHAR(100)").
// Raises CEngineError for an unknown type.
std::string DeclaredType(int type, int size);

// The DAO type and size of an SQLite declared type; 0 when `declared` is null (a computed
// column). Types written by other tools map by SQLite's affinity rules.
int DaoTypeOf(const char* declared, int* size = nullptr);

// The column definition of `field` in CREATE TABLE or ALTER TABLE.
std::string ColumnDefinition(const CFieldInfo& field);

// True when the two names are the same without regard to ASCII letter case.
bool SameName(const std::string& a, const std::string& b);
