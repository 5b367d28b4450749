#include "app/libraryapp.h"

#include <QApplication>

#include <ctime>

#include "app/maindlg.h"
#include "app/qtmessagebox.h"
#include "app/settings.h"
#include "app/startup.h"
#include "import/tagworkers.h"
#include "platform/filedescriptor.h"
#include "platform/launcher.h"
#include "platform/runtimerandom.h"
#include "play/playlist.h"

int CLibraryApp::Run(int argc, char** argv) {
    IgnoreBrokenPipes();
    InitProgramDirectory();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cadenzo"));
    QApplication::setDesktopFileName(QStringLiteral("cadenzo"));
    CQtMessageBox messages;
    if (const auto missing = MissingRuntimePart(kTagLibrarySoname, CTagWorkers::DefaultTagWorkerCommand().front())) {
        messages.Show(*missing);
        return 1;
    }
    ProgramRandom().Seed(static_cast<std::uint32_t>(std::time(nullptr)));
    RemoveOldPlayPlaylists();
    CSettings settings;
    CSpawnLauncher launcher;
    CMainDlg window(settings, OpenLibrary(settings, messages), messages, launcher);
    messages.SetParent(&window);
    if (!window.Initialise()) {
        return 1;
    }
    return QApplication::exec();
}
