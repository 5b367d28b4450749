// The rating operations of CLibraryDb: the rating scale and the computed AutoRatings.

#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "db/librarysql.h"
#include "db/ratingrecalc.h"
#include "db/ratingtally.h"
#include "engine/transaction.h"

namespace {

std::uint32_t RowColour(int red, int green, int blue) {
    if (red == 0 && green == 0 && blue == 0) {
        return kDefaultRowColour;
    }
    return static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
}

}  // namespace

std::vector<std::string> CLibraryDb::ReadRatingLabels() {
    std::vector<std::string> labels;
    CDbTable ratings(this, "Ratings");
    CDbQuery query(ratings);
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        const int rating = row->GetFieldValue("Rating").AsShort();
        labels.push_back(
            fmt::sprintf("%d - %s", rating, rating == 0 ? "None" : row->GetFieldValue("Description").AsText()));
    }
    return labels;
}

void CLibraryDb::ReadRatingTable(std::vector<std::string>& labels, std::vector<std::uint32_t>& colours) {
    labels.clear();
    colours.clear();
    CDbTable ratings(this, "Ratings");
    CDbQuery query(ratings);
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        labels.push_back(fmt::sprintf("%d - %s", row->GetFieldValue("Rating").AsShort(),
                                      row->GetFieldValue("Description").AsText()));
        colours.push_back(RowColour(row->GetFieldValue("BGColorR").AsByte(), row->GetFieldValue("BGColorG").AsByte(),
                                    row->GetFieldValue("BGColorB").AsByte()));
    }
}

double CLibraryDb::RootMeanSquareOf(const std::string& sql, int& songCount) {
    CRatingTally tally;
    CDbQuery songs(*this, sql);
    for (CRecordset* row = songs.GetRecordset(); row != nullptr && !row->IsEOF(); row = songs.Next()) {
        tally.Add(row->GetFieldValue("UserRating").AsShort());
    }
    songCount = tally.Count();
    return tally.RootMeanSquare();
}

double CLibraryDb::ComputeAlbumAutoRating(std::int32_t albumId, std::int32_t artistId, int& songCount) {
    const std::string songs = albumId != 0 ? SongsOfAlbumSql(albumId) : LooseSongsOfArtistSql(artistId);
    const double autoRating = RootMeanSquareOf(songs, songCount);
    CDbTable albums(this, "Albums");
    albums.UpdateDouble("AutoRating", "ID", albumId, autoRating);
    const std::int16_t userRating = albums.LookupShort("UserRating", "ID", albumId);
    return userRating != 0 ? userRating : autoRating;
}

double CLibraryDb::ComputeArtistAutoRating(std::int32_t artistId) {
    if (artistId < 1) {
        return 0.0;
    }
    int songs = 0;
    double total = ComputeAlbumAutoRating(0, artistId, songs) * songs;
    int count = songs;

    // The album lists are read whole first: the computations write to Albums.
    IdList albums;
    ReadIdList(albums, AlbumsOfArtistSql(artistId));
    for (const std::int32_t album : albums) {
        total += ComputeAlbumAutoRating(album, artistId, songs) * songs;
        count += songs;
    }
    if (count != 0) {
        total /= count;
    }
    // Albums of other artists that hold this artist's songs are brought up to date too.
    ReadIdList(albums, OtherArtistsAlbumsWithSongsOfSql(artistId));
    for (const std::int32_t album : albums) {
        ComputeAlbumAutoRating(album, artistId, songs);
    }
    CDbTable(this, "Artists").UpdateDouble("AutoRating", "ID", artistId, total);
    return total;
}

double CLibraryDb::ComputeCollectionAutoRating(std::int32_t collectionId, int& songCount) {
    const double autoRating = RootMeanSquareOf(SongsOfCollectionSql(collectionId), songCount);
    CDbTable(this, "Collections").UpdateDouble("AutoRating", "ID", collectionId, autoRating);
    return autoRating;
}

double CLibraryDb::StoreUserRating(ItemKind kind, std::int32_t id, int rating) {
    CTransaction transaction(*this);
    CDbTable items(this, std::string(ModeTableNames[static_cast<std::size_t>(kind)]));
    items.UpdateShort("UserRating", "ID", id, static_cast<std::int16_t>(rating));
    const double autoRating = kind == kSongItem ? 0.0 : items.LookupDouble("AutoRating", "ID", id);
    if (kind == kAlbumItem || kind == kSongItem) {
        ComputeArtistAutoRating(items.LookupLong("ArtistID", "ID", id));
    }
    if (kind == kSongItem) {
        IdList collections;
        GetCollectionIdsOfSong(collections, id);
        for (const std::int32_t collection : collections) {
            int songs = 0;
            ComputeCollectionAutoRating(collection, songs);
        }
    }
    transaction.Commit();
    if (kind == kSongItem) {
        SongDataChanged({id});
    }
    return autoRating;
}

void CLibraryDb::RecalcRatingsOf(const std::set<std::int32_t>& artists, const std::set<std::int32_t>& collections) {
    if (artists.empty() && collections.empty()) {
        return;
    }
    CTransaction transaction(*this);
    for (const std::int32_t artist : artists) {
        ComputeArtistAutoRating(artist);
    }
    for (const std::int32_t collection : collections) {
        int songs = 0;
        ComputeCollectionAutoRating(collection, songs);
    }
    transaction.Commit();
}

void CLibraryDb::RecalcRatings() {
    // One transaction: all or nothing, and one write to disk instead of one per row.
    CTransaction transaction(*this);
    RecalcAllRatings(*this);
    transaction.Commit();
}
