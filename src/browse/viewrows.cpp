#include "browse/viewrows.h"

#include <array>
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
        userRating = at("UserRating", true);
        autoRating = at("AutoRating", !songs);
        artistId = at("ArtistID", albumsOrSongs);
        albumId = at("AlbumID", songs);
        playCount = at("PlayCount", songs);
        unsorted = at("Unsorted", songs);
        texts = {at("Name", true),
                 at("ArtistName", albumsOrSongs),
                 at("FilePath", albumsOrSongs),
                 at("AlbumName", songs),
                 at("Track", songs),
                 at("Length", songs)};
    }

    CViewRecords::Numbers ReadNumbers(CRecordset& record) const {
        CViewRecords::Numbers numbers;
        numbers.id = record.LongAt(id);
        numbers.userRating = record.LongAt(userRating);
        if (autoRating >= 0) {
            numbers.autoRating = record.FieldAt(autoRating).AsDouble();
        }
        if (artistId >= 0) {
            numbers.artistId = record.LongAt(artistId);
        }
        if (albumId >= 0) {
            numbers.albumId = record.LongAt(albumId);
            numbers.playCount = record.LongAt(playCount);
            numbers.unsorted = record.LongAt(unsorted) != 0;
        }
        return numbers;
    }

    int id, userRating, autoRating, artistId, albumId, playCount, unsorted;
    std::array<int, CViewRecords::kTextCount> texts;
};

}  // namespace

CViewRecords::CViewRecords(CLibraryDb& db, const std::string& sql, int mode) : m_mode(mode) {
    CDbQuery query(db, sql);
    CRecordset* record = query.GetRecordset();
    if (record == nullptr) {
        return;
    }
    const ViewFields fields(*record, mode);
    std::string scratch;
    for (; record != nullptr && !record->IsEOF(); record = query.Next()) {
        Record& row = m_records.emplace_back();
        row.numbers = fields.ReadNumbers(*record);
        row.textStart = m_texts.Size();
        for (std::size_t text = 0; text < kTextCount; ++text) {
            const int field = fields.texts[text];
            const std::string_view value = field >= 0 ? record->TextAt(field, scratch) : std::string_view();
            if (text == kFilePath) {
                m_texts.Append(value);
            } else {
                AppendName(value);
            }
            // Names are short, and SQLite keeps no text of 2^31 bytes or more.
            row.textEnds[text] = static_cast<std::uint32_t>(m_texts.Size() - row.textStart);
        }
    }
}

void CViewRecords::AppendName(std::string_view name) {
    if (name.size() <= kLongestName) {
        m_texts.Append(name);
        return;
    }
    // Not inside a UTF-8 character, which is at most 4 bytes long: a name of other bytes (an old
    // tag's code page) still keeps its first 253 at least.
    std::size_t end = kLongestName;
    for (int back = 0; back < 3 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80; ++back) {
        --end;
    }
    m_texts.Append(name.substr(0, end));
    m_texts.Append("\xE2\x80\xA6");  // …
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
