#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
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

// A folder of a tree and its listing.
struct ListedFolder {
    std::vector<std::string> paths;  // the folders from the tree's root down to this one
    FolderListing listing;
};

// Lists a tree folder by folder: the root and every folder below it, each once even where links
// reach it twice, parents before their subfolders, in name order.
class CFolderTree {
public:
    CFolderTree() = default;  // lists nothing
    // `root`: the root's path, and the folders above it if any.
    explicit CFolderTree(std::vector<std::string> root) : m_toList{std::move(root)} {}

    // The next folder; none at the end.
    std::optional<ListedFolder> Next();

private:
    std::vector<std::vector<std::string>> m_toList;  // a stack: the next folder last
    std::set<std::pair<dev_t, ino_t>> m_seen;
};

// Gives `visit` the listing of each folder of the tree at `root`, as CFolderTree lists them.
void ForEachFolderBelow(const std::string& root, const std::function<void(const FolderListing&)>& visit);
