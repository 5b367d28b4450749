#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "db/records.h"
#include "librarygen.h"
#include "support/libraryfixture.h"

namespace {

class RatingsTest : public LibraryFixture {
protected:
    std::int32_t AddSong(std::int32_t artist, std::int32_t album, int rating, bool unsorted = false) {
        SongRecord song;
        song.artistId = artist;
        song.albumId = album;
        song.userRating = static_cast<std::int16_t>(rating);
        song.unsorted = unsorted;
        song.filePath = "/m/" + std::to_string(++m_songs) + ".mp3";
        return m_db->FindOrAddSong(song);
    }

    double StoredRating(const std::string& table, std::int32_t id) {
        return CDbTable(m_db.get(), table).LookupDouble("AutoRating", "ID", id);
    }

    int m_songs = 0;
};

TEST_F(RatingsTest, AlbumsTakeTheRootMeanSquareOfTheirSongs) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "A", 0, 0.0});
    const std::int32_t unrated = m_db->FindOrAddAlbum({0, artist, "Unrated", 0, 0.0, ""});
    const std::int32_t mixed = m_db->FindOrAddAlbum({0, artist, "Mixed", 0, 0.0, ""});
    const std::int32_t empty = m_db->FindOrAddAlbum({0, artist, "Empty", 0, 4.0, ""});
    for (int i = 0; i < 3; ++i) {
        AddSong(artist, unrated, 0);
    }
    AddSong(artist, mixed, 7);
    AddSong(artist, mixed, 1);

    int songs = 0;
    EXPECT_DOUBLE_EQ(m_db->ComputeAlbumAutoRating(unrated, artist, songs), 3.0);
    EXPECT_EQ(songs, 3);
    EXPECT_NEAR(m_db->ComputeAlbumAutoRating(mixed, artist, songs), 5.3037, 1e-4);
    EXPECT_NEAR(StoredRating("Albums", mixed), std::sqrt((7.5 * 7.5 + 0.1 * 0.1) / 2), 1e-12);
    EXPECT_EQ(m_db->ComputeAlbumAutoRating(empty, artist, songs), 0.0);
    EXPECT_EQ(songs, 0);
    EXPECT_EQ(StoredRating("Albums", empty), 0.0);
}

TEST_F(RatingsTest, AnAlbumsOwnRatingWinsInItsArtistsMean) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "A", 0, 0.0});
    const std::int32_t rated = m_db->FindOrAddAlbum({0, artist, "Rated", 6, 0.0, ""});
    const std::int32_t plain = m_db->FindOrAddAlbum({0, artist, "Plain", 0, 0.0, ""});
    AddSong(artist, rated, 0);
    AddSong(artist, rated, 0);
    AddSong(artist, plain, 0);

    EXPECT_DOUBLE_EQ(m_db->ComputeArtistAutoRating(artist), (6.0 * 2 + 3.0 * 1) / 3);
    EXPECT_DOUBLE_EQ(StoredRating("Artists", artist), 5.0);
    EXPECT_DOUBLE_EQ(StoredRating("Albums", rated), 3.0) << "the album still stores its computed value";
    EXPECT_EQ(m_db->ComputeArtistAutoRating(0), 0.0);
}

TEST_F(RatingsTest, LooseSongsOfAnArtistFormAGroupOfTheirOwn) {
    const std::int32_t owner = m_db->FindOrAddArtist({0, "Various Artists", 0, 0.0});
    const std::int32_t guest = m_db->FindOrAddArtist({0, "Guest", 0, 0.0});
    const std::int32_t compilation = m_db->FindOrAddAlbum({0, owner, "Hits", 0, 0.0, ""});
    AddSong(guest, compilation, 7);
    AddSong(guest, compilation, 7);
    AddSong(owner, compilation, 1);
    AddSong(guest, 0, 2, true);   // unsorted, on no album
    AddSong(guest, 0, 1, false);  // on no album, not unsorted: in no group at all

    const double expected = std::sqrt((7.5 * 7.5 * 2 + 1.5 * 1.5) / 3);
    EXPECT_DOUBLE_EQ(m_db->ComputeArtistAutoRating(guest), expected);
    EXPECT_DOUBLE_EQ(StoredRating("Albums", compilation), std::sqrt((7.5 * 7.5 * 2 + 0.1 * 0.1) / 3))
        << "the other artist's album is brought up to date on the way";
}

