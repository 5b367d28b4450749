// The main window on a real library, offscreen.

#include "app/maindlg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include <cerrno>
#include <filesystem>
#include <functional>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "app/settings.h"
#include "browse/librarygrid.h"
#include "db/librarydb.h"
#include "edit/aboutdlg.h"
#include "grid/gridcellcheck.h"
#include "import/tagworkers.h"
#include "platform/librarylock.h"
#include "platform/translations.h"
#include "platform/usertext.h"
#include "support/recordinglauncher.h"
#include "support/recordingmessagebox.h"
#include "support/songtree.h"
#include "support/tempdir.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<CMainDlg> Open(bool ignoreSplash = true) {
        m_settings = std::make_unique<CSettings>();
        m_settings->WriteString("Ignore Splash", "Settings", ignoreSplash ? "1" : "0");
        auto window =
            std::make_unique<CMainDlg>(*m_settings, OpenLibrary(*m_settings, m_messages), m_messages, m_launcher);
        window->SetDialogRunner([this](QDialog& dialog) -> int {
            dialogs.push_back(dialog.objectName().toStdString());
            if (onDialog) {
                onDialog(dialog);
            }
            if (dialog.objectName() == QStringLiteral("folderPicker")) {
                dialog.findChild<QLineEdit*>(QStringLiteral("folderEdit"))->setText(importFolder);
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("openButton")), Qt::LeftButton);
                return dialog.result();
            }
            if (auto* pick = dialog.findChild<QListWidget*>(QStringLiteral("pickList"))) {
                pick->setCurrentItem(pick->findItems(pickChoice, Qt::MatchExactly).value(0));
                dialog.accept();
                return dialog.result();
            }
            if (dialog.objectName() == QStringLiteral("editItemDialog")) {
                auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("titleEdit"));
                title->selectAll();
                title->insert(editedTitle);  // as typed
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
                return dialog.result();
            }
            if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
                offeredFiles.push_back(files->selectedFiles().value(0).toStdString());
                files->selectFile(QString::fromStdString(m_dir.File("list")));
            }
            return QDialog::Accepted;
        });
        return window;
    }

    // Songs by one artist (on an album of that name, when given), straight into the library.
    void AddSongs(const char* artist, std::initializer_list<const char*> names, const char* album = nullptr) {
        CSettings settings;
        CLibraryDb db("Cadenzo.mdb", false, false, settings, m_messages);
        const std::int32_t band = db.FindOrAddArtist({0, artist, 0, 0.0});
        if (album != nullptr) {
            db.FindOrAddAlbum({0, band, album, 0, 0.0, "/m"});
        }
        for (const char* name : names) {
            SongRecord song;
            song.name = name;
            song.artistId = band;
            song.filePath = std::string("/m/") + name + ".mp3";
            db.FindOrAddSong(song);
        }
    }

    static QAction* Action(const QWidget& menus, Command command) {
        return menus.findChild<QAction*>(QStringLiteral("command%1").arg(static_cast<int>(command)));
    }
    static QAction* Action(CMainDlg& window, Command command) { return Action(*window.menuBar(), command); }

    CTempDir m_dir;
    CWorkingDirectory m_cwd{m_dir.Path()};
    std::unique_ptr<CSettings> m_settings;
    CRecordingMessageBox m_messages;
    CRecordingLauncher m_launcher;
    std::vector<std::string> dialogs;
    std::vector<std::string> offeredFiles;
    QString importFolder;
    QString pickChoice;
    QString editedTitle;
    std::function<void(QDialog&)> onDialog;  // what the user does first in every dialog
};

