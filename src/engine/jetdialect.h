#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/variant.h"

// The program writes its statements in the Jet dialect. SQLite runs most of it as it is; this
// rewrites the rest: "DELETE * FROM" becomes "DELETE FROM", a table-qualified column on the
// left of a SET assignment loses its table, and trailing semicolons go.
std::string TranslateJetSql(std::string_view sql);

// The text to place between single quotes in a statement so that it stands for `text`
// exactly: apostrophes doubled, a NUL byte spliced in with char(0) so it cannot cut the
// statement short.
std::string EscapeSqlText(std::string_view text);

// `name` as an SQL identifier in double quotes.
std::string QuoteIdentifier(std::string_view name);

// A statement "SELECT columns FROM table [WHERE ...] [ORDER BY ...]" over one table, without
// DISTINCT, joins or computed columns: its result can be edited.
struct SingleTableSelect {
    std::string table;
    std::size_t fromPosition;  // where the keyword FROM starts
};

// The table of such a statement, or nullopt for any other statement.
std::optional<SingleTableSelect> SingleTableOf(std::string_view sql);

// A statement with its text and number literals taken out as parameters ?1, ?2, ..., so that
// one prepared statement serves every value. Numbers in an ORDER BY or GROUP BY clause stay
// (they name columns there), as do numbers too long for 32 bits.
struct ParameterizedSql {
    std::string sql;
    std::vector<CVariant> values;
};
ParameterizedSql Parameterize(std::string_view sql);
