#pragma once

#include <algorithm>
#include <string_view>

// The letter A to Z in the other case; every other byte as it is.
inline char AsciiToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char AsciiToUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when the two texts are equal without regard to the letter case of A to Z (names of
// settings, tables, fields and SQL keywords).
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiToLower(x) == AsciiToLower(y); });
}