TEST_F(MainWindowTest, StartsOnArtistsWithAlbumsAndStaysOpenOnEnterAndEscape) {
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cadenzo (v0.55)"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Grid().CurrentView(), (DisplayMode{0, 1, 0, 0}));
    EXPECT_TRUE(dialogs.empty()) << "the splash is off";
    EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());

    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("viewTree"));
    tree->setCurrentItem(tree->topLevelItem(3));  // "Songs"
    EXPECT_EQ(window->Grid().CurrentView(), (DisplayMode{3, 0, 0, 0}));
    window->UpdateMenuStates();
    EXPECT_FALSE(Action(*window, Command::Remove)->isEnabled()) << "nothing selected or checked";
    EXPECT_TRUE(Action(*window, Command::RecalcRatings)->isEnabled());
    Action(*window, Command::RecalcRatings)->trigger();
    EXPECT_TRUE(m_messages.shown.empty());

    Action(*window, Command::About)->trigger();
    EXPECT_EQ(dialogs, std::vector<std::string>{"aboutDialog"});
    Action(*window, Command::Documentation)->trigger();
    ASSERT_EQ(m_launcher.launched.size(), 1u);
    EXPECT_EQ(m_launcher.launched[0][0], "xdg-open");
    EXPECT_TRUE(m_launcher.launched[0][1].ends_with("manual.html"));
    WriteFile(m_dir.File("Cadenzo.doc"), "doc");
    Action(*window, Command::Documentation)->trigger();
    EXPECT_EQ(m_launcher.launched[1][1], "Cadenzo.doc");
    EXPECT_TRUE(m_messages.shown.empty());

    // What cannot be opened is told, never passed over in silence.
    m_launcher.error = ENOENT;
    Action(*window, Command::Documentation)->trigger();
    CAboutDlg about(m_launcher, m_messages);
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("donateButton")), Qt::LeftButton);
    EXPECT_EQ(m_messages.shown, (std::vector<std::string>{"'Cadenzo.doc' could not be opened: the program 'xdg-open' "
                                                          "could not be started: No such file or directory. Install "
                                                          "xdg-utils.",
                                                          "The file 'Donate.html' was not found."}));
    m_messages.shown.clear();
    m_launcher.error = 0;

    Action(*window, Command::Exit)->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, PlayAllAndExportHandTheSongsViewOn) {
    CSettings settings;
    settings.WriteString("MP3 Player", "Media Players", "/opt/player");
    {
        CLibraryDb db("Cadenzo.mdb", false, false, settings, m_messages);
        for (const char* path : {"/m/a.mp3", "/m/b.mp3"}) {
            SongRecord song;
            song.filePath = path;
            db.FindOrAddSong(song);
        }
    }
    CTempDir runtime;
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", runtime.Path());
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("viewTree"));
    auto* playAll = window->findChild<QPushButton*>(QStringLiteral("playAllButton"));
    tree->setCurrentItem(tree->topLevelItem(4));  // "Collections"
    EXPECT_FALSE(playAll->isEnabled());
    tree->setCurrentItem(tree->topLevelItem(3));  // "Songs"
    QTest::mouseClick(window->findChild<QCheckBox*>(QStringLiteral("enqueueCheck")), Qt::LeftButton);
    QTest::mouseClick(playAll, Qt::LeftButton);
    ASSERT_EQ(m_launcher.launched.size(), 1u);
    EXPECT_EQ(m_launcher.launched[0][1], "/ADD");
    EXPECT_EQ(ReadFile(m_launcher.launched[0][2]), "#EXTM3U\n/m/a.mp3\n/m/b.mp3\n");

    const std::size_t views = window->Grid().History().Count();
    window->UpdateMenuStates();
    ASSERT_TRUE(Action(*window, Command::ExportM3u)->isEnabled());
    Action(*window, Command::ExportM3u)->trigger();
    EXPECT_TRUE(offeredFiles.at(0).ends_with("/Unknown.m3u")) << offeredFiles[0];
    EXPECT_EQ(ReadFile(m_dir.File("list.m3u")), "/m/a.mp3\n/m/b.mp3\n");
    EXPECT_EQ(m_launcher.launched.size(), 1u);
    EXPECT_EQ(window->Grid().History().Count(), views);
}

