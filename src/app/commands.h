#pragma once

// The commands of the main window's menus and the tray menu. The numbers name the menu actions
// (their object names are "command" and the number).
enum class Command : int {
    Exit = 40002,
    ChangeArtist = 40004,
    ChangeAlbum = 40005,
    ManageArtists = 40006,
    ManageAlbums = 40007,
    ManageCollections = 40008,
    RecalcRatings = 40009,
    DeleteDatabase = 40010,
    EditIni = 40011,
    Remove = 40012,
    Restore = 40015,
    ExportM3u = 40019,
    AddToCollection = 40020,
    EditItems = 40021,
    ManageGenres = 40023,
    About = 40024,
    Documentation = 40025,
    FindMissingSongs = 40026,
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
bool IsCommandEnabled(Command command, const CommandState& state);
