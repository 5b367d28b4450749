#pragma once

#include <string>
#include <string_view>

// The collation of name and tag texts: UTF-8 compared code point by code point after Unicode
// simple case folding, so "the beatles" equals "The Beatles" and "ÉTÉ" equals "été". Bytes
// that are not valid UTF-8 compare by value, after every code point. Returns <0, 0 or >0.
int CompareIgnoringCase(std::string_view a, std::string_view b);

// The name under which the engine registers it with SQLite.
inline constexpr const char* kIgnoreCaseCollation = "UNICODE_NOCASE";

// `text` as searches compare it: case folded as the collation folds it, and without accents
// (each letter decomposed, its combining marks dropped), so "Björk" gives "bjork". Bytes that are
// not valid UTF-8 stay as they are.
std::string SearchFolded(std::string_view text);

// The SQL function the engine registers: SEARCH_MATCHES(text, folded) is 1 when the folded form
// of `text` contains `folded` (a SearchFolded word), else 0; 0 for a Null text.
inline constexpr const char* kSearchMatchesFunction = "SEARCH_MATCHES";