TEST_F(MainWindowTest, ImportAsksWhereTheTagsLeaveItOpenAndShowsTheNewSongsAtOnce) {
    CTagWorkers workers;
    CSongTree tree(workers);
    SongTags tags = CSongTree::Tags("One", "Band", "First");
    tags.genre = "Gospel";
    tree.AddSong("R&B/1.mp3", tags);
    tree.AddSong("R&B/2.ogg", CSongTree::Tags("Two", "Band", "Second"));
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    auto* views = window->findChild<QTreeWidget*>(QStringLiteral("viewTree"));
    views->setCurrentItem(views->topLevelItem(3));  // "Songs"
    importFolder = QString::fromStdString(tree.Root() + "/");
    auto* hint = window->findChild<QWidget*>(QStringLiteral("emptyHint"));
    EXPECT_TRUE(hint->isVisible()) << "an empty library says how to begin";
    QTest::mouseClick(hint->findChild<QPushButton*>(QStringLiteral("emptyHintImportButton")), Qt::LeftButton);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"folderPicker", "importUnknownDialog"}))
        << "two albums of one artist in one folder: asked";
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(window->Grid().GetRowTotal(), 3) << "the songs show at once";
    auto* genres = window->findChild<QComboBox*>(QStringLiteral("genreFilter"));
    EXPECT_NE(genres->findText(QStringLiteral("Gospel")), -1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Import finished: 2 songs added."))
        << "what the import did, without a box to close";
    EXPECT_TRUE(m_messages.shown.empty());

    dialogs.clear();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("importButton")), Qt::LeftButton);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"folderPicker", "reimportQuestion"})) << "known songs: asked once";
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Import finished: 0 songs added, 1 folder skipped as already in the library."));
    dialogs.clear();
    onDialog = [](QDialog& dialog) {
        if (auto* all = dialog.findChild<QPushButton*>(QStringLiteral("allFoldersButton"))) {
            QTest::mouseClick(all, Qt::LeftButton);
        }
    };
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("importButton")), Qt::LeftButton);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"folderPicker", "reimportQuestion", "importUnknownDialog"}))
        << "All Folders: the import asks as it always did";
}

TEST_F(MainWindowTest, OneAnswerStandsForTheRestOfTheImportWithEachFolderItsOwnNames) {
    CTagWorkers workers;
    CSongTree tree(workers);
    for (int disc = 1; disc <= 6; ++disc) {
        for (const char* song : {"/a.mp3", "/b.ogg"}) {
            tree.AddSong("Band/Disc " + std::to_string(disc) + song, SongTags(), false);
        }
    }
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    importFolder = QString::fromStdString(tree.Root() + "/");
    onDialog = [](QDialog& dialog) {
        if (dialog.objectName() == QStringLiteral("importUntaggedDialog")) {
            QTest::mouseClick(dialog.findChild<QRadioButton*>(QStringLiteral("oneAlbumOption")), Qt::LeftButton);
            dialog.findChild<QCheckBox*>(QStringLiteral("sameAnswerCheck"))->setChecked(true);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
        }
    };
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("importButton")), Qt::LeftButton);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"folderPicker", "importUntaggedDialog"})) << "asked once";
    window->Grid().SwitchMode(kAlbumsMode, kAllAlbums, 0, 0);
    std::vector<std::string> albums;
    for (int row = 1; row < window->Grid().GetRowTotal(); ++row) {
        albums.push_back(window->Grid().GetCellText(row, CLibraryGrid::kNameColumn) + " by " +
                         window->Grid().GetCellText(row, CLibraryGrid::kArtistColumn));
    }
    std::sort(albums.begin(), albums.end());
    EXPECT_EQ(albums, (std::vector<std::string>{"Disc 1 by Band", "Disc 2 by Band", "Disc 3 by Band", "Disc 4 by Band",
                                                "Disc 5 by Band", "Disc 6 by Band"}));
}

