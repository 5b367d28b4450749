#include "browse/viewrows.h"

#include <cmath>

#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/librarydb.h"

namespace {

void ReadModeFields(CRecordset& record, int mode, ViewRow& row) {
    if (mode != kSongsMode) {
        row.autoRating = record.GetFieldValue("AutoRating").AsDouble();
    }
    if (mode == kAlbumsMode || mode == kSongsMode) {
        row.artistId = record.GetFieldValue("ArtistID").AsLong();
        row.artistName = record.GetFieldValue("ArtistName").AsText();
        row.filePath = record.GetFieldValue("FilePath").AsText();
    }
    if (mode == kSongsMode) {
        row.albumId = record.GetFieldValue("AlbumID").AsLong();
        row.albumName = record.GetFieldValue("AlbumName").AsText();
        row.track = record.GetFieldValue("Track").AsText();
        row.length = record.GetFieldValue("Length").AsText();
        row.playCount = record.GetFieldValue("PlayCount").AsLong();
        row.unsorted = record.GetFieldValue("Unsorted").AsLong() != 0;
    }
}

}  // namespace

std::vector<ViewRow> ReadViewRows(CLibraryDb& db, const std::string& sql, int mode) {
    std::vector<ViewRow> rows;
    CDbQuery query(db, sql);
    for (CRecordset* record = query.GetRecordset(); record != nullptr && !record->IsEOF(); record = query.Next()) {
        ViewRow& row = rows.emplace_back();
        row.id = record->GetFieldValue("ID").AsLong();
        row.name = record->GetFieldValue("Name").AsText();
        row.userRating = record->GetFieldValue("UserRating").AsLong();
        ReadModeFields(*record, mode, row);
    }
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
