#include "browse/underplayedrank.h"

#include <fmt/printf.h>
#include <gtest/gtest.h>

#include "db/records.h"
#include "librarygen.h"
#include "support/libraryfixture.h"

namespace {

class UnderplayedRankTest : public LibraryFixture {
protected:
    void AddSong(std::int32_t album, int rating, std::int32_t plays) {
        SongRecord song;
        song.albumId = album;
        song.userRating = static_cast<std::int16_t>(rating);
        song.filePath = "/m/" + std::to_string(++m_songs) + ".mp3";
        CDbTable(m_db.get(), "Songs").UpdateLong("PlayCount", "ID", m_db->FindOrAddSong(song), plays);
    }

    // The rank as the view defines it, one album at a time with its two statements.
    std::vector<int> RanksAlbumByAlbum(const IdList& albums, int unratedAs) {
        std::vector<std::int64_t> scores;
        for (const std::int32_t album : albums) {
            CDbQuery totals(*m_db, fmt::sprintf("SELECT COUNT(ID) as lCount, SUM(PlayCount) AS SumCount, "
                                                "SUM(UserRating) as SumRating FROM Songs WHERE AlbumID=%ld",
                                                album));
            CRecordset* row = totals.GetRecordset();
            const std::int64_t count = row->GetFieldValue("lCount").AsLong();
            const auto plays = static_cast<std::int64_t>(row->GetFieldValue("SumCount").AsDouble());
            const auto sum = static_cast<std::int64_t>(row->GetFieldValue("SumRating").AsDouble());
            if (count == 0 || sum == 0) {
                scores.push_back(0);
                continue;
            }
            CDbQuery unrated(*m_db, fmt::sprintf("SELECT COUNT(ID) as lCount FROM Songs WHERE AlbumID=%ld AND "
                                                 "UserRating=0",
                                                 album));
            const std::int64_t rating = sum + unrated.GetRecordset()->GetFieldValue("lCount").AsLong() * unratedAs;
            const std::int64_t product = plays != 0 ? rating * plays * 100 : rating * 50;
            scores.push_back(static_cast<std::int64_t>(static_cast<double>(product) / static_cast<double>(count)));
        }
        const std::int64_t highest = *std::max_element(scores.begin(), scores.end());
        const auto ceiling = static_cast<std::int64_t>(static_cast<double>(highest) * 1.01);
        std::vector<int> ranks;
        for (const std::int64_t score : scores) {
            ranks.push_back(score == 0 ? 0 : static_cast<int>((ceiling - score) * 1000 / ceiling));
        }
        return ranks;
    }

    int m_songs = 0;
};

TEST_F(UnderplayedRankTest, WellRatedLittlePlayedAlbumsRankHighest) {
    AddSong(1, 7, 1);  // album 1: rating 7 + 3 (unrated), 1 play, 2 songs: 10 * 1 * 100 / 2 = 500
    AddSong(1, 0, 0);
    AddSong(2, 5, 40);  // album 2: 5 * 40 * 100 = 20000
    AddSong(3, 0, 9);   // album 3: no rated song: 0
    AddSong(4, 4, 0);   // album 4: never played: 4 * 50 = 200
    const std::vector<int> ranks = ComputeUnderplayedRanks(*m_db, {1, 2, 3, 4, 5}, 3);
    // c = 20000 * 1.01 = 20200; rank = (c - s) * 1000 / c
    EXPECT_EQ(ranks, (std::vector<int>{975, 9, 0, 990, 0}));
    EXPECT_TRUE(ComputeUnderplayedRanks(*m_db, {}, 3).empty());
}

TEST_F(UnderplayedRankTest, HugePlayCountsKeepTheirOrder) {
    AddSong(1, 7, 2000000000);
    AddSong(1, 7, 2000000000);
    AddSong(2, 7, 1000000000);
    const std::vector<int> ranks = ComputeUnderplayedRanks(*m_db, {1, 2}, 3);
    EXPECT_LT(ranks[0], ranks[1]) << "the more played album ranks lower";
    EXPECT_EQ(ranks[0], 9);
}

TEST_F(UnderplayedRankTest, OnePassGivesWhatTheStatementsPerAlbumGive) {
    BuildSyntheticLibrary(*m_db, {100, 400, 4000, 5, 10});
    AddSong(7, 6, 2100000000);
    NameList names;
    IdList albums;
    m_db->FillNameList(names, albums, "Albums", "Name", "ID");
    for (const int unratedAs : {0, 3, 7}) {
        EXPECT_EQ(ComputeUnderplayedRanks(*m_db, albums, unratedAs), RanksAlbumByAlbum(albums, unratedAs));
    }
}

}  // namespace
