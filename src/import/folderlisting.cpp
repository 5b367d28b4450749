#include "import/folderlisting.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <string_view>
#include <utility>

#include "engine/collation.h"
#include "import/songfile.h"
#include "import/tagprotocol.h"

namespace {

std::string ChildPath(const std::string& folder, const char* name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// The order of a folder's entries: their names compared without regard to letter case, as a
// listing shows them, the bytes deciding between names that differ only in case. The walk and
// the song IDs follow it, so the songs of a folder are stored, and played, by their names.
bool ListedBefore(std::string_view a, std::string_view b) {
    const int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

}  // namespace

FolderListing ListFolder(const std::string& folder) {
    FolderListing listing;
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory) {
        return listing;
    }
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || IsTagWriteLeftover(name)) {
            continue;
        }
        const std::string path = ChildPath(folder, entry->d_name);
        const SongFileType type = FileTypeFromPath(path);
        if (entry->d_type != DT_DIR && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN &&
            type == kNotASongFile) {
            continue;  // no folder, no link and no song: nothing to ask the system
        }
        // The listing's type saves a stat for plain files and folders; links are followed.
        mode_t mode = entry->d_type == DT_DIR ? S_IFDIR : S_IFREG;
        if ((entry->d_type != DT_DIR && entry->d_type != DT_REG) || path.size() >= PATH_MAX) {
            struct stat info {};
            if (stat(path.c_str(), &info) != 0) {
                const bool tooLong = errno == ENAMETOOLONG;
                if (tooLong && (entry->d_type == DT_DIR || type != kNotASongFile)) {
                    listing.tooLong.push_back(path);
                }
                continue;
            }
            mode = info.st_mode;
        }
        if (S_ISDIR(mode)) {
            listing.subfolders.push_back(path);
        } else if (S_ISREG(mode) && type != kNotASongFile) {
            listing.songFiles.emplace_back(path, type);
        }
    }
    // The paths share the folder's: their names alone decide.
    const std::size_t folderPart = ChildPath(folder, "").size();
    const auto name = [folderPart](const std::string& path) { return std::string_view(path).substr(folderPart); };
    std::sort(listing.subfolders.begin(), listing.subfolders.end(),
              [&](const auto& a, const auto& b) { return ListedBefore(name(a), name(b)); });
    std::sort(listing.songFiles.begin(), listing.songFiles.end(),
              [&](const auto& a, const auto& b) { return ListedBefore(name(a.first), name(b.first)); });
    return listing;
}

std::optional<ListedFolder> CFolderTree::Next() {
    while (!m_toList.empty()) {
        std::vector<std::string> paths = std::move(m_toList.back());
        m_toList.pop_back();
        struct stat info {};
        if (stat(paths.back().c_str(), &info) != 0 || !m_seen.insert({info.st_dev, info.st_ino}).second) {
            continue;  // gone, or reached before through a link
        }
        ListedFolder folder{std::move(paths), {}};
        folder.listing = ListFolder(folder.paths.back());
        for (auto subfolder = folder.listing.subfolders.rbegin(); subfolder != folder.listing.subfolders.rend();
             ++subfolder) {
            std::vector<std::string> below = folder.paths;
            below.push_back(*subfolder);
            m_toList.push_back(std::move(below));
        }
        return folder;
    }
    return std::nullopt;
}

void ForEachFolderBelow(const std::string& root, const std::function<void(const FolderListing&)>& visit) {
    CFolderTree tree({root});
    while (const std::optional<ListedFolder> folder = tree.Next()) {
        visit(folder->listing);
    }
}
