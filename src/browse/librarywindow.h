#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "browse/displaymode.h"
#include "browse/viewquery.h"

class CMessageBox;

// What the library grid needs of the window it sits in: the filters, the enable rules of the
// window's controls, the tree of views, the read-only state, messages, and the playing and
// editing of its rows.
class CLibraryWindow {
public:
    virtual ~CLibraryWindow() = default;

    // The filter controls as they are now.
    virtual ViewFilters CurrentFilters() const = 0;
    // Applies the enable rules of the window's controls for `view`, about to be filled.
    virtual void UpdateControls(const DisplayMode& view) = 0;
    // Selects the tree item of the tree entry (0: no item selected).
    virtual void SelectTreeEntry(int entry) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual CMessageBox& Messages() = 0;
    // Runs a command of the grid (a button of a row), showing any engine error it raises.
    virtual void RunCommand(const std::function<void()>& command) = 0;
    // Plays every song of the songs query (FilePath and ID of each); true when there was one.
    virtual bool PlayQuery(const std::string& sql) = 0;
    // Plays one song; true when it has a file.
    virtual bool PlaySong(std::int32_t id) = 0;
    // Plays the rows of the current Songs view: the ticked ones, or all when none is ticked.
    virtual bool PlayListedSongs() = 0;
    // Opens the Edit Item dialog for the item of `kind`; true when it ended with OK.
    virtual bool EditItem(ItemKind kind, std::int32_t id) = 0;
};
