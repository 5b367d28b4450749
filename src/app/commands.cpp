#include "app/commands.h"

bool IsCommandEnabled(Command command, const CommandState& state) {
    const bool anyItem = state.anyCellSelected || state.anyRowChecked;
    switch (command) {
        case Command::ChangeArtist:
        case Command::ChangeAlbum:
        case Command::AddToCollection:
            return !state.readOnly && state.songsView;
        case Command::Remove:
            return !state.readOnly && anyItem;
        case Command::ManageArtists:
        case Command::ManageAlbums:
        case Command::ManageCollections:
        case Command::ManageGenres:
        case Command::RecalcRatings:
        case Command::DeleteDatabase:
            return !state.readOnly;
        case Command::ExportM3u:
            return state.songsView;
        case Command::EditItems:
            return anyItem;
        case Command::Exit:
        case Command::FindMissingSongs:  // read-only: it only shows them
        case Command::Restore:
        case Command::EditIni:
        case Command::About:
        case Command::Documentation:
            return true;
    }
    return false;  // not a command
}
