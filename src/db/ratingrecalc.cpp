#include "db/ratingrecalc.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "db/librarysql.h"
#include "db/ratingtally.h"

namespace {

struct AlbumState {
    std::int32_t artistId = 0;
    std::int16_t userRating = 0;
    double storedRating = 0.0;
    CRatingTally songs;
    bool computed = false;  // reached by the artist loop, as the album of an artist or of their songs

    double Effective() const { return userRating != 0 ? userRating : songs.RootMeanSquare(); }
};

struct RatedRow {
    std::int32_t id = 0;
    double storedRating = 0.0;
};

// Every row of the statement, which names an ID and an AutoRating.
std::vector<RatedRow> ReadRatedRows(CLibraryDb& db, const std::string& sql) {
    std::vector<RatedRow> rows;
    CDbQuery query(db, sql);
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        rows.push_back({row->GetFieldValue("ID").AsLong(), row->GetFieldValue("AutoRating").AsDouble()});
    }
    return rows;
}

class CRatingRecalc {
public:
    explicit CRatingRecalc(CLibraryDb& db) : m_db(db) {}

    void Run() {
        ReadAlbums();
        const std::vector<RatedRow> artists = ReadRatedRows(m_db, kArtistRatingsSql);
        for (const RatedRow& artist : artists) {
            if (artist.id >= 1) {
                m_artists.insert(artist.id);
            }
        }
        TallySongs();
        WriteAlbums();
        WriteArtists(artists);
        WriteCollections();
    }

private:
    void ReadAlbums() {
        CDbQuery query(m_db, kAlbumRatingsSql);
        for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
            AlbumState& album = m_albums[row->GetFieldValue("ID").AsLong()];
            album.artistId = row->GetFieldValue("ArtistID").AsLong();
            album.userRating = row->GetFieldValue("UserRating").AsShort();
            album.storedRating = row->GetFieldValue("AutoRating").AsDouble();
        }
    }

    // An album's songs are those whose AlbumID names it. An artist's loose songs sit on an
    // album of another artist or are marked Unsorted; such an album is computed too.
    void TallySongs() {
        CDbQuery query(m_db, kSongRatingsSql);
        for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
            const std::int32_t artistId = row->GetFieldValue("ArtistID").AsLong();
            const int rating = row->GetFieldValue("UserRating").AsShort();
            const auto album = m_albums.find(row->GetFieldValue("AlbumID").AsLong());
            const bool onOtherArtistsAlbum = album != m_albums.end() && album->second.artistId != artistId;
            if (album != m_albums.end()) {
                album->second.songs.Add(rating);
            }
            if (m_artists.count(artistId) == 0) {
                continue;
            }
            if (onOtherArtistsAlbum) {
                album->second.computed = true;
            }
            if (onOtherArtistsAlbum || row->GetFieldValue("IsUnsorted").AsLong() != 0) {
                m_looseSongs[artistId].Add(rating);
            }
        }
    }

    void WriteAlbums() {
        CDbTable albums(&m_db, "Albums");
        for (auto& [id, album] : m_albums) {
            album.computed = album.computed || m_artists.count(album.artistId) != 0;
            const double rating = album.songs.RootMeanSquare();
            if (album.computed && rating != album.storedRating) {
                albums.UpdateDouble("AutoRating", "ID", id, rating);
            }
        }
    }

    // The song-weighted mean of the loose songs and the artist's albums (in ID order), each
    // album with its effective rating.
    void WriteArtists(const std::vector<RatedRow>& artists) {
        std::map<std::int32_t, std::vector<std::int32_t>> albumsOfArtist;
        for (const auto& [id, album] : m_albums) {
            albumsOfArtist[album.artistId].push_back(id);
        }
        CDbTable table(&m_db, "Artists");
        for (const RatedRow& artist : artists) {
            if (artist.id < 1) {
                continue;
            }
            const CRatingTally& loose = m_looseSongs[artist.id];
            double total = loose.RootMeanSquare() * loose.Count();
            int count = loose.Count();
            std::vector<std::int32_t>& albums = albumsOfArtist[artist.id];
            std::sort(albums.begin(), albums.end());
            for (const std::int32_t id : albums) {
                const AlbumState& album = m_albums.at(id);
                total += album.Effective() * album.songs.Count();
                count += album.songs.Count();
            }
            if (count != 0) {
                total /= count;
            }
            if (total != artist.storedRating) {
                table.UpdateDouble("AutoRating", "ID", artist.id, total);
            }
        }
    }

    void WriteCollections() {
        std::unordered_map<std::int32_t, CRatingTally> songsOf;
        CDbQuery query(m_db, kCollectionSongRatingsSql);
        for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
            songsOf[row->GetFieldValue("ColID").AsLong()].Add(row->GetFieldValue("UserRating").AsShort());
        }
        CDbTable table(&m_db, "Collections");
        for (const RatedRow& collection : ReadRatedRows(m_db, kCollectionRatingsSql)) {
            const double rating = songsOf[collection.id].RootMeanSquare();
            if (rating != collection.storedRating) {
                table.UpdateDouble("AutoRating", "ID", collection.id, rating);
            }
        }
    }

    CLibraryDb& m_db;
    std::unordered_map<std::int32_t, AlbumState> m_albums;
    std::set<std::int32_t> m_artists;
    std::unordered_map<std::int32_t, CRatingTally> m_looseSongs;
};

}  // namespace

void RecalcAllRatings(CLibraryDb& db) {
    CRatingRecalc(db).Run();
}
