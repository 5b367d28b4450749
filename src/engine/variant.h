#pragma once

#include <cstdint>
#include <string>

// A field value as it travels between the engine and the access layer. A value read from the
// database carries the type its field has in the schema; Null reads as 0 or the empty text.
class CVariant {
public:
    enum class Type { Null, Byte, Short, Long, Double, Text };

    CVariant() = default;
    explicit CVariant(std::uint8_t value) : m_type(Type::Byte), m_integer(value) {}
    explicit CVariant(std::int16_t value) : m_type(Type::Short), m_integer(value) {}
    explicit CVariant(std::int32_t value) : m_type(Type::Long), m_integer(value) {}
    explicit CVariant(double value) : m_type(Type::Double), m_double(value) {}
    explicit CVariant(std::string value) : m_type(Type::Text), m_text(std::move(value)) {}

    Type GetType() const { return m_type; }
    bool IsNull() const { return m_type == Type::Null; }

    // Numbers convert to each other (saturating at the range of the narrower type); text reads
    // as its leading number. Null is 0.
    std::uint8_t AsByte() const;
    std::int16_t AsShort() const;
    std::int32_t AsLong() const;
    double AsDouble() const;

    // Text as it is; a number as its decimal text; Null as "".
    std::string AsText() const&;
    std::string AsText() &&;  // a text is moved out, not copied

    // The value as a 64-bit integer or a double, for binding into a statement.
    bool IsInteger() const { return m_type == Type::Byte || m_type == Type::Short || m_type == Type::Long; }
    std::int64_t Integer() const { return m_integer; }

    bool operator==(const CVariant& other) const = default;

private:
    Type m_type = Type::Null;
    std::int64_t m_integer = 0;
    double m_double = 0.0;
    std::string m_text;
};
