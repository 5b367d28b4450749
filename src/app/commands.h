#pragma once

// The commands of the main window's menus and the tray menu, by their ids.
enum CommandId : int {
    kCmdExit = 40002,
    kCmdChangeArtist = 40004,
    kCmdChangeAlbum = 40005,
    kCmdManageArtists = 40006,
    kCmdManageAlbums = 40007,
    kCmdManageCollections = 40008,
    kCmdRecalcRatings = 40009,
    kCmdDeleteDatabase = 40010,
    kCmdEditIni = 40011,
    kCmdRemove = 40012,
    kCmdRestore = 40015,
    kCmdExportM3u = 40019,
    kCmdAddToCollection = 40020,
    kCmdEditItems = 40021,
    kCmdManageGenres = 40023,
    kCmdAbout = 40024,
    kCmdDocumentation = 40025,
};

// What the enable rules of the commands look at.
struct CommandState {
    bool readOnly = false;
    bool songsView = false;        // the current view lists songs
    bool anyCellSelected = false;  // in the grid
    bool anyRowChecked = false;
};

// True when the command may run in `state`: writing commands never in a read-only library;
// batch changes and Export M3U only in Songs views; Remove and Edit Item(s) only with a selected
// cell or a checked row.
bool IsCommandEnabled(int command, const CommandState& state);
