#pragma once

#include <functional>

#include "benchfolder.h"
#include "browse/librarygrid.h"
#include "browse/librarywindow.h"
#include "db/librarydb.h"
#include "platform/launcher.h"
#include "platform/runtimerandom.h"
#include "play/songplayer.h"

// A player that is never started: a play costs everything but the process.
class CNullLauncher : public CLauncher {
public:
    bool Launch(const std::vector<std::string>&) override { return true; }
};

// The window the library grid sits in, with the filters as a benchmark sets them; plays go to
// the real player code with a launcher that starts nothing.
class CBenchWindow : public CLibraryWindow {
public:
    explicit CBenchWindow(CLibraryDb& db) : m_player(db, m_launcher, ProgramRandom()) {}

    void SetGrid(std::function<void(NameList&, IdList&)> listed) { m_listed = std::move(listed); }

    ViewFilters CurrentFilters() const override { return filters; }
    void UpdateControls(const DisplayMode&) override {}
    void SelectTreeEntry(int) override {}
    bool IsReadOnly() const override { return false; }
    CMessageBox& Messages() override { return BenchMessages(); }
    void RunCommand(const std::function<void()>& command) override { command(); }
    bool PlayQuery(const std::string& sql) override { return m_player.PlayQuery(sql, choices); }
    bool PlaySong(std::int32_t id) override { return m_player.PlaySong(id, choices); }
    bool PlayListedSongs() override {
        SongFiles songs;
        m_listed(songs.paths, songs.ids);
        return m_player.PlayListed(std::move(songs), choices);
    }
    bool EditItem(int, std::int32_t) override { return false; }
    CSongPlayer& Player() { return m_player; }

    ViewFilters filters;
    PlayChoices choices;

private:
    CNullLauncher m_launcher;
    CSongPlayer m_player;
    std::function<void(NameList&, IdList&)> m_listed = [](NameList&, IdList&) {};
};

// The library grid in the window, shown, with Play All's listed songs taken from it.
inline CLibraryGrid* MakeBenchGrid(CBenchWindow& window, CLibraryDb& db) {
    auto* grid = new CLibraryGrid(window, db, "Cadenzo.ini");
    grid->resize(1200, 800);
    grid->SetupGrid();
    grid->show();
    window.SetGrid([grid](NameList& paths, IdList& ids) { grid->GetListedSongs(paths, ids); });
    return grid;
}
