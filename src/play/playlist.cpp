#include "play/playlist.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fmt/format.h>
#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/librarydb.h"
#include "engine/transaction.h"
#include "platform/atomicfile.h"
#include "platform/filedescriptor.h"
#include "platform/runtimerandom.h"

namespace {

// The names of the playlists of plays: "play-" and six letters that make the name unique.
constexpr const char* kPlayPlaylistPrefix = "play-";
constexpr const char* kPlayPlaylistSuffix = ".m3u";
constexpr std::size_t kPlayPlaylistNameSize = 15;
constexpr auto kPlayPlaylistLifetime = std::chrono::hours(24);

// Where the folder for playlists goes: the runtime folder, else the temporary folder.
std::string PlaylistFolderParent() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return runtime;
    }
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? "/tmp" : temporary.string();
}

// True for a folder (not a link) of this user that no one else may enter (once it is closed to
// them). errno EPERM for a link or a folder of another user.
bool IsOnlyOurs(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        errno = EPERM;
        return false;
    }
    return (info.st_mode & 077) == 0 || chmod(folder.c_str(), 0700) == 0;
}

std::string PlaylistText(const PathList& paths) {
    std::string text;
    for (const std::string& entry : paths) {
        text += entry;  // "%s\n": the path byte for byte, then a line feed
        text += '\n';
    }
    return text;
}

bool IsPlayPlaylistName(const std::string& name) {
    return name.size() == kPlayPlaylistNameSize && name.starts_with(kPlayPlaylistPrefix) &&
           name.ends_with(kPlayPlaylistSuffix);
}

}  // namespace

SongFiles CollectSongFiles(CLibraryDb& db, const std::string& sql) {
    SongFiles songs;
    CDbQuery query(db, sql);
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        std::string path = row->GetFieldValue("FilePath").AsText();
        if (!path.empty()) {
            songs.paths.push_back(std::move(path));
            songs.ids.push_back(row->GetFieldValue("ID").AsLong());
        }
    }
    return songs;
}

PathList DropPathsWithLineBreaks(SongFiles& songs) {
    PathList dropped;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < songs.paths.size(); ++i) {
        if (songs.paths[i].find('\n') != std::string::npos) {
            dropped.push_back(std::move(songs.paths[i]));
            continue;
        }
        if (kept != i) {
            songs.paths[kept] = std::move(songs.paths[i]);
            songs.ids[kept] = songs.ids[i];
        }
        ++kept;
    }
    songs.paths.resize(kept);
    songs.ids.resize(kept);
    return dropped;
}

void ShuffleList(PathList& paths, CRuntimeRandom& random) {
    for (std::size_t k = paths.size(); k-- > 0;) {
        const std::size_t j = static_cast<std::size_t>(random.Next()) % (k + 1);
        std::swap(paths[k], paths[j]);
    }
}

void TranslatePrefixes(PathList& paths, const std::string& from, const std::string& to) {
    for (std::string& path : paths) {
        if (path.starts_with(from)) {
            path.replace(0, from.size(), to);
        }
    }
}

std::string WritePlaylistFile(const std::string& path, const PathList& paths) {
    return ReplaceFileAtomically(path, PlaylistText(paths)) ? path : std::string();
}

std::string PlaylistFolder(bool make) {
    const std::string parent = PlaylistFolderParent();
    const std::string folder = fmt::format("{}/cadenzo-{}", parent, geteuid());
    if (make && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    if (IsOnlyOurs(folder)) {
        return folder;
    }
    if (!make || errno != EPERM) {
        return {};
    }
    std::string own = folder + "-XXXXXX";
    return mkdtemp(own.data()) != nullptr ? own : std::string();
}

std::string WritePlayPlaylist(const PathList& paths) {
    const std::string folder = PlaylistFolder(true);
    if (folder.empty()) {
        return {};
    }
    std::string path = fmt::format("{}/{}XXXXXX{}", folder, kPlayPlaylistPrefix, kPlayPlaylistSuffix);
    CFileDescriptor fd(mkostemps(path.data(), static_cast<int>(std::strlen(kPlayPlaylistSuffix)), O_CLOEXEC));
    if (!fd.IsOpen()) {
        return {};
    }
    if (!WriteAll(fd.Get(), "#EXTM3U\n" + PlaylistText(paths)) || !fd.Close()) {
        const int error = errno;
        unlink(path.c_str());
        errno = error;
        return {};
    }
    return path;
}

void RemoveOldPlayPlaylists() {
    const std::string folder = PlaylistFolder(false);
    std::error_code error;
    if (folder.empty()) {
        return;
    }
    const auto due = std::filesystem::file_time_type::clock::now() - kPlayPlaylistLifetime;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (IsPlayPlaylistName(entry.path().filename().string()) && entry.is_regular_file(error) &&
            entry.last_write_time(error) < due) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

void IncrementPlayCounts(CDatabase& db, const std::vector<std::int32_t>& ids) {
    CTransaction transaction(db);
    for (const std::int32_t id : ids) {
        db.Execute(fmt::sprintf("UPDATE Songs SET PlayCount = PlayCount+1 WHERE ID = %ld", id), dbFailOnError);
    }
    transaction.Commit();
}

std::string ExportFileName(std::string viewTitle) {
    if (viewTitle.empty()) {
        return "Unknown";
    }
    std::replace(viewTitle.begin(), viewTitle.end(), '/', '_');
    return viewTitle;
}
