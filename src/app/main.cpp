#include <cstdio>
#include <string>

#include "app/settings.h"
#include "app/startup.h"
#include "platform/filedescriptor.h"
#include "platform/messagebox.h"

namespace {

// Until the main window exists the program reports on the terminal.
class CConsoleMessageBox : public CMessageBox {
public:
    void Show(const std::string& text) override { std::fprintf(stderr, "Cadenzo: %s\n", text.c_str()); }
    bool AskYesNo(const std::string& text) override {
        Show(text);
        return false;
    }
};

}  // namespace

int main() {
    IgnoreBrokenPipes();
    InitProgramDirectory();
    CConsoleMessageBox messages;
    const CSettings settings;
    const COpenedLibrary library = OpenLibrary(settings, messages);
    if (!library.IsUsable()) {
        return 1;
    }
    std::printf("Cadenzo: library '%s' open at version %d%s; settings in '%s'.\n", library.db->GetPath().c_str(),
                library.db->GetVersion(), library.readOnly ? " (read-only)" : "", settings.GetIniPath().c_str());
    return 0;
}