TEST_F(RatingsTest, CollectionsRateTheirSongs) {
    const std::int32_t collection = m_db->FindOrAddCollection({0, "C", 5, 0.0});
    m_db->AddSongToCollection(AddSong(1, 0, 7), collection);
    m_db->AddSongToCollection(AddSong(1, 0, 1), collection);
    int songs = 0;
    EXPECT_NEAR(m_db->ComputeCollectionAutoRating(collection, songs), 5.3037, 1e-4);
    EXPECT_EQ(songs, 2);
    const std::int32_t empty = m_db->FindOrAddCollection({0, "Empty", 0, 2.0});
    EXPECT_EQ(m_db->ComputeCollectionAutoRating(empty, songs), 0.0);
    EXPECT_EQ(StoredRating("Collections", empty), 0.0);
}

TEST_F(RatingsTest, TheScaleReadsAsLabelsAndColours) {
    const std::vector<std::string> labels = m_db->ReadRatingLabels();
    ASSERT_EQ(labels.size(), 8u);
    EXPECT_EQ(labels[0], "0 - None");
    EXPECT_EQ(labels[7], "7 - Favorite");
    std::vector<std::string> gridLabels;
    std::vector<std::uint32_t> colours;
    m_db->ReadRatingTable(gridLabels, colours);
    EXPECT_EQ(gridLabels[0], "0 - Not Rated");
    EXPECT_EQ(gridLabels[3], "3 - Neutral");
    EXPECT_EQ(colours[0], kDefaultRowColour);
    EXPECT_EQ(colours[1], 0x808080u);
    EXPECT_EQ(colours[7], 0xFFC0FFu);
}

// Reads every stored AutoRating, by table and ID.
std::map<std::pair<std::string, std::int32_t>, double> StoredRatings(CLibraryDb& db) {
    std::map<std::pair<std::string, std::int32_t>, double> ratings;
    for (const char* table : {"Artists", "Albums", "Collections"}) {
        CDbQuery query(db, std::string("SELECT ID, AutoRating FROM ") + table);
        for (CRecordset* row = query.GetRecordset(); row && !row->IsEOF(); row = query.Next()) {
            ratings[{table, row->GetFieldValue("ID").AsLong()}] = row->GetFieldValue("AutoRating").AsDouble();
        }
    }
    return ratings;
}

void ForgetRatings(CLibraryDb& db) {
    for (const char* table : {"Artists", "Albums", "Collections"}) {
        db.Execute(std::string("UPDATE ") + table + " SET AutoRating = -1", dbFailOnError);
    }
}

TEST_F(RatingsTest, RecalcGivesWhatComputingEachItemGives) {
    BuildSyntheticLibrary(*m_db, {150, 600, 6000, 20, 30});
    // Cases the generator does not make: an album whose artist is gone but which holds songs
    // of a living artist, an artist without songs, a collection linking a song twice.
    const std::int32_t orphan = m_db->FindOrAddAlbum({0, 99999, "Orphan", 0, 0.0, ""});
    AddSong(3, orphan, 6);
    AddSong(99999, orphan, 2);
    m_db->FindOrAddArtist({0, "Silent", 0, 0.0});
    m_db->Execute("INSERT INTO ColJunction (ColID, SongID) VALUES (1, 1)", dbFailOnError);
    m_db->Execute("INSERT INTO ColJunction (ColID, SongID) VALUES (1, 1)", dbFailOnError);

    ForgetRatings(*m_db);
    IdList ids;
    NameList ignored;
    m_db->FillNameList(ignored, ids, "Artists", "Name", "ID");
    for (const std::int32_t artist : ids) {
        m_db->ComputeArtistAutoRating(artist);
    }
    m_db->FillNameList(ignored, ids, "Collections", "Name", "ID");
    int songs = 0;
    for (const std::int32_t collection : ids) {
        m_db->ComputeCollectionAutoRating(collection, songs);
    }
    const auto itemByItem = StoredRatings(*m_db);

    ForgetRatings(*m_db);
    m_db->RecalcRatings();
    const auto recalculated = StoredRatings(*m_db);
    EXPECT_EQ(recalculated, itemByItem);
    EXPECT_EQ(recalculated.at({"Albums", orphan}), std::sqrt((6.75 * 6.75 + 1.5 * 1.5) / 2));

    m_db->RecalcRatings();
    EXPECT_EQ(StoredRatings(*m_db), itemByItem) << "a second run changes nothing";
}

}  // namespace
