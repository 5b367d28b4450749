#include "browse/underplayedrank.h"

#include <algorithm>
#include <unordered_map>

#include "browse/viewquery.h"
#include "db/dbquery.h"
#include "db/librarydb.h"

namespace {

// The songs of one album, summed.
struct AlbumTotals {
    std::int64_t songs = 0;
    std::int64_t plays = 0;
    std::int64_t ratingSum = 0;
    std::int64_t unrated = 0;
};

// The totals of every album that has songs, in one pass over the songs.
std::unordered_map<std::int32_t, AlbumTotals> ReadAlbumTotals(CLibraryDb& db) {
    std::unordered_map<std::int32_t, AlbumTotals> totals;
    CDbQuery query(db, kAlbumTotalsSql);
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        totals[row->GetFieldValue("AlbumID").AsLong()] = {
            row->GetFieldValue("lCount").AsLong(), static_cast<std::int64_t>(row->GetFieldValue("SumCount").AsDouble()),
            static_cast<std::int64_t>(row->GetFieldValue("SumRating").AsDouble()),
            static_cast<std::int64_t>(row->GetFieldValue("Unrated").AsDouble())};
    }
    return totals;
}

// The rating sum (unrated songs at `unratedAs`) times the plays, per song; 0 without rated
// songs. Products are 64-bit: large play counts would overflow 32 bits and scramble the order.
std::int64_t ScoreOf(const AlbumTotals& album, int unratedAs) {
    if (album.songs == 0 || album.ratingSum == 0) {
        return 0;
    }
    const std::int64_t rating = album.ratingSum + album.unrated * unratedAs;
    const std::int64_t product = album.plays != 0 ? rating * album.plays * 100 : rating * 50;
    return static_cast<std::int64_t>(static_cast<double>(product) / static_cast<double>(album.songs));
}

}  // namespace

std::vector<int> ComputeUnderplayedRanks(CLibraryDb& db, const std::vector<std::int32_t>& albumIds, int unratedAs) {
    const std::unordered_map<std::int32_t, AlbumTotals> totals = ReadAlbumTotals(db);
    std::vector<std::int64_t> scores;
    scores.reserve(albumIds.size());
    for (const std::int32_t album : albumIds) {
        const auto found = totals.find(album);
        scores.push_back(found == totals.end() ? 0 : ScoreOf(found->second, unratedAs));
    }
    const std::int64_t highest = scores.empty() ? 0 : *std::max_element(scores.begin(), scores.end());
    const auto ceiling = static_cast<std::int64_t>(static_cast<double>(highest) * 1.01);
    std::vector<int> ranks;
    ranks.reserve(scores.size());
    for (const std::int64_t score : scores) {
        // A ceiling of 0 only comes from ratings below 0 written by other tools.
        ranks.push_back(score == 0 || ceiling == 0 ? 0 : static_cast<int>((ceiling - score) * 1000 / ceiling));
    }
    return ranks;
}
