#pragma once

#include <cstdint>
#include <optional>

#include "db/records.h"

// View modes: what a view lists.
enum ViewMode : int { kArtistsMode = 0, kAlbumsMode = 1, kCollectionsMode = 2, kSongsMode = 3 };

// The submodes of each mode: how its list is narrowed.
inline constexpr std::int32_t kAllArtists = 0;
inline constexpr std::int32_t kArtistsWithAlbums = 1;
inline constexpr std::int32_t kAllAlbums = 0;
inline constexpr std::int32_t kAlbumsOfArtist = 2;  // preceded by "(All Songs)" and "(Unsorted Songs)"
inline constexpr std::int32_t kUnderplayedAlbums = 6;
inline constexpr std::int32_t kAllCollections = 0;
inline constexpr std::int32_t kAllSongs = 0;
inline constexpr std::int32_t kSortedSongs = 1;  // not marked Unsorted
inline constexpr std::int32_t kSongsOfArtist = 2;
inline constexpr std::int32_t kUnsortedSongsOfArtist = 3;
inline constexpr std::int32_t kSongsOfAlbum = 4;
inline constexpr std::int32_t kSongsOfCollection = 5;

// One view of the library: what is listed and how it is narrowed. Equal when all four fields
// are equal.
struct DisplayMode {
    std::int32_t mode = kArtistsMode;
    std::int32_t submode = kArtistsWithAlbums;
    std::int32_t artistId = 0;  // the artist that scopes the view; 0 for none
    std::int32_t itemId = 0;    // the album (3/4) or collection (3/5) that scopes it; 0 for none

    bool operator==(const DisplayMode&) const = default;
};

// True for the pairs the program has views for: 0/0-1, 1/0, 1/2, 1/6, 2/0, 3/0-5.
bool IsValidView(int mode, int submode);

// The view of that pair with only the scope fields it uses kept (the others 0); none for a pair
// that is not valid.
std::optional<DisplayMode> MakeView(int mode, int submode, std::int32_t artistId, std::int32_t itemId);

// The grid column a view is sorted by when it is shown, and the direction.
struct DefaultSort {
    int column;
    bool ascending;
};
DefaultSort DefaultSortOf(const DisplayMode& view);

// The view that expanding the row with `id` in `current` leads to; none from a Songs view.
std::optional<DisplayMode> DrillDownView(const DisplayMode& current, std::int32_t id);

// The Songs view that playing the row `id` of `current` plays (an artist's, an album's or a
// collection's songs); none from a Songs view, whose row is one song.
std::optional<DisplayMode> PlayItemView(const DisplayMode& current, std::int32_t id);
// The Songs view that Play All plays in `current`; none for a Songs view, which plays its rows.
std::optional<DisplayMode> PlayAllView(const DisplayMode& current);

// The kind of the items a view lists (its mode: the modes are the first item kinds).
inline ItemKind ItemKindOfView(const DisplayMode& view) {
    return static_cast<ItemKind>(view.mode);
}
