// Shows the real main window on a library of sample songs and saves pictures of it: several
// views, an artist's albums with the two special rows, the menus and the About dialog. Not
// installed; scripts/screenshot runs it under Xvfb. Arguments: the folder for the pictures, and
// "--dark" for a dark palette.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTimer>

#include <filesystem>
#include <string>

#include "app/maindlg.h"
#include "app/qtmessagebox.h"
#include "app/settings.h"
#include "browse/librarygrid.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "edit/aboutdlg.h"
#include "edit/edititemdlg.h"
#include "edit/managerdlg.h"
#include "edit/missingsongs.h"
#include "edit/missingsongsdlg.h"
#include "folderpicker/folderpickerdlg.h"
#include "import/importdlgs.h"
#include "import/importreport.h"
#include "import/songfile.h"
#include "import/tagworkers.h"
#include "platform/launcher.h"
#include "platform/librarylock.h"

namespace {

struct SampleSong {
    const char* artist;
    const char* album;
    const char* title;
    int rating;
    bool unsorted;
};

const SampleSong kSongs[] = {
    {"The Beatles", "Abbey Road", "Come Together", 7, false},
    {"The Beatles", "Abbey Road", "Something", 6, false},
    {"The Beatles", "Abbey Road", "Octopus's Garden", 3, false},
    {"The Beatles", "Help!", "Yesterday", 5, false},
    {"The Beatles", "Help!", "Ticket to Ride", 4, false},
    {"The Beatles", "", "Free as a Bird", 0, true},
    {"Miles Davis", "Kind of Blue", "So What", 6, false},
    {"Miles Davis", "Kind of Blue", "Blue in Green", 0, false},
    {"Miles Davis", "Kind of Blue", "Freddie Freeloader", 2, false},
    {"Кино", "Группа крови", "Кукушка", 5, false},
    {"Sinéad O'Connor", "I Do Not Want What I Haven't Got", "Nothing Compares 2 U", 1, false},
    {"Various Artists", "Jazz Classics", "Take Five", 6, false},
    {"Various Artists", "Jazz Classics", "Round Midnight", 3, false},
    {"Loner", "", "A Song on Its Own", 2, true},
};

void BuildSampleLibrary(CLibraryDb& db) {
    int number = 0;
    for (const SampleSong& sample : kSongs) {
        const std::int32_t artist = db.FindOrAddArtist({0, sample.artist, 0, 0.0});
        const std::string folder = std::string("/music/") + sample.artist + "/" + sample.album;
        const std::int32_t album =
            *sample.album != '\0' ? db.FindOrAddAlbum({0, artist, sample.album, 0, 0.0, folder}) : 0;
        SongRecord song;
        song.name = sample.title;
        song.artistId = artist;
        song.albumId = album;
        song.track = std::to_string(++number % 9 + 1);
        song.length = std::to_string(2 + number % 5) + ":" + std::to_string(10 + number * 7 % 50);
        song.year = "1969";
        song.genre = number % 3 == 0 ? "Jazz" : "Rock";
        song.userRating = static_cast<std::int16_t>(sample.rating);
        song.unsorted = sample.unsorted;
        song.filePath = folder + "/" + sample.title + ".mp3";
        const std::int32_t id = db.FindOrAddSong(song);
        db.Execute(
            "UPDATE Songs SET PlayCount = " + std::to_string(number * 3 % 17) + " WHERE ID = " + std::to_string(id),
            dbFailOnError);
    }
    db.FindOrAddGenre({0, "Rock", 0});
    db.FindOrAddGenre({0, "Jazz", 0});
    const std::int32_t collection = db.FindOrAddCollection({0, "Road Trip", 0, 0.0});
    for (const std::int32_t song : {1, 7, 10, 12}) {
        db.AddSongToCollection(song, collection);
    }
    db.RecalcRatings();
}

void UseDarkPalette() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(60, 60, 64));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    }
    QApplication::setPalette(dark);
}

void Save(QWidget& widget, const std::string& folder, const char* name) {
    QApplication::processEvents();
    widget.grab().save(QString::fromStdString(folder + "/" + name + ".png"));
}

// Types `text` into the widget key by key, as a user would.
void Type(QWidget& widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &press);
    }
}

std::vector<CSongFile> SampleFolder() {
    std::vector<CSongFile> songs(4);
    const char* names[] = {"04 - Walk On.mp3", "01 - Intro.mp3", "03 - B&W.ogg", "02 - Daylight.mp3"};
    for (std::size_t i = 0; i < songs.size(); ++i) {
        songs[i].Assign(std::string("/home/me/Music/R&B/") + names[i], SongTags{});
    }
    return songs;
}

