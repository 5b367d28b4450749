#pragma once

#include <string_view>

// The collation of name and tag texts: UTF-8 compared code point by code point after Unicode
// simple case folding, so "the beatles" equals "The Beatles" and "ÉTÉ" equals "été". Bytes
// that are not valid UTF-8 compare by value, after every code point. Returns <0, 0 or >0.
int CompareIgnoringCase(std::string_view a, std::string_view b);

// The name under which the engine registers it with SQLite.
inline constexpr const char* kIgnoreCaseCollation = "UNICODE_NOCASE";
