#include "engine/jetdialect.h"

#include <gtest/gtest.h>

namespace {

TEST(JetDialectTest, RewritesWhatSqliteDoesNotSpeak) {
    EXPECT_EQ(TranslateJetSql("DELETE * FROM ColJunction WHERE EXISTS (SELECT * FROM  Songs WHERE "
                              "ColJunction.SongID=Songs.ID AND Songs.ArtistID=3)"),
              "DELETE FROM ColJunction WHERE EXISTS (SELECT * FROM  Songs WHERE ColJunction.SongID=Songs.ID AND "
              "Songs.ArtistID=3)");
    EXPECT_EQ(TranslateJetSql("delete   *   from Songs"), "delete   from Songs");
    EXPECT_EQ(TranslateJetSql("UPDATE Songs SET Songs.Name=0"), "UPDATE Songs SET Name=0");
    EXPECT_EQ(TranslateJetSql("UPDATE Songs SET Songs.A=1, [Songs].B = Songs.B + 1, C = f(x, Songs.D) "
                              "WHERE Songs.ID = 2"),
              "UPDATE Songs SET A=1, B = Songs.B + 1, C = f(x, Songs.D) WHERE Songs.ID = 2");
    EXPECT_EQ(TranslateJetSql("UPDATE Songs SET PlayCount = PlayCount+1 WHERE ID = 5"),
              "UPDATE Songs SET PlayCount = PlayCount+1 WHERE ID = 5");
    EXPECT_EQ(TranslateJetSql("SELECT ID FROM Songs WHERE ColID=3;  ; "), "SELECT ID FROM Songs WHERE ColID=3");
}

TEST(JetDialectTest, LeavesTextLiteralsAlone) {
    const std::string sql = "SELECT ID FROM Artists WHERE Name = 'DELETE * FROM x; UPDATE a SET a.b=1'";
    EXPECT_EQ(TranslateJetSql(sql), sql);
    EXPECT_EQ(TranslateJetSql("UPDATE Songs SET Songs.Name='a.b, c.d=1' WHERE Name='x'"),
              "UPDATE Songs SET Name='a.b, c.d=1' WHERE Name='x'");
}

TEST(JetDialectTest, EscapesTextForQuotes) {
    EXPECT_EQ(EscapeSqlText("O'Brien"), "O''Brien");
    EXPECT_EQ(EscapeSqlText("''"), "''''");
    EXPECT_EQ(EscapeSqlText(std::string("a\0b", 3)), "a' || char(0) || 'b");
    EXPECT_EQ(QuoteIdentifier("we\"ird"), "\"we\"\"ird\"");
}

std::optional<std::string> TableOf(std::string_view sql) {
    const auto single = SingleTableOf(sql);
    if (single) {
        EXPECT_TRUE(sql.substr(single->fromPosition).starts_with("FROM") ||
                    sql.substr(single->fromPosition).starts_with("from"));
    }
    return single ? std::optional<std::string>(single->table) : std::nullopt;
}

TEST(JetDialectTest, FindsTheTableOfEditableResults) {
    EXPECT_EQ(TableOf("SELECT * FROM Songs ORDER BY 1"), "Songs");
    EXPECT_EQ(TableOf("Select * from Artists"), "Artists");
    EXPECT_EQ(TableOf("SELECT AlbumID FROM Songs WHERE ID = 5"), "Songs");
    EXPECT_EQ(TableOf("SELECT DBVersion FROM \"Version\";"), "Version");
    EXPECT_EQ(TableOf("SELECT DISTINCT ColID FROM ColJunction WHERE SongID = 1"), std::nullopt);
    EXPECT_EQ(TableOf("SELECT COUNT(ID) as lCount FROM Songs WHERE AlbumID=1"), std::nullopt);
    EXPECT_EQ(TableOf("SELECT * FROM Songs INNER JOIN ColJunction ON ColJunction.SongID = Songs.ID"), std::nullopt);
    EXPECT_EQ(TableOf("SELECT Songs.* FROM (Songs LEFT JOIN Albums ON Songs.AlbumID = Albums.ID)"), std::nullopt);
    EXPECT_EQ(TableOf("SELECT * FROM A, B"), std::nullopt);
}

TEST(JetDialectTest, ValuesBecomeParameters) {
    const ParameterizedSql lookup = Parameterize("SELECT ID FROM Albums WHERE Name = 'O''Brien' AND ArtistID = -12");
    EXPECT_EQ(lookup.sql, "SELECT ID FROM Albums WHERE Name = ?1 AND ArtistID = -?2");
    EXPECT_EQ(lookup.values, (std::vector<CVariant>{CVariant(std::string("O'Brien")), CVariant(std::int32_t(12))}));
    const ParameterizedSql kept = Parameterize("SELECT * FROM Songs WHERE UserRating>=5.5 ORDER BY 1");
    EXPECT_EQ(kept.sql, "SELECT * FROM Songs WHERE UserRating>=?1 ORDER BY 1") << "column numbers stay";
    EXPECT_EQ(kept.values, std::vector<CVariant>{CVariant(5.5)});
    EXPECT_EQ(Parameterize("SELECT a FROM t WHERE b = 12345678901").sql, "SELECT a FROM t WHERE b = 12345678901");
    EXPECT_EQ(Parameterize("SELECT Songs.* FROM Songs WHERE Unsorted=TRUE").values.size(), 0u);
    const ParameterizedSql unclosed = Parameterize("SELECT a FROM t WHERE b = 'open''");
    EXPECT_EQ(unclosed.sql, "SELECT a FROM t WHERE b = 'open''") << "left for SQLite to refuse";
    EXPECT_TRUE(unclosed.values.empty());
}

}  // namespace