TEST_F(MainWindowTest, ClosingTheWindowDuringAnImportStopsItAfterTheFolderAndThenCloses) {
    CTagWorkers workers;
    CSongTree tree(workers);
    for (const char* folder : {"A", "B"}) {
        tree.AddSong(std::string(folder) + "/1.mp3", CSongTree::Tags("One", folder, "First"));
        tree.AddSong(std::string(folder) + "/2.mp3", CSongTree::Tags("Two", folder, "Second"));
    }
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    window->Grid().SwitchMode(kSongsMode, kAllSongs, 0, 0);
    importFolder = QString::fromStdString(tree.Root() + "/");
    onDialog = [&window](QDialog& dialog) {
        if (dialog.objectName() == QStringLiteral("importUnknownDialog")) {
            window->close();
        }
    };
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("importButton")), Qt::LeftButton);
    EXPECT_EQ(dialogs, (std::vector<std::string>{"folderPicker", "importUnknownDialog"})) << "B was never asked about";
    EXPECT_EQ(window->Grid().GetRowTotal(), 3) << "A's two songs are stored";
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, TheTrayMenuRestoresAndEnds) {
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    QMenu* tray = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && Action(*menu, Command::Restore) != nullptr) {
            tray = menu;
        }
    }
    ASSERT_NE(tray, nullptr);
    window->hide();
    Action(*tray, Command::Restore)->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Action(*tray, Command::Exit)->text(), QStringLiteral("&Exit"));
    Action(*tray, Command::Exit)->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, AnAlbumIsStoredAndPlayedInTheOrderOfItsFileNames) {
    CTagWorkers workers;
    CSongTree tree(workers);
    std::vector<std::string> names;
    for (int track = 1; track <= 24; ++track) {
        names.push_back(fmt::format("{}rack {:02}.{}", track % 3 == 0 ? 'T' : 't', track, track % 2 ? "ogg" : "mp3"));
    }
    for (auto name = names.rbegin(); name != names.rend(); ++name) {  // made last to first
        tree.AddSong("Album/" + *name, CSongTree::Tags(*name, "Band", "Album"));
    }
    CTempDir runtime;
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", runtime.Path());
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    importFolder = QString::fromStdString(tree.Root() + "/");
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("importButton")), Qt::LeftButton);
    auto* views = window->findChild<QTreeWidget*>(QStringLiteral("viewTree"));
    views->setCurrentItem(views->topLevelItem(2));  // "Albums"
    CLibraryGrid& grid = window->Grid();
    ASSERT_EQ(grid.GetRowTotal(), 2);
    grid.EnsureVisible(1, CLibraryGrid::kPlayColumn);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                       grid.CellRect(1, CLibraryGrid::kPlayColumn).center());
    ASSERT_EQ(m_launcher.launched.size(), 1u);
    std::string expected = "#EXTM3U\n";
    for (const std::string& name : names) {
        expected += tree.Path("Album/" + name) + "\n";
    }
    EXPECT_EQ(ReadFile(m_launcher.launched[0].back()), expected);
}

