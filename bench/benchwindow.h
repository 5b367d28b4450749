#pragma once

#include <functional>

#include "benchfolder.h"
#include "browse/librarygrid.h"
#include "browse/librarywindow.h"
#include "db/librarydb.h"
#include "librarygen.h"
#include "platform/launcher.h"
#include "platform/runtimerandom.h"
#include "play/songplayer.h"

// A player that is never started: a play costs everything but the process.
class CNullLauncher : public CLauncher {
public:
    int Launch(const std::vector<std::string>&) override { return 0; }
};

// The window the library grid sits in, with the filters as a benchmark sets them; plays go to
// the real player code with a launcher that starts nothing.
class CBenchWindow : public CLibraryWindow {
public:
    explicit CBenchWindow(CLibraryDb& db) : m_player(db, m_launcher, ProgramRandom(), BenchMessages()) {}

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
    bool EditItem(ItemKind, std::int32_t) override { return false; }
    CSongPlayer& Player() { return m_player; }

    ViewFilters filters;
    PlayChoices choices;

private:
    CNullLauncher m_launcher;
    CSongPlayer m_player;
    std::function<void(NameList&, IdList&)> m_listed = [](NameList&, IdList&) {};
};

// A synthetic library with its ratings computed, in a folder of its own, and the window and the
// shown grid over it (the grid is never deleted: it would outlive the QApplication).
class CBenchLibrary {
public:
    CBenchLibrary(const std::string& name, const LibraryShape& shape)
        : m_folder(name), m_db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages()), m_window(Built(shape)) {
        m_grid = new CLibraryGrid(m_window, m_db, "Cadenzo.ini");
        m_grid->resize(1200, 800);
        m_grid->SetupGrid();
        m_grid->show();
        m_window.SetGrid([grid = m_grid](NameList& paths, IdList& ids) { grid->GetListedSongs(paths, ids); });
    }

    CLibraryDb& Db() { return m_db; }
    CBenchWindow& Window() { return m_window; }
    CLibraryGrid& Grid() { return *m_grid; }

private:
    CLibraryDb& Built(const LibraryShape& shape) {
        BuildSyntheticLibrary(m_db, shape);
        m_db.RecalcRatings();
        return m_db;
    }

    CBenchFolder m_folder;
    CLibraryDb m_db;
    CBenchWindow m_window;
    CLibraryGrid* m_grid = nullptr;
};
