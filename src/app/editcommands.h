#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "db/records.h"
#include "edit/commandcontext.h"

class CLibraryGrid;

// The editing commands of the main window: Edit Item(s) and the rows' edit buttons, Remove, the
// Manage and Batch Change commands, Delete Database and Edit INI. Each one asks what it needs,
// changes the library through the editing classes and refreshes the grid's view.
class CEditCommands {
public:
    CEditCommands(CCommandContext context, CLibraryGrid& grid);

    // The Edit Item dialog for one item; true when it ended with OK.
    bool EditItem(ItemKind kind, std::int32_t id);
    void EditItems();
    void Remove();
    // Looks for the songs whose files are gone and shows them, to search for them or remove them.
    void FindMissingSongs();
    void Manage(ItemKind kind, const char* title);
    // Sets the album (the artist) of the ticked songs to the one the user picks.
    void ChangeAlbum();
    void ChangeArtist();
    void AddToCollection();
    // When the library could not be deleted, it is open again.
    void DeleteDatabase();
    void EditIni();

private:
    // Sets `field` of the ticked songs to the picked item of that kind.
    void ChangeField(ItemKind kind, const char* field, const char* title);
    // Picks one item of the kind; its ID, or 0 when nothing was picked.
    std::int32_t PickFrom(ItemKind kind, const char* title);

    CCommandContext m_context;
    CLibraryGrid& m_grid;
};
