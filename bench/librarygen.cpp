#include "librarygen.h"

#include <fmt/format.h>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "db/records.h"
#include "engine/transaction.h"

std::int32_t InsertSong(CLibraryDb& db, int number) {
    CDbTable songs(&db, "Songs");
    CDbQuery query(songs);
    CRecordset* rows = query.GetRecordset();
    rows->AddNew();
    rows->SetFieldValue("ArtistID", CVariant(static_cast<std::int32_t>(number % 2000 + 1)));
    rows->SetFieldValue("AlbumID", CVariant(static_cast<std::int32_t>(number % 10000 + 1)));
    rows->SetFieldValue("Name", CVariant(fmt::format("Song number {}", number)));
    rows->SetFieldValue("Length", CVariant(std::string("3:45")));
    rows->SetFieldValue("Year", CVariant(std::string("1999")));
    rows->SetFieldValue("Track", CVariant(std::to_string(number % 12 + 1)));
    rows->SetFieldValue("Genre", CVariant(std::string("Rock")));
    rows->SetFieldValue("UserRating", CVariant(static_cast<std::int16_t>(number % 8)));
    rows->SetFieldValue("PlayCount", CVariant(static_cast<std::int32_t>(number % 50)));
    rows->SetFieldValue("FileType", CVariant(static_cast<std::int16_t>(1)));
    rows->SetFieldValue("FilePath", CVariant(fmt::format("/music/artist {}/album {}/{:05}.mp3", number % 2000,
                                                         number % 10000, number)));
    const std::int32_t id = rows->GetFieldValue("ID").AsLong();
    rows->Update();
    return id;
}

namespace {

// A small deterministic generator, so every run builds the same library.
class CSequence {
public:
    unsigned Next(unsigned bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(m_state >> 33) % bound;
    }

private:
    unsigned long long m_state = 12345;
};

SongRecord SyntheticSong(const LibraryShape& shape, int number, const IdList& artistIds, const IdList& albumIds,
                         CSequence& random) {
    const int album = number % shape.albums;
    int artist = album % shape.artists;
    SongRecord song;
    song.name = fmt::format("Track {} of album {}", number / shape.albums + 1, album);
    song.albumId = random.Next(100) < 2 ? 0 : albumIds[static_cast<std::size_t>(album)];
    if (random.Next(100) < 10) {
        artist = (artist + 1 + static_cast<int>(random.Next(7))) % shape.artists;
    }
    song.artistId = artistIds[static_cast<std::size_t>(artist)];
    song.length = fmt::format("{}:{:02}", 2 + random.Next(5), random.Next(60));
    song.year = std::to_string(1960 + random.Next(60));
    song.track = std::to_string(number / shape.albums + 1);
    song.genre = random.Next(2) == 0 ? "Rock" : "Jazz";
    song.userRating = static_cast<std::int16_t>(random.Next(100) < 40 ? 0 : 1 + random.Next(7));
    song.unsorted = random.Next(100) < 5;
    song.fileType = 1;
    song.filePath = fmt::format("/music/{}/{}/{:06}.mp3", artist, album, number);
    return song;
}

}  // namespace

void BuildSyntheticLibrary(CLibraryDb& db, const LibraryShape& shape) {
    CTransaction transaction(db);
    CSequence random;
    IdList artistIds;
    for (int i = 0; i < shape.artists; ++i) {
        artistIds.push_back(db.FindOrAddArtist({0, fmt::format("Artist {}", i), 0, 0.0}));
    }
    IdList albumIds;
    for (int i = 0; i < shape.albums; ++i) {
        const auto rating = static_cast<std::int16_t>(random.Next(100) < 80 ? 0 : 1 + random.Next(7));
        albumIds.push_back(db.FindOrAddAlbum({0, artistIds[static_cast<std::size_t>(i % shape.artists)],
                                              fmt::format("Album {}", i), rating, 0.0, fmt::format("/music/{}", i)}));
    }
    IdList songIds;
    for (int i = 0; i < shape.songs; ++i) {
        songIds.push_back(db.FindOrAddSong(SyntheticSong(shape, i, artistIds, albumIds, random)));
    }
    CDbTable songs(&db, "Songs");
    for (const std::int32_t id : songIds) {
        const unsigned plays = random.Next(100) < 30 ? 0 : random.Next(200);
        songs.UpdateLong("PlayCount", "ID", id, static_cast<std::int32_t>(plays));
    }
    for (int i = 0; i < shape.collections; ++i) {
        const std::int32_t collection = db.FindOrAddCollection({0, fmt::format("Collection {}", i), 0, 0.0});
        for (int j = 0; j < shape.songsPerCollection; ++j) {
            db.AddSongToCollection(songIds[random.Next(static_cast<unsigned>(songIds.size()))], collection);
        }
    }
    transaction.Commit();
}

void AddSyntheticSongs(CLibraryDb& db, int count) {
    CTransaction transaction(db);
    for (int i = 0; i < count; ++i) {
        InsertSong(db, i);
    }
    transaction.Commit();
}

void AddSyntheticArtists(CLibraryDb& db, int count) {
    CTransaction transaction(db);
    for (int i = 0; i < count; ++i) {
        db.FindOrAddArtist({0, fmt::format("Artist {}", i), 0, 0.0});
    }
    transaction.Commit();
}
