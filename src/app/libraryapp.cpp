#include "app/libraryapp.h"

#include <QApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
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

int g_termPipe[2] = {-1, -1};

void OnTermSignal(int /*signal*/) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(g_termPipe[1], &byte, 1);
}

// SIGTERM (a logout, a `kill`) ends the program as Exit does: the window saves its place and the
// library is closed in order. The handler only writes a byte, which the event loop reads once the
// window is up; a SIGTERM during start-up waits for it.
void CatchTermSignal() {
    if (pipe2(g_termPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnTermSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

void CloseOnTermSignal(CMainDlg& window) {
    if (g_termPipe[0] < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(g_termPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        while (read(g_termPipe[0], &byte, 1) > 0) {
        }
        if (window.close()) {
            QApplication::quit();  // also when the window is hidden in the tray
        }
    });
}

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
    CatchTermSignal();
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
    CloseOnTermSignal(window);
    return QApplication::exec();
}
