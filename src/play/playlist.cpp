#include "play/playlist.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/librarydb.h"
#include "engine/transaction.h"
#include "platform/atomicfile.h"
#include "platform/runtimerandom.h"

namespace {

constexpr const char* kTempPlaylist = "temp.m3u";

// True when a file of that name may be replaced by this user's playlist: there is none, or it
// is a plain file of this user.
bool IsOursToReplace(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return true;
    }
    return S_ISREG(info.st_mode) && info.st_uid == geteuid();
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

void DropPathsWithLineBreaks(SongFiles& songs) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < songs.paths.size(); ++i) {
        if (songs.paths[i].find('\n') != std::string::npos) {
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
    std::string text;
    for (const std::string& entry : paths) {
        text += entry;  // "%s\n": the path byte for byte, then a line feed
        text += '\n';
    }
    return ReplaceFileAtomically(path, text) ? path : std::string();
}

std::string WriteTempPlaylist(const PathList& paths) {
    std::error_code error;
    const std::string temporary = (std::filesystem::temp_directory_path(error) / kTempPlaylist).string();
    if (!error && IsOursToReplace(temporary)) {
        std::string written = WritePlaylistFile(temporary, paths);
        if (!written.empty()) {
            return written;
        }
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') {
        return {};
    }
    const std::string own = (std::filesystem::path(runtime) / kTempPlaylist).string();
    return IsOursToReplace(own) ? WritePlaylistFile(own, paths) : std::string();
}

void IncrementPlayCounts(CDatabase& db, const std::vector<std::int32_t>& ids) {
    CTransaction transaction(db);
    for (const std::int32_t id : ids) {
        db.Execute(fmt::sprintf("UPDATE Songs SET PlayCount = PlayCount+1 WHERE ID = %ld", id), dbFailOnError);
    }
    transaction.Commit();
}
