#include "browse/viewrows.h"

#include <cmath>

#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/librarydb.h"

namespace {

// The positions of a view's fields in its statement's result, looked up once; -1 for a field
// the view's mode does not have.
struct ViewFields {
    ViewFields(CRecordset& record, int mode) {
        const auto at = [&](const char* field, bool used) { return used ? record.FieldIndex(field) : -1; };
        const bool songs = mode == kSongsMode;
        const bool albumsOrSongs = mode == kAlbumsMode || songs;
        id = at("ID", true);
        name = at("Name", true);
        userRating = at("UserRating", true);
        autoRating = at("AutoRating", !songs);
        artistId = at("ArtistID", albumsOrSongs);
        artistName = at("ArtistName", albumsOrSongs);
        filePath = at("FilePath", albumsOrSongs);
        albumId = at("AlbumID", songs);
        albumName = at("AlbumName", songs);
        track = at("Track", songs);
        length = at("Length", songs);
        playCount = at("PlayCount", songs);
        unsorted = at("Unsorted", songs);
    }

    void Read(CRecordset& record, ViewRow& row) const {
        row.id = record.FieldAt(id).AsLong();
        row.name = record.FieldAt(name).AsText();
        row.userRating = record.FieldAt(userRating).AsLong();
        if (autoRating >= 0) {
            row.autoRating = record.FieldAt(autoRating).AsDouble();
        }
        if (artistId >= 0) {
            row.artistId = record.FieldAt(artistId).AsLong();
            row.artistName = record.FieldAt(artistName).AsText();
            row.filePath = record.FieldAt(filePath).AsText();
        }
        if (albumId >= 0) {
            row.albumId = record.FieldAt(albumId).AsLong();
            row.albumName = record.FieldAt(albumName).AsText();
            row.track = record.FieldAt(track).AsText();
            row.length = record.FieldAt(length).AsText();
            row.playCount = record.FieldAt(playCount).AsLong();
            row.unsorted = record.FieldAt(unsorted).AsLong() != 0;
        }
    }

    int id, name, userRating, autoRating, artistId, artistName, filePath, albumId, albumName, track, length, playCount,
        unsorted;
};

}  // namespace

void ForEachViewRow(CLibraryDb& db, const std::string& sql, int mode, const std::function<void(ViewRow&)>& take) {
    CDbQuery query(db, sql);
    CRecordset* record = query.GetRecordset();
    if (record == nullptr) {
        return;
    }
    const ViewFields fields(*record, mode);
    ViewRow row;
    for (; record != nullptr && !record->IsEOF(); record = query.Next()) {
        fields.Read(*record, row);
        take(row);
    }
}

std::vector<ViewRow> ReadViewRows(CLibraryDb& db, const std::string& sql, int mode) {
    std::vector<ViewRow> rows;
    ForEachViewRow(db, sql, mode, [&rows](ViewRow& row) { rows.push_back(std::move(row)); });
    return rows;
}

int ColourRating(int userRating, double autoRating, int mode, int ratingCount) {
    double rating = userRating;
    if (userRating == 0) {
        rating = mode == kSongsMode || !std::isfinite(autoRating) ? 0.0 : std::round(autoRating);
    }
    return rating >= 0 && rating < ratingCount ? static_cast<int>(rating) : 0;
}

std::string TotalRatingText(int userRating, double autoRating) {
    return fmt::sprintf("%.2f", userRating != 0 ? static_cast<double>(userRating) : autoRating);
}
