#pragma once

#include <array>
#include <string>
#include <string_view>

#include "browse/displaymode.h"

class CLibraryDb;
class CViewHistory;

// One entry of the tree of views.
struct ModeTreeEntry {
    std::string_view text;
    int mode;
    int submode;
    int parent;  // the index of the parent entry; 0 for the top level
};

// Entry 0 stands for no match and is never shown; entries 1..6 are the tree's items in order.
inline constexpr std::array<ModeTreeEntry, 7> ModeTree = {{
    {"N/A", -1, -1, 0},
    {"Artists", kArtistsMode, kAllArtists, 0},
    {"Artists w/Albums", kArtistsMode, kArtistsWithAlbums, 0},
    {"Albums", kAlbumsMode, kAllAlbums, 0},
    {"Songs", kSongsMode, kAllSongs, 0},
    {"Collections", kCollectionsMode, kAllCollections, 0},
    {"Underplayed Albums", kAlbumsMode, kUnderplayedAlbums, 0},
}};

// The first tree entry (1..6) of the view's mode and submode; 0 when it has none.
int TreeEntryOfView(const DisplayMode& view);

// The name of what the current view is scoped to: the Name of the row that the top view's item
// (or else artist) ID names in the table of the view below it; "Unknown" with fewer than two
// views.
std::string GetViewTitle(const CViewHistory& history, CLibraryDb& db);
