#include "engine/jetdialect.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/asciitext.h"

namespace {

struct Token {
    enum class Kind { Word, Quoted, String, Other } kind;
    std::size_t begin;
    std::size_t end;
};

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Splits a statement into words, quoted names, text literals and single other characters.
std::vector<Token> Lex(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const char c = sql[pos];
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            ++pos;
            continue;
        }
        const std::size_t begin = pos;
        if (c == '\'' || c == '"' || c == '[' || c == '`') {
            const char close = c == '[' ? ']' : c;
            ++pos;
            while (pos < sql.size()) {
                if (sql[pos] == close) {
                    if (close != ']' && pos + 1 < sql.size() && sql[pos + 1] == close) {
                        pos += 2;
                        continue;
                    }
                    break;
                }
                ++pos;
            }
            // An unclosed quote is left for SQLite to refuse, never taken for a value.
            const bool closed = pos < sql.size();
            pos = std::min(pos + 1, sql.size());
            const Token::Kind kind = !closed     ? Token::Kind::Other
                                     : c == '\'' ? Token::Kind::String
                                                 : Token::Kind::Quoted;
            tokens.push_back({kind, begin, pos});
        } else if (IsWordChar(c)) {
            while (pos < sql.size() && IsWordChar(sql[pos])) {
                ++pos;
            }
            tokens.push_back({Token::Kind::Word, begin, pos});
        } else {
            tokens.push_back({Token::Kind::Other, begin, ++pos});
        }
    }
    return tokens;
}

class CTokens {
public:
    explicit CTokens(std::string_view sql) : m_sql(sql), m_tokens(Lex(sql)) {}

    std::size_t Size() const { return m_tokens.size(); }
    const Token& operator[](std::size_t i) const { return m_tokens[i]; }

    bool Is(std::size_t i, std::string_view word) const {
        if (i >= m_tokens.size() || m_tokens[i].end - m_tokens[i].begin != word.size()) {
            return false;
        }
        return EqualsIgnoringAsciiCase(m_sql.substr(m_tokens[i].begin, word.size()), word);
    }

    bool IsName(std::size_t i) const {
        return i < m_tokens.size() &&
               (m_tokens[i].kind == Token::Kind::Word || m_tokens[i].kind == Token::Kind::Quoted);
    }

    std::string_view Text(std::size_t i) const {
        return m_sql.substr(m_tokens[i].begin, m_tokens[i].end - m_tokens[i].begin);
    }

    // Index of the first `word` at parenthesis depth 0 from `from` on, or Size().
    std::size_t FindTopLevel(std::string_view word, std::size_t from) const {
        int depth = 0;
        for (std::size_t i = from; i < m_tokens.size(); ++i) {
            depth += Is(i, "(") ? 1 : Is(i, ")") ? -1 : 0;
            if (depth == 0 && Is(i, word)) {
                return i;
            }
        }
        return m_tokens.size();
    }

private:
    std::string_view m_sql;
    std::vector<Token> m_tokens;
};

// Byte ranges of `sql` that the rewrite drops.
using Cuts = std::vector<std::pair<std::size_t, std::size_t>>;

void CutSetQualifiers(const CTokens& tokens, Cuts& cuts) {
    const std::size_t set = tokens.FindTopLevel("SET", 1);
    const std::size_t where = tokens.FindTopLevel("WHERE", set);
    int depth = 0;
    bool assignmentStart = true;
    for (std::size_t i = set + 1; i < where; ++i) {
        if (assignmentStart && tokens.IsName(i) && tokens.Is(i + 1, ".") && tokens.IsName(i + 2)) {
            cuts.emplace_back(tokens[i].begin, tokens[i + 2].begin);
        }
        depth += tokens.Is(i, "(") ? 1 : tokens.Is(i, ")") ? -1 : 0;
        assignmentStart = depth == 0 && tokens.Is(i, ",");
    }
}

}  // namespace