TEST_F(MainWindowTest, TheEditingCommandsChangeTheLibraryAndRefreshTheView) {
    CSettings settings;
    AddSongs("Band", {"a", "b", "c"}, "Blue");
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    auto* views = window->findChild<QTreeWidget*>(QStringLiteral("viewTree"));
    views->setCurrentItem(views->topLevelItem(3));  // "Songs"
    CLibraryGrid& grid = window->Grid();
    const auto tick = [&grid](int row) {
        static_cast<CGridCellCheck*>(grid.GetCellObject(row, CLibraryGrid::kCheckColumn))->SetCheck(true);
    };
    tick(1);
    tick(2);
    const auto run = [&](Command command) {
        window->UpdateMenuStates();
        Action(*window, command)->trigger();
    };
    pickChoice = QStringLiteral("Band - Blue");  // equal album names differ by their artists
    run(Command::ChangeAlbum);
    ASSERT_EQ(dialogs, std::vector<std::string>{"pickDialog"});
    int onBlue = 0;
    for (int row = 1; row < grid.GetRowTotal(); ++row) {
        onBlue += grid.GetCellText(row, CLibraryGrid::kAlbumColumn) == "Blue" ? 1 : 0;
    }
    EXPECT_EQ(onBlue, 2);

    // A command that fails through its menu shows why and leaves the window working.
    const auto renameTable = [&](const char* sql) {
        CLibraryDb("Cadenzo.mdb", false, false, settings, m_messages).Execute(sql);  // another program
    };
    renameTable("ALTER TABLE Collections RENAME TO Gone");
    run(Command::RecalcRatings);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_NE(m_messages.shown[0].find("no such table: Collections"), std::string::npos) << m_messages.shown[0];
    m_messages.shown.clear();
    renameTable("ALTER TABLE Gone RENAME TO Collections");

    tick(1);
    m_messages.answers = {true, true};
    run(Command::Remove);
    EXPECT_EQ(m_messages.asked.at(0), "Are you sure you want to remove all checked items?");
    EXPECT_EQ(grid.GetRowTotal(), 3);

    run(Command::EditIni);
    EXPECT_EQ(m_launcher.launched.back(), (std::vector<std::string>{"xdg-open", m_dir.File("Cadenzo.ini")}));
    m_launcher.error = EACCES;
    run(Command::EditIni);
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{"The text editor 'xdg-open' could not be started: Permission "
                                                         "denied. Set the text editor in Cadenzo.ini, [Editors] Text "
                                                         "Editor."});
    m_messages.shown.clear();
    m_launcher.error = 0;

    {
        CLibraryLock otherCopy;  // another copy of the program with the library open
        bool alone = true;
        ASSERT_TRUE(otherCopy.Share(m_dir.File("Cadenzo.mdb"), alone));
        EXPECT_FALSE(alone);
        run(Command::DeleteDatabase);
        EXPECT_EQ(m_messages.asked.size(), 1u) << "refused before the question";
        EXPECT_EQ(m_messages.shown, std::vector<std::string>{"\"Cadenzo.mdb\" was not deleted: it is open in another "
                                                             "Cadenzo window. Close that window first."});
        EXPECT_EQ(grid.GetRowTotal(), 3) << "nothing changed";
        m_messages.shown.clear();
    }
    WriteFile(m_dir.File("Cadenzo.mdb-wal"), "the log of another connection");
    WriteFile(m_dir.File("Cadenzo.mdb-shm"), "its index");
    m_messages.answers = {true};
    run(Command::DeleteDatabase);
    EXPECT_EQ(m_messages.asked.at(1), "Are you sure you want to delete \"Cadenzo.mdb\"?");
    EXPECT_EQ(grid.GetRowTotal(), 1) << "a new, empty library";
    EXPECT_TRUE(std::filesystem::exists(m_dir.File("Cadenzo.mdb")));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("Cadenzo.mdb-wal")));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("Cadenzo.mdb-shm")));
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{});
}

