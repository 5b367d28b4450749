// Every SQL text the program uses, built by the functions the program builds it with and with
// plausible values, run against a new library that holds a few rows of every table. Each must
// prepare and run, and give the rows a Jet engine would give.

#include <fmt/printf.h>
#include <gtest/gtest.h>

#include "browse/viewquery.h"
#include "db/dbquery.h"
#include "db/librarysql.h"
#include "engine/jetdialect.h"
#include "support/libraryfixture.h"

namespace {

struct CatalogueEntry {
    std::string name;
    std::string sql;
    long rows;  // rows a SELECT gives on the sample library; -1 for an action statement
};

// A view's statement as the grid builds it.
std::string ViewSql(int mode, int submode, std::int32_t artistId = 0, std::int32_t itemId = 0,
                    const ViewFilters& filters = {}, bool playFilter = false) {
    return BuildViewQuery(*MakeView(mode, submode, artistId, itemId), filters, playFilter);
}

ViewFilters Filters(const char* genre, int rating, int play = 0, int unratedAs = 3) {
    return {genre != nullptr ? 1 : 0, genre != nullptr ? genre : "", rating, play, unratedAs, ""};
}

// The sample library (see SampleLibrary below): artists 1 "The Beatles", 2 "O'Brien",
// 3 "Various Artists"; albums 1 "Abbey Road" and 2 "Help!" of artist 1, 3 "Mixed" of artist 3;
// songs 1..3 on album 1, 4 on album 2 (unsorted), 5 by artist 2 on album 3, 6 by artist 2
// without album; collection 1 holds songs 1 and 5, collection 2 is empty; genres Rock, Pop.
std::vector<CatalogueEntry> Catalogue() {
    std::vector<CatalogueEntry> entries = {
        {"LookupById", LookupSql("Name", "Artists", "ID", 1), 1},
        {"LookupByTwoKeys", LookupBy2Sql("ColID", "ColJunction", "ColID", 1, "SongID", 5), 1},
        {"LookupByQuotedName", LookupByTextSql("ID", "Artists", "Name", "O'BRIEN"), 1},
        {"LookupByNameAndKey", LookupByTextAndLongSql("ID", "Albums", "Name", "abbey road", "ArtistID", 1), 1},
        {"Version", VersionSql(), 1},
        {"FillTextField", FillFieldSql("Songs", "Genre", "0"), -1},
        {"FillBooleanField", FillFieldSql("Songs", "BestOf", "FALSE"), -1},
        {"RowById", RowByIdSql("Songs", 2), 1},
        {"SongToUpdate", SongToUpdateSql(3), 1},
        {"DeleteSongLinks", DeleteSongLinksSql(1), -1},
        {"CollectionIdsOfSong", CollectionIdsOfSongSql(1), 1},
        {"AlbumIdsOfArtist", IdsWhereSql("Albums", "ArtistID", 1), 2},
        {"SongIdsOfArtist", IdsWhereSql("Songs", "ArtistID", 2), 2},
        {"SongIdsOfCollection", SongIdsOfCollectionSql(1), 2},
        {"DeleteRow", DeleteRowSql("Songs", 6), -1},
        {"NameList", NameListSql("Genres"), 2},
        {"SongsOfAlbum", SongsOfAlbumSql(1), 3},
        {"LooseSongsOfArtistOnOwnAlbums", LooseSongsOfArtistSql(1), 1},
        {"LooseSongsOfArtistOnOthersAlbums", LooseSongsOfArtistSql(2), 1},
        {"AlbumsOfArtist", AlbumsOfArtistSql(1), 2},
        {"OtherArtistsAlbums", OtherArtistsAlbumsWithSongsOfSql(2), 1},
        {"SongsOfCollection", SongsOfCollectionSql(1), 2},
        {"ArtistRatings", kArtistRatingsSql, 3},
        {"AlbumRatings", kAlbumRatingsSql, 3},
        {"SongRatings", kSongRatingsSql, 6},
        {"CollectionSongRatings", kCollectionSongRatingsSql, 2},
        {"CollectionRatings", kCollectionRatingsSql, 2},
        // Statements of the views, play, editing and removal
        {"AlbumTotals",
         fmt::sprintf("SELECT COUNT(ID) as lCount, SUM(PlayCount) AS SumCount, SUM(UserRating) as SumRating FROM "
                      "Songs WHERE AlbumID=%ld",
                      1),
         1},
        {"UnratedSongsOfAlbum",
         fmt::sprintf("SELECT COUNT(ID) as lCount FROM Songs WHERE AlbumID=%ld AND UserRating=0", 1), 1},
        {"AlbumTotalsForTheRank", kAlbumTotalsSql, 4},
        {"ArtistsWithAlbums", ViewSql(0, 1), 2},
        {"ArtistsWithAlbumsFiltered", ViewSql(0, 1, 0, 0, Filters("rock", 5)), 1},
        {"Artists", ViewSql(0, 0), 2},
        {"ArtistsRated", ViewSql(0, 0, 0, 0, Filters(nullptr, 3)), 2},
        {"AlbumsOfArtistView", ViewSql(1, 2, 1), 1},
        {"Albums", ViewSql(1, 0), 2},
        {"AlbumsFiltered", ViewSql(1, 0, 0, 0, Filters("Pop", 5)), 1},
        {"Collections", ViewSql(2, 0), 2},
        {"CollectionsFiltered", ViewSql(2, 0, 0, 0, Filters("Rock", 2)), 1},
        {"Songs", ViewSql(3, 0), 6},
        {"SortedSongs", ViewSql(3, 1), 5},
        {"SongsOfArtistRated", ViewSql(3, 2, 1, 0, Filters(nullptr, 6)), 1},
        {"UnsortedSongsOfArtist", ViewSql(3, 3, 1, 0, Filters("pop", 0)), 1},
        {"SongsOfAlbumPlayFiltered", ViewSql(3, 4, 0, 1, Filters(nullptr, 4, 6, 4), true), 1},
        {"SongsOfCollectionView", ViewSql(3, 5, 0, 1), 2},
        {"SongsOfQuotedGenre", ViewSql(3, 0, 0, 0, Filters("Rock 'n' Roll", 0)), 0},
        {"AlbumPickList",
         "SELECT DISTINCT Albums.*, Artists.Name as ArtistName FROM (Albums LEFT JOIN Artists ON "
         "Albums.ArtistID=Artists.ID)",
         3},
        {"AlbumsOfArtistPickList", fmt::sprintf("SELECT * FROM %s WHERE %s = %ld", "Albums", "ArtistID", 1), 2},
        {"RaisePlayCount", fmt::sprintf("UPDATE Songs SET PlayCount = PlayCount+1 WHERE ID = %ld", 1), -1},
        {"DeleteAlbumsOfArtist", fmt::sprintf("DELETE FROM Albums WHERE ArtistID = %ld", 1), -1},
        {"DeleteSongsOfArtist", fmt::sprintf("DELETE FROM Songs WHERE ArtistID = %ld", 2), -1},
        {"DeleteLinksOfArtist",
         fmt::sprintf("DELETE * FROM ColJunction WHERE EXISTS (SELECT * FROM  Songs WHERE "
                      "ColJunction.SongID=Songs.ID AND Songs.ArtistID=%ld)",
                      2),
         -1},
    };
    for (const char* table : {"Artists", "Albums", "Collections", "ColJunction", "Songs", "Genres", "Ratings"}) {
        entries.push_back({std::string("AllRowsOf") + table, AllRowsSql(table), -2});
    }
    return entries;
}

class StatementCatalogueTest : public LibraryFixture, public ::testing::WithParamInterface<CatalogueEntry> {
protected:
    void SetUp() override {
        const auto text = [](const char* value) { return CVariant(std::string(value)); };
        const auto id = [](int value) { return CVariant(std::int32_t(value)); };
        const auto rating = [](int value) { return CVariant(std::int16_t(value)); };
        AddRow("Artists", {{"Name", text("The Beatles")}, {"UserRating", rating(6)}});
        AddRow("Artists", {{"Name", text("O'Brien")}, {"AutoRating", CVariant(5.5)}});
        AddRow("Artists", {{"Name", text("Various Artists")}});
        AddRow("Albums", {{"ArtistID", id(1)},
                          {"Name", text("Abbey Road")},
                          {"AutoRating", CVariant(5.5)},
                          {"FilePath", text("/m/abbey")}});
        AddRow("Albums", {{"ArtistID", id(1)}, {"Name", text("Help!")}, {"UserRating", rating(7)}});
        AddRow("Albums", {{"ArtistID", id(3)}, {"Name", text("Mixed")}});
        const auto song = [&](int artist, int album, const char* genre, int userRating, bool unsorted) {
            AddRow("Songs", {{"ArtistID", id(artist)},
                             {"AlbumID", id(album)},
                             {"Name", text("song")},
                             {"Genre", text(genre)},
                             {"UserRating", rating(userRating)},
                             {"PlayCount", id(userRating * 3)},
                             {"Unsorted", id(unsorted ? 1 : 0)},
                             {"FilePath", text("/m/song.mp3")}});
        };
        song(1, 1, "Rock", 6, false);
        song(1, 1, "Rock", 0, false);
        song(1, 1, "Pop", 4, false);
        song(1, 2, "Pop", 5, true);
        song(2, 3, "Rock", 2, false);
        song(2, 0, "Pop", 0, false);
        AddRow("Collections", {{"Name", text("Road trip")}});
        AddRow("Collections", {{"Name", text("Empty")}});
        AddRow("ColJunction", {{"ColID", id(1)}, {"SongID", id(1)}});
        AddRow("ColJunction", {{"ColID", id(1)}, {"SongID", id(5)}});
        AddRow("Genres", {{"Name", text("Rock")}});
        AddRow("Genres", {{"Name", text("Pop")}});
    }
};

TEST_P(StatementCatalogueTest, Runs) {
    const CatalogueEntry& entry = GetParam();
    if (entry.rows == -1) {
        EXPECT_NO_THROW(m_db->Execute(entry.sql, dbFailOnError));
        return;
    }
    CDbQuery query(*m_db, entry.sql);
    long rows = 0;
    for (CRecordset* row = query.GetRecordset(); row && !row->IsEOF(); row = query.Next()) {
        for (int field = 0; field < row->GetFieldCount(); ++field) {
            row->GetFieldValue(row->GetFieldName(field));
        }
        ++rows;
    }
    if (entry.rows >= 0) {
        EXPECT_EQ(rows, entry.rows);
    }
    EXPECT_EQ(query.GetCount(), rows);
}

INSTANTIATE_TEST_SUITE_P(Library, StatementCatalogueTest, ::testing::ValuesIn(Catalogue()),
                         [](const auto& test) { return test.param.name; });

TEST_F(LibraryFixture, ViewStatementsNameTheirColumnsAsTheGridReadsThem) {
    AddRow("Artists", {{"Name", CVariant(std::string("A"))}});
    AddRow("Albums", {{"ArtistID", CVariant(std::int32_t(1))}, {"Name", CVariant(std::string("B"))}});
    AddRow("Songs", {{"ArtistID", CVariant(std::int32_t(1))}, {"AlbumID", CVariant(std::int32_t(1))}});
    CDbQuery songs(*m_db, ViewSql(3, 0));
    CRecordset* row = songs.GetRecordset();
    EXPECT_EQ(row->GetFieldValue("ArtistName").AsText(), "A");
    EXPECT_EQ(row->GetFieldValue("AlbumName").AsText(), "B");
    EXPECT_EQ(row->GetFieldValue("ID").AsLong(), 1);
}

}  // namespace
