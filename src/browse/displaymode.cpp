#include "browse/displaymode.h"

bool IsValidView(int mode, int submode) {
    switch (mode) {
        case kArtistsMode:
            return submode == 0 || submode == 1;
        case kAlbumsMode:
            return submode == 0 || submode == 2 || submode == 6;
        case kCollectionsMode:
            return submode == 0;
        case kSongsMode:
            return submode >= 0 && submode <= 5;
        default:
            return false;
    }
}

std::optional<DisplayMode> MakeView(int mode, int submode, std::int32_t artistId, std::int32_t itemId) {
    if (!IsValidView(mode, submode)) {
        return std::nullopt;
    }
    const bool artistScope =
        (mode == kAlbumsMode && submode == 2) || (mode == kSongsMode && (submode == 2 || submode == 3));
    const bool itemScope = mode == kSongsMode && (submode == 4 || submode == 5);
    return DisplayMode{mode, submode, artistScope ? artistId : 0, itemScope ? itemId : 0};
}

DefaultSort DefaultSortOf(const DisplayMode& view) {
    constexpr int kName = 5;
    constexpr int kTrack = 4;
    if (view.mode == kAlbumsMode && view.submode == 6) {
        return {16, false};  // the rank, highest first
    }
    if (view.mode != kSongsMode) {
        return {kName, true};
    }
    switch (view.submode) {
        case 0:
            return {13, false};  // the most played first
        case 2:
            return {10, false};  // the best rated first
        default:
            return {kTrack, true};
    }
}

std::optional<DisplayMode> DrillDownView(const DisplayMode& current, std::int32_t id) {
    switch (current.mode) {
        case kArtistsMode:
            return MakeView(kAlbumsMode, 2, id, 0);
        case kAlbumsMode:
            if (id == -1) {
                return MakeView(kSongsMode, 3, current.artistId, 0);
            }
            return id == 0 ? MakeView(kSongsMode, 2, current.artistId, 0) : MakeView(kSongsMode, 4, 0, id);
        case kCollectionsMode:
            return MakeView(kSongsMode, 5, 0, id);
        default:
            return std::nullopt;
    }
}