TEST_F(MainWindowTest, SearchAndKeysWorkTheView) {
    AddSongs("Björk", {"Jóga", "Hunter", "Bachelorette"});
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    CLibraryGrid& grid = window->Grid();
    auto* views = window->findChild<QTreeWidget*>(QStringLiteral("viewTree"));
    views->setCurrentItem(views->topLevelItem(3));  // "Songs"
    auto* search = window->findChild<QLineEdit*>(QStringLiteral("searchField"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("JOGA"));
    EXPECT_EQ(grid.GetRowTotal(), 4) << "refilled only after a pause in typing";
    QTRY_COMPARE(grid.GetRowTotal(), 2);
    EXPECT_EQ(grid.GetCellText(1, CLibraryGrid::kNameColumn), "Jóga");

    grid.setFocus();
    grid.SetFocusCell(1, CLibraryGrid::kNameColumn);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_EQ(m_launcher.launched.size(), 1u) << "Enter plays the row";
    QTest::keyClick(search, Qt::Key_Escape);
    EXPECT_EQ(grid.GetRowTotal(), 4) << "Escape clears the search at once";

    QTest::keyClicks(search, QStringLiteral("hunter"));
    QTRY_COMPARE(grid.GetRowTotal(), 2);
    views->setCurrentItem(views->topLevelItem(0));  // "Artists"
    EXPECT_TRUE(search->text().isEmpty()) << "a search belongs to its view";
    grid.setFocus();
    QTest::keyClick(window.get(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(grid.CurrentView().mode, kSongsMode) << "Alt+Left goes back";
    EXPECT_EQ(grid.GetRowTotal(), 4);
    EXPECT_EQ(Action(*window, Command::Exit)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

TEST_F(MainWindowTest, TheWindowComesBackWhereItWasAndFitsTheScreen) {
    CSettings settings;
    settings.SetWindowPlace("not a place");
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    const QSize available = window->screen()->availableGeometry().size();
    EXPECT_TRUE(available.expandedTo(window->size()) == available) << "the designed size, within the screen";
    window->resize(window->DesignedSize());
    window->Grid().SwitchMode(kSongsMode, kAllSongs, 0, 0);
    QApplication::processEvents();
    EXPECT_EQ(window->Grid().horizontalScrollBar()->maximum(), 0) << "every column of the Songs view shows";

    window->resize(611, 407);
    auto* splitter = window->findChild<QSplitter*>(QStringLiteral("treeGridSplitter"));
    splitter->setSizes({90, 500});
    const QList<int> sizes = splitter->sizes();
    window->close();
    window = Open();
    ASSERT_TRUE(window->Initialise());
    EXPECT_EQ(window->size(), QSize(611, 407));
    EXPECT_EQ(window->findChild<QSplitter*>(QStringLiteral("treeGridSplitter"))->sizes(), sizes);
}

TEST_F(MainWindowTest, ATranslationForTheUsersLanguageChangesTheWindowsAndTheMessagesTexts) {
    AddSongs("Björk", {"Jóga"});
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LoadTranslations({QStringLiteral("/nowhere"), QStringLiteral(CADENZO_TEST_TRANSLATIONS)});
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("playAllButton"))->text(),
              QStringLiteral("Alle abspielen"));
    EXPECT_EQ(window->findChild<QTreeWidget*>(QStringLiteral("viewTree"))->topLevelItem(3)->text(0),
              QStringLiteral("Lieder"));
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("checkAllButton"))->text(), QStringLiteral("Check All"))
        << "untranslated texts stay English";
    window->Grid().SwitchMode(kSongsMode, kAllSongs, 0, 0);
    dynamic_cast<CGridCellCheck*>(window->Grid().GetCellObject(1, CLibraryGrid::kCheckColumn))->SetCheck(true);
    window->RunMenuCommand(Command::Remove);
    EXPECT_EQ(m_messages.asked, std::vector<std::string>{"Alle angehakten Einträge wirklich entfernen?"});
    CUserText::SetTranslation({});
    QLocale::setDefault(QLocale::c());
}

TEST_F(MainWindowTest, FindMissingSongsListsTheSongsWhoseFilesAreGoneAndRemovesTheTickedOnes) {
    AddSongs("Band", {"Gone One", "Gone Two"});  // paths under /m, where no file is
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    int listed = 0;
    onDialog = [&](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("missingList"));
        if (list == nullptr) {
            return;
        }
        listed = list->topLevelItemCount();
        EXPECT_EQ(list->topLevelItem(0)->text(3), QStringLiteral("/m/Gone One.mp3"));
        list->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("removeMissingButton")), Qt::LeftButton);
        EXPECT_EQ(list->topLevelItemCount(), 1) << "the removed song leaves the list";
    };
    m_messages.answers = {true};
    window->RunMenuCommand(Command::FindMissingSongs);
    EXPECT_EQ(dialogs, std::vector<std::string>{"missingSongsDialog"});
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(m_messages.asked,
              std::vector<std::string>{"Are you sure you want to remove the ticked song from the library?"});
    window->Grid().SwitchMode(kSongsMode, kAllSongs, 0, 0);
    EXPECT_EQ(window->Grid().GetRowTotal(), 2) << "the header and the song left";
}

