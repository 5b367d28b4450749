#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "edit/managerdlg.h"

class CLauncher;
class CLibraryLock;
class CLibraryGrid;
class CSettings;
class CTagWorkers;
class QWidget;

// The editing commands of the main window: Edit Item(s) and the rows' edit buttons, Remove, the
// Manage and Batch Change commands, Delete Database and Edit INI. Each one asks what it needs,
// changes the library through the editing classes and refreshes the view.
class CEditCommands {
public:
    // `guarded` is the window's command guard; the tag workers are made at the first edit of a
    // song and kept.
    CEditCommands(CLibraryDb& db, CLibraryLock& libraryLock, CLibraryGrid& grid, CSettings& settings,
                  CLauncher& launcher, CMessageBox& messages, const DialogRunner& runDialog,
                  std::function<void(const std::function<void()>&)> guarded, std::function<CTagWorkers&()> workers,
                  bool readOnly, QWidget* window);

    // The Edit Item dialog for one item; true when it ended with OK.
    bool EditItem(int kind, std::int32_t id);
    void EditItems();
    void Remove();
    void Manage(int kind, const char* title);
    // Change Album, Change Artist: sets `field` of the ticked songs to the picked item of `table`.
    void ChangeField(const char* table, const char* field, const char* title);
    void AddToCollection();
    // False when the library could not be deleted (it is open again then).
    void DeleteDatabase();
    void EditIni();

private:
    ManagerContext Context();
    // Picks one item of `table`; its ID, or 0 when nothing was picked.
    std::int32_t PickFrom(const char* table, const char* title);

    CLibraryDb& m_db;
    CLibraryLock& m_libraryLock;
    CLibraryGrid& m_grid;
    CSettings& m_settings;
    CLauncher& m_launcher;
    CMessageBox& m_messages;
    const DialogRunner& m_runDialog;
    std::function<void(const std::function<void()>&)> m_guarded;
    std::function<CTagWorkers&()> m_workers;
    bool m_readOnly;
    QWidget* m_window;
};
