#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Plain values mirroring rows of the library's tables.

// A row of Artists; also used for Collections, which have the same fields.
struct ArtistRecord {
    std::int32_t id = 0;
    std::string name;
    std::int16_t userRating = 0;
    double autoRating = 0.0;
};

struct AlbumRecord {
    std::int32_t id = 0;
    std::int32_t artistId = 0;
    std::string name;
    std::int16_t userRating = 0;
    double autoRating = 0.0;
    std::string filePath;
};

// A row of Songs without its play count, which only playing changes.
struct SongRecord {
    std::int32_t id = 0;
    std::string name;
    std::int32_t artistId = 0;
    std::int32_t albumId = 0;
    std::string length;
    std::string year;
    std::string track;
    std::string genre;
    std::int16_t userRating = 0;
    bool bestOf = false;
    std::string filePath;
    std::int16_t fileType = 0;
    bool unsorted = false;

    bool operator==(const SongRecord&) const = default;
};

struct GenreRecord {
    std::int32_t id = 0;
    std::string name;
    std::int16_t userRating = 0;
};

// What an item is; kinds 0 to 3 are also the view modes.
enum ItemKind : int {
    kArtistItem = 0,
    kAlbumItem = 1,
    kCollectionItem = 2,
    kSongItem = 3,
    kGenreItem = 4,
    kSeveralSongsItem = 5,
};

// The table of each view mode or item kind.
inline constexpr std::array<std::string_view, 6> ModeTableNames = {"Artists", "Albums", "Collections",
                                                                   "Songs",   "Genres", "Songs"};