std::string TranslateJetSql(std::string_view sql) {
    const CTokens tokens(sql);
    std::size_t last = tokens.Size();
    while (last > 0 && tokens.Is(last - 1, ";")) {
        --last;
    }
    const std::size_t end = last == 0 ? 0 : tokens[last - 1].end;

    Cuts cuts;
    if (tokens.Is(0, "DELETE") && tokens.Is(1, "*") && tokens.Is(2, "FROM")) {
        cuts.emplace_back(tokens[1].begin, tokens[2].begin);
    } else if (tokens.Is(0, "UPDATE")) {
        CutSetQualifiers(tokens, cuts);
    }

    std::string result;
    result.reserve(end);
    std::size_t pos = 0;
    for (const auto& [from, to] : cuts) {
        result.append(sql.substr(pos, from - pos));
        pos = to;
    }
    result.append(sql.substr(pos, end - pos));
    return result;
}

std::string EscapeSqlText(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\'') {
            result += "''";
        } else if (c == '\0') {
            result += "' || char(0) || '";
        } else {
            result += c;
        }
    }
    return result;
}

std::string QuoteIdentifier(std::string_view name) {
    std::string result = "\"";
    for (const char c : name) {
        result += c;
        if (c == '"') {
            result += '"';
        }
    }
    return result + "\"";
}

std::optional<SingleTableSelect> SingleTableOf(std::string_view sql) {
    const CTokens tokens(sql);
    if (!tokens.Is(0, "SELECT") || tokens.Is(1, "DISTINCT")) {
        return std::nullopt;
    }
    const std::size_t from = tokens.FindTopLevel("FROM", 1);
    for (std::size_t i = 1; i < from; ++i) {
        if (tokens.Is(i, "(")) {
            return std::nullopt;
        }
    }
    const std::size_t table = from + 1;
    const std::size_t next = table + 1;
    const bool plainEnd =
        next >= tokens.Size() || tokens.Is(next, ";") || tokens.Is(next, "WHERE") || tokens.Is(next, "ORDER");
    if (!tokens.IsName(table) || !plainEnd) {
        return std::nullopt;
    }
    std::string_view name = tokens.Text(table);
    if (tokens[table].kind == Token::Kind::Quoted) {
        name = name.substr(1, name.size() - 2);
    }
    return SingleTableSelect{std::string(name), tokens[from].begin};
}

namespace {

bool IsDigits(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string UnquoteText(std::string_view literal) {
    std::string text;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        text += literal[i];
        if (literal[i] == '\'' && literal[i + 1] == '\'') {
            ++i;
        }
    }
    return text;
}

}  // namespace

ParameterizedSql Parameterize(std::string_view sql) {
    const CTokens tokens(sql);
    ParameterizedSql result;
    std::size_t copied = 0;
    const auto replace = [&](std::size_t begin, std::size_t end, CVariant value) {
        result.sql.append(sql.substr(copied, begin - copied));
        result.values.push_back(std::move(value));
        result.sql += "?" + std::to_string(result.values.size());
        copied = end;
    };
    for (std::size_t i = 0; i < tokens.Size(); ++i) {
        if (tokens.Is(i, "ORDER") || tokens.Is(i, "GROUP")) {
            break;
        }
        if (tokens[i].kind == Token::Kind::String) {
            replace(tokens[i].begin, tokens[i].end, CVariant(UnquoteText(tokens.Text(i))));
        } else if (tokens[i].kind == Token::Kind::Word && IsDigits(tokens.Text(i)) &&
                   (i == 0 || !tokens.Is(i - 1, "."))) {
            if (tokens.Is(i + 1, ".") && i + 2 < tokens.Size() && IsDigits(tokens.Text(i + 2)) &&
                tokens[i + 1].begin == tokens[i].end && tokens[i + 2].begin == tokens[i + 1].end) {
                const std::string number(sql.substr(tokens[i].begin, tokens[i + 2].end - tokens[i].begin));
                replace(tokens[i].begin, tokens[i + 2].end, CVariant(std::strtod(number.c_str(), nullptr)));
                i += 2;
            } else {
                replace(tokens[i].begin, tokens[i].end,
                        CVariant(static_cast<std::int32_t>(std::atol(std::string(tokens.Text(i)).c_str()))));
            }
        }
    }
    result.sql.append(sql.substr(copied));
    return result;
}
