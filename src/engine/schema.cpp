#include "engine/schema.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include <fmt/format.h>

#include "engine/collation.h"
#include "engine/daoconstants.h"
#include "engine/engineerror.h"
#include "engine/jetdialect.h"
#include "platform/asciitext.h"

namespace {

std::string Upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool IsNumber(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return *end == '\0';
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

bool IsText(int type) {
    return type == dbText || type == dbMemo;
}

// The SQL literal of a default-value text for a field of `type`.
std::string DefaultLiteral(const CFieldInfo& field) {
    const std::string& value = field.defaultValue;
    if (IsText(field.type)) {
        const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
        return "'" + EscapeSqlText(quoted ? value.substr(1, value.size() - 2) : value) + "'";
    }
    const std::string upper = Upper(value);
    if (field.type == dbBoolean && (upper == "TRUE" || upper == "YES")) {
        return "1";
    }
    if (field.type == dbBoolean && (upper == "FALSE" || upper == "NO")) {
        return "0";
    }
    if (!IsNumber(value)) {
        throw CEngineError(fmt::format("The default value '{}' of field '{}' is not a number.", value, field.name));
    }
    if (field.type == dbBoolean) {
        return std::strtod(value.c_str(), nullptr) != 0.0 ? "1" : "0";
    }
    return value;
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
    return EqualsIgnoringAsciiCase(a, b);
}

void ThrowNoField(const std::string& name) {
    throw CEngineError(fmt::format("Item not found in this collection: there is no field '{}'.", name));
}

std::pair<std::string, CVariant> CTableSchema::WritableValue(const std::string& fieldName,
                                                             const CVariant& value) const {
    const CFieldInfo* field = Find(fieldName);
    if (field == nullptr) {
        ThrowNoField(fieldName);
    }
    if (SameName(field->name, autoIncrementField)) {
        throw CEngineError(fmt::format("Field '{}' cannot be updated.", field->name));
    }
    return {field->name, StoredValue(value, field->type)};
}

const CFieldInfo* CTableSchema::Find(const std::string& fieldName) const {
    const auto found =
        std::find_if(fields.begin(), fields.end(), [&](const CFieldInfo& f) { return SameName(f.name, fieldName); });
    return found == fields.end() ? nullptr : &*found;
}

std::string DeclaredType(int type, int size) {
    switch (type) {
        case dbBoolean:
            return "BOOLEAN";
        case dbByte:
            return "TINYINT";
        case dbInteger:
            return "SMALLINT";
        case dbLong:
            return "INTEGER";
        case dbDouble:
            return "DOUBLE";
        case dbText:
            return fmt::format("VARCHAR({})", size);
        case dbMemo:
            return "LONGTEXT";
        default:
            throw CEngineError(fmt::format("Invalid field data type {}.", type));
    }
}

int DaoTypeOf(const char* declared, int* size) {
    int ignored = 0;
    int& out = size != nullptr ? *size : ignored;
    if (declared == nullptr) {
        out = 0;
        return 0;
    }
    const std::string upper = Upper(declared);
    struct Known {
        std::string_view name;
        int type;
        int size;
    };
    static constexpr Known kKnown[] = {{"BOOLEAN", dbBoolean, 1}, {"TINYINT", dbByte, 1},  {"SMALLINT", dbInteger, 2},
                                       {"INTEGER", dbLong, 4},    {"DOUBLE", dbDouble, 8}, {"LONGTEXT", dbMemo, 0}};
    for (const Known& known : kKnown) {
        if (upper == known.name) {
            out = known.size;
            return known.type;
        }
    }
    if (upper.starts_with("VARCHAR(")) {
        out = std::atoi(upper.c_str() + 8);
        return dbText;
    }
    if (upper.find("INT") != std::string::npos) {
        out = 4;
        return dbLong;
    }
    if (upper.find("REAL") != std::string::npos || upper.find("FLOA") != std::string::npos ||
        upper.find("DOUB") != std::string::npos) {
        out = 8;
        return dbDouble;
    }
    out = 255;
    return dbText;
}

std::string ColumnDefinition(const CFieldInfo& field) {
    const std::string name = QuoteIdentifier(field.name);
    if ((field.attributes & dbAutoIncrField) != 0) {
        if (field.type != dbLong) {
            throw CEngineError(fmt::format("The autoincrement field '{}' must be a Long field.", field.name));
        }
        return name + " INTEGER PRIMARY KEY AUTOINCREMENT";
    }
    std::string definition = name + " " + DeclaredType(field.type, field.size);
    if (IsText(field.type) && (field.attributes & dbExactTextField) == 0) {
        definition += std::string(" COLLATE ") + kIgnoreCaseCollation;
    }
    if (!field.defaultValue.empty()) {
        definition += " DEFAULT " + DefaultLiteral(field);
    }
    return definition;
}
