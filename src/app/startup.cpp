#include "app/startup.h"

#include <dlfcn.h>
#include <unistd.h>

#include <fmt/printf.h>

#include "app/settings.h"
#include "platform/fileaccess.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"

std::optional<std::string> MissingRuntimePart(const std::string& tagLibrary, const std::string& tagWorker) {
    void* library = dlopen(tagLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return tagLibrary + CUserText::tr(" could not be found");
    }
    dlclose(library);
    if (access(tagWorker.c_str(), X_OK) != 0) {
        return tagWorker + CUserText::tr(" could not be found");
    }
    return std::nullopt;
}

COpenedLibrary OpenLibrary(const CSettings& settings, CMessageBox& messages) {
    COpenedLibrary library;
    const std::string path = settings.GetDatabasePath();
    if (path.empty()) {
        messages.Show(fmt::sprintf(CUserText::tr("Error: Couldn't find directory at path \"%s\""), path));
        return library;
    }
    const bool exclusive = settings.IsExclusive();
    library.readOnly = IsReadOnlyFile(path) || exclusive;
    bool alone = true;
    const bool existed = library.lock.Share(path, alone);
    if (!alone && !library.readOnly) {
        messages.Show(fmt::sprintf(
            CUserText::tr(
                "The library '%s' is already open in another Cadenzo window: this window shows it read-only."),
            path));
        library.readOnly = true;
    }
    library.db = std::make_unique<CLibraryDb>(path, exclusive, library.readOnly, settings, messages);
    if (!existed) {
        library.lock.Share(path, alone);  // made just now
    }
    return library;
}
