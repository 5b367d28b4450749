#pragma once

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/startup.h"
#include "browse/librarywindow.h"
#include "platform/dialogrunner.h"
#include "play/songplayer.h"

class CLauncher;
class CSearchField;
class CLibraryGrid;
class CEditCommands;
class CImportDialogs;
class CSettings;
class CRatingSaver;
class CTagWorkers;
class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QPushButton;
class QSplitter;
class QSystemTrayIcon;
class QTreeWidget;
class QTreeWidgetItem;

// The program's one main window: the tree of views, the library grid, the filters, the command
// buttons, the menus and the tray icon. It wires each of them to the class that does the work;
// every command runs inside the command guard. It owns the library, which it closes first when
// it goes.
class CMainDlg : public QMainWindow, public CLibraryWindow {
    Q_OBJECT

public:
    CMainDlg(CSettings& settings, COpenedLibrary library, CMessageBox& messages, CLauncher& launcher,
             QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Builds the window on an open library, shows it and the splash; false (nothing shown) when
    // the library is unusable and the program must end.
    bool Initialise();

    // Tests run the window's dialogs through their own function.
    void SetDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }

    // The enable rules of the menus, as they are when a menu opens.
    void UpdateMenuStates();
    // Runs the command of a menu item.
    void RunMenuCommand(Command command);
    CLibraryGrid& Grid() { return *m_grid; }
    // The first size: every column of the Songs view beside the tree, unless the screen is smaller.
    QSize DesignedSize() const;

    // ---- CLibraryWindow ----
    ViewFilters CurrentFilters() const override;
    void UpdateControls(const DisplayMode& view) override;
    void SelectTreeEntry(int entry) override;
    bool IsReadOnly() const override { return m_library.readOnly; }
    CMessageBox& Messages() override { return m_messages; }
    void RunCommand(const std::function<void()>& command) override;
    bool PlayQuery(const std::string& sql) override;
    bool PlaySong(std::int32_t id) override;
    bool PlayListedSongs() override;
    bool EditItem(ItemKind kind, std::int32_t id) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void BuildTray();
    // The keys of the commands that have no menu item: Back, Search, Import, Play All, refresh.
    void AddShortcuts();
    // The hint and Import button an empty library shows in the grid.
    void BuildEmptyHint();
    int TreeWidth() const;
    // A command of the menus: its text there and what it does; a guarded one runs in the
    // command guard.
    struct CommandRow {
        Command command;
        const char* text;
        void (*run)(CMainDlg& window);
        bool guarded = true;
        const char* keys = "";  // its shortcut in the menus ("Ctrl+Q"); none for most
    };
    static const std::vector<CommandRow>& CommandTable();
    static const CommandRow& RowOf(Command command);
    // The action of the command in `menu`, with the command's text unless `text` is given.
    QAction* AddCommand(QMenu* menu, Command command, const char* text = nullptr);
    void FillTree();
    void FillRatingCombos(bool reset);
    void FillGenreCombo(bool reset);
    void OnTreeSelection(QTreeWidgetItem* item);
    void RestoreFromTray();
    PlayChoices CurrentPlayChoices() const;
    void OnExportM3U();
    void OnImport();
    CTagWorkers& TagWorkers();
    // Writes the rating and play count of the songs into their files when the settings ask for it.
    void SaveSongDataInFiles(const IdList& songs);
    void ReportUnsavedSongData();
    void OpenDocumentation();
    void ShowAbout();
    CommandState CurrentCommandState() const;

    CSettings& m_settings;
    COpenedLibrary m_library;
    CMessageBox& m_messages;
    CLauncher& m_launcher;
    DialogRunner m_runDialog = ExecDialog;
    std::unique_ptr<CSongPlayer> m_player;
    std::unique_ptr<CEditCommands> m_edits;
    std::unique_ptr<CTagWorkers> m_tagWorkers;    // started at the first import, for the program's life
    std::unique_ptr<CImportDialogs> m_import;     // while an import runs
    std::unique_ptr<CRatingSaver> m_ratingSaver;  // started at the first rating or play to write
    bool m_closeAfterImport = false;

    CLibraryGrid* m_grid = nullptr;
    QTreeWidget* m_tree = nullptr;
    QSplitter* m_splitter = nullptr;
    QComboBox* m_ratingFilter = nullptr;
    QComboBox* m_genreFilter = nullptr;
    QComboBox* m_playFilter = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_checkAll = nullptr;
    QPushButton* m_playAll = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_importButton = nullptr;
    QCheckBox* m_randomize = nullptr;
    QCheckBox* m_enqueue = nullptr;
    CSearchField* m_search = nullptr;
    QWidget* m_emptyHint = nullptr;
    DisplayMode m_searchedView;  // the view the search was typed in
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};
