#pragma once

#include <algorithm>
#include <string_view>

// True when the two texts are equal without regard to the letter case of A to Z (names of
// settings, tables, fields and SQL keywords).
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}
