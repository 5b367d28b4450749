#include <gtest/gtest.h>

#include "browse/columnwidths.h"
#include "browse/modetree.h"
#include "browse/viewhistory.h"
#include "browse/viewquery.h"
#include "platform/inifile.h"
#include "support/libraryfixture.h"
#include "support/tempdir.h"

namespace {

DisplayMode View(int mode, int submode, std::int32_t artistId = 0, std::int32_t itemId = 0) {
    return *MakeView(mode, submode, artistId, itemId);
}

ViewFilters Rated(int rating, int play = 0) {
    ViewFilters filters;
    filters.ratingPosition = rating;
    filters.playPosition = play;
    return filters;
}

TEST(ViewQueryTest, StatementsCarryTheirClausesInOrder) {
    EXPECT_EQ(BuildViewQuery(View(0, 1), {}, false),
              "SELECT DISTINCT Artists.* FROM (Artists INNER JOIN Albums ON Artists.ID = Albums.ArtistID) LEFT JOIN "
              "Songs ON Songs.ArtistID = Artists.ID WHERE (Songs.Unsorted=FALSE OR Artists.Name='Various Artists')");
    EXPECT_EQ(BuildViewQuery(View(1, 0), Rated(5), false),
              "SELECT DISTINCT Albums.*,Artists.Name as ArtistName FROM ((Albums LEFT JOIN Artists ON "
              "Albums.ArtistID=Artists.ID) LEFT JOIN Songs ON Songs.AlbumID = Albums.ID) WHERE (Songs.Unsorted=FALSE) "
              "AND ((Albums.UserRating=0 AND Albums.AutoRating>=5) OR Albums.UserRating>=5)");
    EXPECT_EQ(BuildViewQuery(View(1, 2, 7), {}, false),
              "SELECT DISTINCT Albums.*, Artists.Name as ArtistName FROM (Albums LEFT JOIN Artists ON "
              "Albums.ArtistID=Artists.ID) LEFT JOIN Songs ON Songs.AlbumID = Albums.ID WHERE (Songs.Unsorted=FALSE) "
              "AND (Albums.ArtistID = 7)");
    const std::string songs = BuildViewQuery(View(3, 0), {}, false);
    EXPECT_EQ(BuildViewQuery(View(3, 2, 0), {}, false), songs) << "no artist, no scope clause";
    EXPECT_EQ(BuildViewQuery(View(3, 2, 4), Rated(3), false), songs +
                                                                  " WHERE (Songs.ArtistID = 4) AND "
                                                                  "(Songs.UserRating>=3 OR Songs.UserRating=0)");
    EXPECT_EQ(BuildViewQuery(View(3, 4, 9, 12), Rated(4), false), songs +
                                                                      " WHERE (Albums.ID = 12) AND "
                                                                      "(Songs.UserRating>=4)")
        << "a rating above the unrated value drops the unrated; 3/4 keeps no artist";
    EXPECT_EQ(BuildViewQuery(View(3, 0), Rated(4, 4), true), BuildViewQuery(View(3, 0), Rated(4), false))
        << "a play filter no stricter than the rating filter adds nothing";
    EXPECT_EQ(BuildViewQuery(View(3, 0), Rated(2, 6), true),
              songs + " WHERE (Songs.UserRating>=2 OR Songs.UserRating=0) AND (Songs.UserRating>=6)");
    EXPECT_EQ(BuildViewQuery(View(3, 0), Rated(0, 6), false), songs) << "the play filter only plays";

    ViewFilters genre;
    genre.genreId = 3;
    genre.genreName = "Rock 'n' Roll";
    EXPECT_EQ(BuildViewQuery(View(2, 0), genre, false),
              "SELECT DISTINCT Collections.* FROM (Collections LEFT JOIN ColJunction ON "
              "ColJunction.ColID=Collections.ID) LEFT JOIN Songs ON Songs.ID=ColJunction.SongID WHERE (Songs.Genre = "
              "'Rock ''n'' Roll')");
}

TEST(DisplayModeTest, ViewsKeepOnlyTheirScopeAndDrillDownAsDesigned) {
    EXPECT_FALSE(MakeView(1, 3, 0, 0));
    EXPECT_FALSE(MakeView(3, 6, 0, 0));
    EXPECT_EQ(View(3, 4, 9, 12), (DisplayMode{3, 4, 0, 12}));
    EXPECT_EQ(View(1, 2, 9, 12), (DisplayMode{1, 2, 9, 0}));
    EXPECT_EQ(DrillDownView(View(0, 1), 5), (DisplayMode{1, 2, 5, 0}));
    EXPECT_EQ(DrillDownView(View(1, 2, 5), -1), (DisplayMode{3, 3, 5, 0}));
    EXPECT_EQ(DrillDownView(View(1, 2, 5), 0), (DisplayMode{3, 2, 5, 0}));
    EXPECT_EQ(DrillDownView(View(1, 0), 8), (DisplayMode{3, 4, 0, 8}));
    EXPECT_EQ(DrillDownView(View(2, 0), 2), (DisplayMode{3, 5, 0, 2}));
    EXPECT_FALSE(DrillDownView(View(3, 0), 1));
    EXPECT_EQ(DefaultSortOf(View(1, 6)).column, 16);
    EXPECT_EQ(TreeEntryOfView(View(1, 6)), 6);
    EXPECT_EQ(TreeEntryOfView(View(1, 2, 5)), 0);
}

TEST(ViewHistoryTest, KeepsTwentyViewsAndNoEqualTopTwice) {
    CViewHistory history;
    EXPECT_EQ(history.Top(), View(0, 1)) << "the initial view";
    history.Push(View(3, 0));
    history.Push(View(3, 0));
    EXPECT_EQ(history.Count(), 1u);
    for (int album = 1; album <= 20; ++album) {
        history.Push(View(3, 4, 0, album));
    }
    EXPECT_EQ(history.Count(), 20u);
    for (int back = 0; back < 19; ++back) {
        history.Pop();
    }
    EXPECT_EQ(history.Top(), View(3, 4, 0, 1)) << "the first view is gone";
    history.Pop();
    history.Pop();
    EXPECT_EQ(history.Top(), View(0, 1));
}

TEST_F(LibraryFixture, TheViewTitleNamesWhatTheViewIsScopedTo) {
    const std::int32_t artist = AddArtist("O'Brien");
    CViewHistory history;
    history.Push(View(0, 1));
    EXPECT_EQ(GetViewTitle(history, *m_db), "Unknown");
    history.Push(View(1, 2, artist));
    EXPECT_EQ(GetViewTitle(history, *m_db), "O'Brien");
    EXPECT_EQ(history.Count(), 2u);
}

TEST(ColumnWidthsTest, DefaultsFillOnlyMissingKeysAndEverythingIsSavedAtOnce) {
    CTempDir dir;
    const std::string path = dir.File("Cadenzo.ini");
    WriteFile(path, "; mine\n[Grid Column Widths]\nSong Track Number Width=55\n[Other]\nkey=value\n");
    CIniFile settings(path, false);
    CColumnWidthTable widths;
    widths.Load(settings);
    EXPECT_EQ(widths[3][4], 55);
    EXPECT_EQ(widths[1][7], 100);
    int stored = 0;
    EXPECT_TRUE(settings.ReadInt("Genre Misc Width", "Grid Column Widths", stored));
    widths[0][5] = 321;
    ASSERT_TRUE(widths.Save(settings));
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("; mine\n"), std::string::npos);
    EXPECT_NE(text.find("Artist Name Width=321\n"), std::string::npos);
    EXPECT_NE(text.find("[Other]\nkey=value\n"), std::string::npos);
}

}  // namespace
