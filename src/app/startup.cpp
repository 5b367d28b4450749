#include "app/startup.h"

#include <fmt/printf.h>

#include "app/settings.h"
#include "platform/fileaccess.h"
#include "platform/messagebox.h"

COpenedLibrary OpenLibrary(const CSettings& settings, CMessageBox& messages) {
    COpenedLibrary library;
    const std::string path = settings.GetDatabasePath();
    if (path.empty()) {
        messages.Show(fmt::sprintf("Error: Couldn't find directory at path \"%s\"", path));
        return library;
    }
    const bool exclusive = settings.IsExclusive();
    library.readOnly = IsReadOnlyFile(path) || exclusive;
    library.db = std::make_unique<CLibraryDb>(path, exclusive, library.readOnly, settings, messages);
    return library;
}
