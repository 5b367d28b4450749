#include <gtest/gtest.h>

#include "db/records.h"
#include "support/libraryfixture.h"

namespace {

class LibraryStoreTest : public LibraryFixture {
protected:
    SongRecord Song(const std::string& path, std::int32_t artist = 0, std::int32_t album = 0) {
        SongRecord song;
        song.name = "Song at " + path;
        song.artistId = artist;
        song.albumId = album;
        song.filePath = path;
        return song;
    }

    long Count(const std::string& sql) { return CDbQuery(*m_db, sql).GetCount(); }

    IdList SongsOfCollection(std::int32_t collection) {
        IdList ids;
        m_db->GetSongIdsOfCollection(ids, collection);
        return ids;
    }
};

TEST_F(LibraryStoreTest, FindsNamesIgnoringCaseAndPathsExactly) {
    const std::int32_t beatles = m_db->FindOrAddArtist({0, "The Beatles", 0, 0.0});
    EXPECT_EQ(m_db->FindArtistId("the beatles"), beatles);
    EXPECT_EQ(m_db->FindOrAddArtist({99, "THE BEATLES", 5, 1.0}), beatles) << "found, not added";
    EXPECT_EQ(m_db->FindArtistId(""), 0);

    const std::int32_t obrien = m_db->FindOrAddArtist({0, "Conan O'Brien", 0, 0.0});
    EXPECT_EQ(m_db->FindArtistId("Conan O'Brien"), obrien);
    const std::int32_t album = m_db->FindOrAddAlbum({0, obrien, "Rock 'n' Roll", 0, 0.0, "/m/o"});
    EXPECT_EQ(m_db->FindAlbumId("rock 'n' roll", obrien), album);
    const std::int32_t collection = m_db->FindOrAddCollection({0, "Don't Stop", 0, 0.0});
    EXPECT_EQ(m_db->FindCollectionId("DON'T STOP"), collection);
    const std::int32_t genre = m_db->FindOrAddGenre({0, "Drum'n'Bass", 0});
    EXPECT_EQ(m_db->FindGenreId("drum'n'bass"), genre);

    const std::int32_t lower = m_db->FindOrAddSong(Song("/m/a.mp3"));
    EXPECT_EQ(m_db->FindSongIdByPath("/m/A.mp3"), 0);
    const std::int32_t upper = m_db->FindOrAddSong(Song("/m/A.mp3"));
    EXPECT_NE(lower, upper) << "paths that differ in case are two songs";
    const std::string latin1 = "/m/caf\xE9.mp3";
    const std::int32_t bytes = m_db->FindOrAddSong(Song(latin1));
    EXPECT_EQ(m_db->FindSongIdByPath(latin1), bytes);
    EXPECT_EQ(m_db->ReadSong(bytes).filePath, latin1) << "a path that is not UTF-8 comes back byte for byte";
}

TEST_F(LibraryStoreTest, EmptyNamesAndNamesOfOtherArtistsAddNewItems) {
    const std::int32_t first = m_db->FindOrAddArtist({0, "", 0, 0.0});
    const std::int32_t second = m_db->FindOrAddArtist({0, "", 0, 0.0});
    EXPECT_NE(first, second);
    EXPECT_EQ(Count("SELECT * FROM Artists"), 2);

    const std::int32_t a = m_db->FindOrAddArtist({0, "A", 0, 0.0});
    const std::int32_t b = m_db->FindOrAddArtist({0, "B", 0, 0.0});
    EXPECT_NE(m_db->FindOrAddAlbum({0, a, "Greatest Hits", 0, 0.0, ""}),
              m_db->FindOrAddAlbum({0, b, "Greatest Hits", 0, 0.0, ""}));
}

TEST_F(LibraryStoreTest, SongsKeepTheirFieldsAndPlayCount) {
    SongRecord song = Song("/m/song.mp3", 3, 4);
    song.length = "3:05";
    song.year = "1969";
    song.track = "7";
    song.genre = "Rock";
    song.userRating = 6;
    song.bestOf = true;
    song.fileType = 2;
    song.unsorted = true;
    song.name = "Сон Japanese 夢";
    song.id = m_db->FindOrAddSong(song);
    EXPECT_EQ(m_db->ReadSong(song.id), song);

    m_db->Execute("UPDATE Songs SET PlayCount = PlayCount+1 WHERE ID = 1", dbFailOnError);
    SongRecord changed = song;
    changed.filePath = "/m/other.mp3";
    EXPECT_EQ(m_db->FindOrAddSong(changed), song.id + 1) << "another path is another song";
    changed.filePath = song.filePath;
    changed.name = "Different";
    EXPECT_EQ(m_db->FindOrAddSong(changed), song.id) << "the same path changes nothing";
    EXPECT_EQ(m_db->ReadSong(song.id).name, song.name);

    changed.unsorted = false;
    changed.bestOf = false;
    EXPECT_TRUE(m_db->UpdateSong(changed));
    EXPECT_EQ(m_db->ReadSong(song.id), changed);
    EXPECT_EQ(CDbTable(m_db.get(), "Songs").LookupLong("PlayCount", "ID", song.id), 1);

    changed.id = 999;
    EXPECT_FALSE(m_db->UpdateSong(changed));
    EXPECT_EQ(m_db->ReadSong(999), SongRecord());
}

TEST_F(LibraryStoreTest, NamesAreReadAndChangedByKind) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "Prince", 0, 0.0});
    EXPECT_EQ(m_db->GetItemName(kArtistItem, artist), "Prince");
    EXPECT_TRUE(m_db->RenameItem("The Artist", kArtistItem, artist));
    EXPECT_EQ(m_db->GetItemName(kArtistItem, artist), "The Artist");
    EXPECT_FALSE(m_db->RenameItem("x", kAlbumItem, 5));
    EXPECT_EQ(m_db->GetItemName(kGenreItem, 5), "");
    EXPECT_FALSE(m_db->RenameItem("x", static_cast<ItemKind>(17), artist));
}

