#pragma once

#include <functional>
#include <string>
#include <vector>

#include "import/tagworkers.h"

// One folder's entries, in name order.
struct FolderListing {
    std::vector<std::string> subfolders;
    CTagWorkers::Files songFiles;
    std::vector<std::string> tooLong;  // song files and folders whose paths the system refuses
};

// Lists a folder by its path. Only regular files are songs (a FIFO named x.mp3 would block);
// links are followed; what a killed tag write left behind is no song. A folder that cannot be
// read lists nothing.
FolderListing ListFolder(const std::string& folder);

// Lists `root` and every folder below it, each once even where links reach it twice, and gives
// `visit` each listing, parents before their subfolders.
void ForEachFolderBelow(const std::string& root, const std::function<void(const FolderListing&)>& visit);
