#include "browse/displaymode.h"

bool IsValidView(int mode, int submode) {
    switch (mode) {
        case kArtistsMode:
            return submode == kAllArtists || submode == kArtistsWithAlbums;
        case kAlbumsMode:
            return submode == kAllAlbums || submode == kAlbumsOfArtist || submode == kUnderplayedAlbums;
        case kCollectionsMode:
            return submode == kAllCollections;
        case kSongsMode:
            return submode >= kAllSongs && submode <= kSongsOfCollection;
        default:
            return false;
    }
}

std::optional<DisplayMode> MakeView(int mode, int submode, std::int32_t artistId, std::int32_t itemId) {
    if (!IsValidView(mode, submode)) {
        return std::nullopt;
    }
    const bool artistScope = (mode == kAlbumsMode && submode == kAlbumsOfArtist) ||
                             (mode == kSongsMode && (submode == kSongsOfArtist || submode == kUnsortedSongsOfArtist));
    const bool itemScope = mode == kSongsMode && (submode == kSongsOfAlbum || submode == kSongsOfCollection);
    return DisplayMode{mode, submode, artistScope ? artistId : 0, itemScope ? itemId : 0};
}

DefaultSort DefaultSortOf(const DisplayMode& view) {
    constexpr int kName = 5;
    constexpr int kTrack = 4;
    if (view.mode == kAlbumsMode && view.submode == kUnderplayedAlbums) {
        return {16, false};  // the rank, highest first
    }
    if (view.mode != kSongsMode) {
        return {kName, true};
    }
    switch (view.submode) {
        case kAllSongs:
            return {13, false};  // the most played first
        case kSongsOfArtist:
            return {10, false};  // the best rated first
        default:
            return {kTrack, true};
    }
}

std::optional<DisplayMode> DrillDownView(const DisplayMode& current, std::int32_t id) {
    switch (current.mode) {
        case kArtistsMode:
            return MakeView(kAlbumsMode, kAlbumsOfArtist, id, 0);
        case kAlbumsMode:
            if (id == -1) {
                return MakeView(kSongsMode, kUnsortedSongsOfArtist, current.artistId, 0);
            }
            return id == 0 ? MakeView(kSongsMode, kSongsOfArtist, current.artistId, 0)
                           : MakeView(kSongsMode, kSongsOfAlbum, 0, id);
        case kCollectionsMode:
            return MakeView(kSongsMode, kSongsOfCollection, 0, id);
        default:
            return std::nullopt;
    }
}

std::optional<DisplayMode> PlayItemView(const DisplayMode& current, std::int32_t id) {
    switch (current.mode) {
        case kArtistsMode:
            return MakeView(kSongsMode, kSongsOfArtist, id, 0);
        case kAlbumsMode:
            return MakeView(kSongsMode, kSongsOfAlbum, 0, id);
        case kCollectionsMode:
            return MakeView(kSongsMode, kSongsOfCollection, 0, id);
        default:
            return std::nullopt;
    }
}

std::optional<DisplayMode> PlayAllView(const DisplayMode& current) {
    switch (current.mode) {
        case kArtistsMode:
            return MakeView(kSongsMode, current.submode == kArtistsWithAlbums ? kSortedSongs : kAllSongs, 0, 0);
        case kAlbumsMode:
            return current.submode == kAlbumsOfArtist ? MakeView(kSongsMode, kSongsOfArtist, current.artistId, 0)
                                                      : MakeView(kSongsMode, kAllSongs, 0, 0);
        case kCollectionsMode:
            return MakeView(kSongsMode, kSongsOfCollection, 0, current.itemId);
        default:
            return std::nullopt;
    }
}
