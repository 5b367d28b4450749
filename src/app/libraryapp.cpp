#include "app/libraryapp.h"

#include <QApplication>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/maindlg.h"
#include "app/qtmessagebox.h"
#include "app/settings.h"
#include "app/startup.h"
#include "import/tagworkers.h"
#include "platform/filedescriptor.h"
#include "platform/launcher.h"
#include "platform/runtimerandom.h"
#include "platform/translations.h"
#include "play/playlist.h"

namespace {

// What the arguments after the program's name ask for.
CommandLine ReadArguments(int argc, char** argv) {
    return ReadCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}

}  // namespace

int CLibraryApp::Run(int argc, char** argv) {
    IgnoreBrokenPipes();
    // Help and version need no window: they are answered before Qt looks for a display.
    if (const CommandLine early = ReadArguments(argc, argv);
        early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version) {
        std::fputs((early.action == CommandLine::Action::Help ? UsageText() : VersionText()).c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);  // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("Cadenzo"));
    QApplication::setDesktopFileName(QStringLiteral("cadenzo"));
    LoadTranslations(TranslationFolders(QCoreApplication::applicationDirPath()));
    const CommandLine line = ReadArguments(argc, argv);
    if (line.action == CommandLine::Action::Refuse) {
        std::fprintf(stderr, "cadenzo: %s\n%s", line.problem.c_str(), UsageText().c_str());
        return 2;
    }
    if (!line.folder.empty() && chdir(line.folder.c_str()) != 0) {
        std::fprintf(stderr, "cadenzo: cannot use the folder '%s': %s\n", line.folder.c_str(), std::strerror(errno));
        return 2;
    }
    InitProgramDirectory();
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
