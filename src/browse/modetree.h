#pragma once

#include <array>
#include <string>

#include "browse/displaymode.h"
#include "platform/usertext.h"

class CLibraryDb;
class CViewHistory;

// One entry of the tree of views.
struct ModeTreeEntry {
    const char* text;  // English; shown through CUserText::tr
    int mode;
    int submode;
    int parent;  // the index of the parent entry; 0 for the top level
};

// Entry 0 stands for no match and is never shown; entries 1..6 are the tree's items in order.
inline constexpr std::array<ModeTreeEntry, 7> ModeTree = {{
    {"N/A", -1, -1, 0},
    {USER_TEXT_NOOP("CUserText", "Artists"), kArtistsMode, kAllArtists, 0},
    {USER_TEXT_NOOP("CUserText", "Artists w/Albums"), kArtistsMode, kArtistsWithAlbums, 0},
    {USER_TEXT_NOOP("CUserText", "Albums"), kAlbumsMode, kAllAlbums, 0},
    {USER_TEXT_NOOP("CUserText", "Songs"), kSongsMode, kAllSongs, 0},
    {USER_TEXT_NOOP("CUserText", "Collections"), kCollectionsMode, kAllCollections, 0},
    {USER_TEXT_NOOP("CUserText", "Underplayed Albums"), kAlbumsMode, kUnderplayedAlbums, 0},
}};

// The first tree entry (1..6) of the view's mode and submode; 0 when it has none.
int TreeEntryOfView(const DisplayMode& view);

// The name of what the current view is scoped to: the Name of the row that the top view's item
// (or else artist) ID names in the table of the view below it; "Unknown" with fewer than two
// views.
std::string GetViewTitle(const CViewHistory& history, CLibraryDb& db);