TEST_F(LibraryStoreTest, CollectionLinksAreKeptOnce) {
    const std::int32_t song = m_db->FindOrAddSong(Song("/m/1.mp3"));
    const std::int32_t collection = m_db->FindOrAddCollection({0, "Mix", 0, 0.0});
    EXPECT_TRUE(m_db->AddSongToCollection(song, collection));
    EXPECT_TRUE(m_db->AddSongToCollection(song, collection));
    EXPECT_FALSE(m_db->AddSongToCollection(song, 0));
    EXPECT_FALSE(m_db->AddSongToCollection(0, collection));
    EXPECT_EQ(Count("SELECT * FROM ColJunction"), 1);
    IdList ids;
    m_db->GetCollectionIdsOfSong(ids, song);
    EXPECT_EQ(ids, IdList{collection});
    EXPECT_EQ(SongsOfCollection(collection), IdList{song});
}

TEST_F(LibraryStoreTest, ShallowRemovalTouchesOnlyTheItem) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "A", 0, 0.0});
    const std::int32_t album = m_db->FindOrAddAlbum({0, artist, "Al", 0, 0.0, ""});
    const std::int32_t song = m_db->FindOrAddSong(Song("/m/1.mp3", artist, album));
    const std::int32_t other = m_db->FindOrAddSong(Song("/m/2.mp3", artist, album));
    const std::int32_t collection = m_db->FindOrAddCollection({0, "C", 0, 0.0});
    m_db->AddSongToCollection(song, collection);
    m_db->AddSongToCollection(other, collection);

    EXPECT_TRUE(m_db->RemoveItem(kSongItem, song, false));
    EXPECT_EQ(SongsOfCollection(collection), IdList{other}) << "the song's links went first";
    EXPECT_TRUE(m_db->RemoveItem(kAlbumItem, album, false));
    EXPECT_EQ(m_db->ReadSong(other).albumId, album) << "songs keep their album ID";
    EXPECT_TRUE(m_db->RemoveItem(kCollectionItem, collection, false));
    EXPECT_EQ(Count("SELECT * FROM ColJunction"), 1) << "a removed collection's links stay";
    EXPECT_TRUE(m_db->RemoveItem(kArtistItem, artist, false));
    EXPECT_EQ(m_db->ReadSong(other).artistId, artist);
    EXPECT_GT(m_db->FindOrAddSong(Song("/m/3.mp3")), other) << "a removed song's ID is never given again";
}

