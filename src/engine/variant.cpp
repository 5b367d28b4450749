#include "engine/variant.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include <fmt/format.h>

namespace {

template <typename T>
T Saturate(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double low = std::numeric_limits<T>::min();
    const double high = std::numeric_limits<T>::max();
    return static_cast<T>(std::clamp(std::trunc(value), low, high));
}

}  // namespace

double CVariant::AsDouble() const {
    switch (m_type) {
        case Type::Null:
            return 0.0;
        case Type::Double:
            return m_double;
        case Type::Text:
            return std::strtod(m_text.c_str(), nullptr);
        default:
            return static_cast<double>(m_integer);
    }
}

std::uint8_t CVariant::AsByte() const {
    return Saturate<std::uint8_t>(AsDouble());
}
std::int16_t CVariant::AsShort() const {
    return Saturate<std::int16_t>(AsDouble());
}
std::int32_t CVariant::AsLong() const {
    if (m_type == Type::Byte || m_type == Type::Short || m_type == Type::Long) {
        return static_cast<std::int32_t>(m_integer);  // each fits
    }
    return Saturate<std::int32_t>(AsDouble());
}

std::string CVariant::AsText() && {
    return m_type == Type::Text ? std::move(m_text) : std::as_const(*this).AsText();
}

std::string CVariant::AsText() const& {
    switch (m_type) {
        case Type::Null:
            return {};
        case Type::Text:
            return m_text;
        case Type::Double:
            return fmt::format("{}", m_double);
        default:
            return std::to_string(m_integer);
    }
}
