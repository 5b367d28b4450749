#include "import/importmode.h"

#include <gtest/gtest.h>

namespace {

std::vector<CSongFile> Songs(const std::vector<std::pair<std::string, std::string>>& artistsAndAlbums) {
    std::vector<CSongFile> songs;
    for (const auto& [artist, album] : artistsAndAlbums) {
        SongTags tags;
        tags.title = "Title";
        tags.artist = artist;
        tags.album = album;
        songs.emplace_back().Assign("/m/" + std::to_string(songs.size()) + ".mp3", tags);
    }
    return songs;
}

TEST(ImportModeTest, TheFirstRuleThatAppliesDecides) {
    const auto decide = [](const std::vector<CSongFile>& songs) { return DecideImportMode(songs, 3); };
    const auto oneAlbum = Songs({{"A", "X"}, {"A", "X"}, {"A", "X"}, {"A", "X"}});
    EXPECT_EQ(decide(oneAlbum).question, ImportQuestion::None);
    EXPECT_EQ(decide(oneAlbum).mode, ImportMode::OneAlbum);
    EXPECT_EQ(decide(Songs({{"A", "X"}, {"B", "X"}, {"A", "X"}, {"A", "X"}})).mode, ImportMode::VariousArtists);
    EXPECT_EQ(decide(Songs({{"A", "X"}, {"B", "Y"}, {"A", "X"}, {"A", "X"}})).mode, ImportMode::OneCollection);
    EXPECT_EQ(decide(Songs({{"A", "X"}, {"A", "Y"}, {"A", "X"}, {"A", "X"}})).question, ImportQuestion::SeveralAlbums);
    EXPECT_EQ(decide(Songs({{"A", "X"}, {"A", "X"}, {"A", "X"}})).question, ImportQuestion::FewSongs)
        << "three songs with threshold 3 ask";
    EXPECT_EQ(decide(Songs({{"A", "X"}, {"", "X"}, {"A", "X"}, {"A", "X"}, {"A", "Y"}})).question,
              ImportQuestion::Untagged);
    EXPECT_EQ(decide(Songs({{"A", ""}, {"A", ""}, {"A", ""}, {"A", ""}})).mode, ImportMode::OneAlbum)
        << "empty album tags are all equal";
    EXPECT_EQ(decide(Songs({{"a", "X"}, {"A", "X"}, {"A", "X"}, {"A", "X"}})).mode, ImportMode::VariousArtists)
        << "comparisons are case-sensitive";
    EXPECT_EQ(DecideImportMode(Songs({{"A", "X"}}), 0).mode, ImportMode::OneAlbum);
}

}  // namespace