TEST_F(LibraryStoreTest, DeepRemovalTakesTheSubitems) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "Owner", 0, 0.0});
    const std::int32_t guest = m_db->FindOrAddArtist({0, "Guest", 0, 0.0});
    const std::int32_t album = m_db->FindOrAddAlbum({0, artist, "Split", 0, 0.0, ""});
    const std::int32_t own = m_db->FindOrAddSong(Song("/m/own.mp3", artist, album));
    const std::int32_t guestSong = m_db->FindOrAddSong(Song("/m/guest.mp3", guest, album));
    const std::int32_t elsewhere = m_db->FindOrAddSong(Song("/m/loose.mp3", artist, 0));
    const std::int32_t collection = m_db->FindOrAddCollection({0, "C", 0, 0.0});
    m_db->AddSongToCollection(own, collection);

    EXPECT_TRUE(m_db->RemoveItem(kArtistItem, artist, true));
    EXPECT_EQ(m_db->ReadSong(own).id, 0);
    EXPECT_EQ(m_db->ReadSong(elsewhere).id, 0);
    EXPECT_EQ(m_db->GetItemName(kAlbumItem, album), "");
    EXPECT_EQ(m_db->ReadSong(guestSong).albumId, album) << "another artist's song on the album stays";
    EXPECT_EQ(Count("SELECT * FROM ColJunction"), 0);
    EXPECT_EQ(m_db->FindArtistId("Owner"), 0);

    const std::int32_t keeper = m_db->FindOrAddAlbum({0, guest, "Keeper", 0, 0.0, ""});
    const std::int32_t kept = m_db->FindOrAddSong(Song("/m/kept.mp3", guest, keeper));
    const std::int32_t mixed = m_db->FindOrAddCollection({0, "Mixed", 0, 0.0});
    m_db->AddSongToCollection(kept, mixed);
    EXPECT_TRUE(m_db->RemoveItem(kCollectionItem, mixed, true));
    EXPECT_EQ(m_db->ReadSong(kept).id, 0) << "a collection's songs leave the whole library";
    EXPECT_EQ(m_db->GetItemName(kAlbumItem, keeper), "Keeper");

    const std::int32_t last = m_db->FindOrAddSong(Song("/m/last.mp3", guest, keeper));
    EXPECT_TRUE(m_db->RemoveItem(kAlbumItem, keeper, true));
    EXPECT_EQ(m_db->ReadSong(last).id, 0);
    EXPECT_EQ(m_db->FindOrAddSong(Song("/m/new.mp3")), last + 1) << "IDs are never reused";
}

TEST_F(LibraryStoreTest, ListsForDialogs) {
    NameList names;
    IdList ids;
    EXPECT_TRUE(m_db->FillGenreList(names, ids, true));
    EXPECT_EQ(names, NameList{"* All"});
    EXPECT_EQ(ids, IdList{0});
    m_db->FindOrAddGenre({0, "Rock", 0});
    m_db->FindOrAddGenre({0, "Jazz", 0});
    m_db->FillGenreList(names, ids, false);
    EXPECT_EQ(names, (NameList{"Rock", "Jazz"}));
    EXPECT_EQ(ids, (IdList{1, 2}));

    const std::int32_t artist = m_db->FindOrAddArtist({0, "Miles", 0, 0.0});
    m_db->FindOrAddAlbum({0, artist, "Kind of Blue", 0, 0.0, ""});
    m_db->FillNameListJoined(names, ids,
                             "SELECT DISTINCT Albums.*, Artists.Name as ArtistName FROM (Albums LEFT JOIN Artists ON "
                             "Albums.ArtistID=Artists.ID)",
                             "Name", "ArtistName", "ID");
    EXPECT_EQ(names, NameList{"Kind of Blue - Miles"});
    m_db->FillNameList(names, ids, "Artists", "Name", "ID");
    EXPECT_EQ(names, NameList{"Miles"});
    EXPECT_EQ(ids, IdList{artist});
}

}  // namespace