void SaveImportWindows(const std::string& pictures, const std::filesystem::path& home, CMessageBox& messages,
                       QWidget& window) {
    for (const char* folder : {"Music/R&B", "Music/Jazz", "Movies", "PODCASTS", "Documents"}) {
        std::filesystem::create_directories(home / folder);
    }
    CFolderPickerDlg picker(home.string(), messages, &window);
    picker.setWindowTitle(QStringLiteral("Select Folder Containing Multiple Artists to Import"));
    picker.show();
    Type(*picker.findChild<QLineEdit*>(QStringLiteral("folderEdit")), QStringLiteral("Mu"));
    Save(picker, pictures, "import-folder-picker");
    picker.hide();

    const std::vector<CSongFile> songs = SampleFolder();
    UnknownAnswer unknown;
    unknown.name = "R&B";
    CImportUnknownDlg few("Band", "/home/me/Music/R&B", songs, "Cadenzo found only a few songs in this directory",
                          unknown, &window);
    few.show();
    Save(few, pictures, "import-unknown");
    few.hide();
    UntaggedAnswer untagged;
    untagged.albumName = untagged.collectionName = "R&B";
    CImportUntaggedDlg bare("/home/me/Music/R&B", songs, "Cadenzo found untagged songs", untagged, &window);
    bare.show();
    Save(bare, pictures, "import-untagged");
    bare.hide();
    CProcessingDlg progress("Importing Files", &window);
    progress.SetProgressText("Importing /home/me/Music/R&B");
    progress.SetTotal(40);
    progress.SetCounts(12, 148);
    progress.show();
    progress.KeepPainted(true);
    Save(progress, pictures, "import-progress");
    progress.hide();
    CImportDialogs reimport(
        [&](QDialog& question) {
            question.show();
            Save(question, pictures, "import-reimport");
            return QDialog::Accepted;
        },
        &window);
    reimport.AskReimport(1480, 1512);
}

void SaveEditWindows(const std::string& pictures, CLibraryDb& db, CSettings& settings, CMessageBox& messages,
                     CLauncher& launcher, QWidget& window) {
    CTagWorkers workers;
    CLibraryLock lock;
    const CCommandContext context{db,
                                  lock,
                                  settings,
                                  messages,
                                  launcher,
                                  ExecDialog,
                                  [](const std::function<void()>& command) { command(); },
                                  [&workers]() -> CTagWorkers& { return workers; },
                                  false,
                                  &window};
    const struct {
        ItemKind kind;
        IdList ids;
        const char* name;
    } edits[] = {{kSongItem, {4}, "edit-song"},
                 {kSeveralSongsItem, {1, 2, 3}, "edit-several-songs"},
                 {kAlbumItem, {1}, "edit-album"}};
    for (const auto& [kind, ids, name] : edits) {
        CItemEdit edit(db, workers, kind, ids);
        CEditItemDlg dialog(edit, context, &window);
        dialog.show();
        Save(dialog, pictures, name);
    }
    CManagerDlg manager(context, nullptr, kAlbumItem, "Manage Albums", kManagerAll, &window);
    manager.show();
    Save(manager, pictures, "manage-albums");
    // The sample library's songs have no files.
    CMissingSongsDlg missing(context, FindMissingSongs(db, [](std::size_t, std::size_t) { return true; }), &window);
    missing.show();
    Save(missing, pictures, "missing-songs");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::string pictures = std::filesystem::absolute(argc > 1 ? argv[1] : "shots").string();
    if (argc > 2 && std::string(argv[2]) == "--dark") {
        UseDarkPalette();
    }
    std::filesystem::create_directories(pictures);
    const std::filesystem::path library = std::filesystem::temp_directory_path() / "cadenzo-shots";
    std::filesystem::remove_all(library);
    std::filesystem::create_directories(library);
    std::filesystem::current_path(library);
    InitProgramDirectory();

    CSettings settings;
    settings.WriteString("Ignore Splash", "Settings", "1");
    CQtMessageBox messages;
    CSpawnLauncher launcher;
    BuildSampleLibrary(*OpenLibrary(settings, messages).db);
    CMainDlg window(settings, OpenLibrary(settings, messages), messages, launcher);
    if (!window.Initialise()) {
        return 1;
    }
    CLibraryGrid& grid = window.Grid();
    Save(window, pictures, "artists-with-albums");
    grid.SwitchMode(1, 0, 0, 0);
    Save(window, pictures, "albums");
    grid.SwitchMode(1, 2, 1, 0);
    Save(window, pictures, "albums-of-artist");
    grid.SwitchMode(3, 0, 0, 0);
    Save(window, pictures, "songs");
    grid.SwitchMode(1, 6, 0, 0);
    Save(window, pictures, "underplayed-albums");
    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
        if (menu->title() == QStringLiteral("&Edit") || menu->title() == QStringLiteral("&Debug")) {
            window.UpdateMenuStates();
            menu->popup(window.mapToGlobal(QPoint(40, 30)));
            Save(*menu, pictures, menu->title() == QStringLiteral("&Edit") ? "menu-edit" : "menu-debug");
            menu->hide();
        }
    }
    SaveImportWindows(pictures, library / "home", messages, window);
    ImportReport report;
    report.counts = {32, 5, 1, 2};
    report.foldersSkipped = 118;
    window.statusBar()->showMessage(QString::fromStdString(ImportSummary(report)));
    Save(window, pictures, "import-report");
    // The dialogs' own connection, within this copy of the program: not a second start.
    CLibraryDb second(settings.GetDatabasePath(), false, false, settings, messages);
    SaveEditWindows(pictures, second, settings, messages, launcher, window);
    CAboutDlg about(launcher, messages, &window);
    about.show();
    Save(about, pictures, "about");
    return 0;
}
