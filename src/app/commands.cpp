#include "app/commands.h"

bool IsCommandEnabled(int command, const CommandState& state) {
    const bool anyItem = state.anyCellSelected || state.anyRowChecked;
    switch (command) {
        case kCmdChangeArtist:
        case kCmdChangeAlbum:
        case kCmdAddToCollection:
            return !state.readOnly && state.songsView;
        case kCmdRemove:
            return !state.readOnly && anyItem;
        case kCmdManageArtists:
        case kCmdManageAlbums:
        case kCmdManageCollections:
        case kCmdManageGenres:
        case kCmdRecalcRatings:
        case kCmdDeleteDatabase:
            return !state.readOnly;
        case kCmdExportM3u:
            return state.songsView;
        case kCmdEditItems:
            return anyItem;
        default:
            return true;
    }
}