TEST_F(MainWindowTest, RatingsAndPlaysAreWrittenIntoTheFilesOnlyWhenTheSettingsSaySo) {
    CTagWorkers workers;
    CSongTree tree(workers);
    SongRecord song;
    song.name = "Yesterday";
    song.fileType = kMp3File;
    song.filePath = tree.AddSong("Help/Yesterday.mp3", CSongTree::Tags("Yesterday", "The Beatles", "Help!"));
    {
        CSettings settings;
        CLibraryDb("Cadenzo.mdb", false, false, settings, m_messages).FindOrAddSong(song);
    }
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    CLibraryGrid& grid = window->Grid();
    grid.SwitchMode(kSongsMode, kAllSongs, 0, 0);
    grid.setFocus();
    grid.SetFocusCell(1, CLibraryGrid::kNameColumn);
    const auto fileRating = [&] { return workers.Read({{song.filePath, kMp3File}}).front().rating; };
    QTest::keyClick(&grid, Qt::Key_3, Qt::ControlModifier);
    QTest::qWait(200);
    EXPECT_EQ(fileRating(), 0) << "off unless set: the file is never touched unasked";

    CSettings().WriteString("Save Ratings In Tags", "Settings", "1");
    QTest::keyClick(&grid, Qt::Key_5, Qt::ControlModifier);
    QTRY_COMPARE(fileRating(), 5);
    QTest::keyClick(&grid, Qt::Key_Return);  // plays the row
    ASSERT_EQ(m_launcher.launched.size(), 1u);
    QTRY_COMPARE(workers.Read({{song.filePath, kMp3File}}).front().playCount, 1);
    EXPECT_EQ(workers.Read({{song.filePath, kMp3File}}).front().title, "Yesterday");
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(MainWindowTest, AReadOnlyLibraryTurnsItsWritingCommandsOff) {
    Open().reset();  // creates the library
    CSettings writer;
    writer.WriteString("Exclusive", "Database", "1");
    auto window = Open(false);
    ASSERT_TRUE(window->Initialise());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Cadenzo (v0.55)  (Read-Only)"));
    EXPECT_EQ(dialogs, std::vector<std::string>{"aboutDialog"}) << "the splash";
    window->UpdateMenuStates();
    for (const Command command :
         {Command::RecalcRatings, Command::ManageArtists, Command::Remove, Command::ChangeAlbum}) {
        EXPECT_FALSE(Action(*window, command)->isEnabled()) << static_cast<int>(command);
    }
    EXPECT_TRUE(Action(*window, Command::About)->isEnabled());
    EXPECT_FALSE(window->findChild<QPushButton*>(QStringLiteral("importButton"))->isEnabled());
}

TEST_F(MainWindowTest, AnEditWhoseRowsCouldNotBeStoredIsCompletedFromTheFilesAtTheNextStart) {
    CTagWorkers workers;
    CSongTree tree(workers);
    CSettings settings;
    std::int32_t id = 0;
    {
        CLibraryDb db("Cadenzo.mdb", false, false, settings, m_messages);
        SongRecord song;
        song.name = "Old";
        song.filePath = tree.AddSong("old.mp3", CSongTree::Tags("Old", "Band", "Album"));
        song.fileType = kMp3File;
        id = db.FindOrAddSong(song);
        // The library refuses every change of a song, as a full disk would.
        db.Execute("CREATE TRIGGER Full BEFORE UPDATE ON Songs BEGIN SELECT RAISE(ABORT, 'full'); END", dbFailOnError);
    }
    {
        auto window = Open();
        ASSERT_TRUE(window->Initialise());
        editedTitle = QStringLiteral("New");
        ASSERT_TRUE(window->EditItem(kSongItem, id));
        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_TRUE(
            m_messages.shown[0].starts_with("The tags of 1 songs were written into their files, but the "
                                            "library could not be changed:"))
            << m_messages.shown[0];
    }
    {
        CLibraryDb db("Cadenzo.mdb", false, false, settings, m_messages);
        db.Execute("DROP TRIGGER Full", dbFailOnError);  // the disk has room again
    }
    auto window = Open();
    ASSERT_TRUE(window->Initialise());
    EXPECT_EQ(m_messages.shown.back(),
              "1 songs were brought up to date with the tags in their files after an interrupted edit.");
    CLibraryDb db("Cadenzo.mdb", false, false, settings, m_messages);
    EXPECT_EQ(db.ReadSong(id).name, "New");
}

TEST_F(MainWindowTest, ASecondCopyOnTheSameLibraryShowsItReadOnly) {
    auto first = Open();
    ASSERT_TRUE(first->Initialise());
    auto second = Open();
    ASSERT_TRUE(second->Initialise());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Cadenzo (v0.55)  (Read-Only)"));
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{"The library 'Cadenzo.mdb' is already open in another "
                                                         "Cadenzo window: this window shows it read-only."});
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Cadenzo (v0.55)"));
}

TEST_F(MainWindowTest, AnUnusableLibraryEndsTheProgramWithoutAWindow) {
    CSettings settings;
    settings.WriteString("Database", "Database", "");
    auto window = Open();
    EXPECT_FALSE(window->Initialise());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{"Error: Couldn't find directory at path \"\""});
}

}  // namespace
