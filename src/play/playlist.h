#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDatabase;
class CLibraryDb;
class CRuntimeRandom;

using PathList = std::vector<std::string>;

// The songs of a play: file paths and IDs, parallel, in play order.
struct SongFiles {
    PathList paths;
    std::vector<std::int32_t> ids;
};

// The FilePath and ID of every record `sql` gives, in its order; records without a path are
// left out.
SongFiles CollectSongFiles(CLibraryDb& db, const std::string& sql);

// Leaves out the songs whose path holds a line break: one line of a playlist cannot hold it,
// and the pieces would be two paths that do not exist.
void DropPathsWithLineBreaks(SongFiles& songs);

// Shuffles as the designed program did: for k from n-1 down to 0, j = rand() mod (k + 1), swap
// entries k and j; rand() is `random`.
void ShuffleList(PathList& paths, CRuntimeRandom& random);

// Replaces `from` by `to` at the start of every path that starts with it exactly (letter case
// counts); an empty `from` puts `to` before every path.
void TranslatePrefixes(PathList& paths, const std::string& from, const std::string& to);

// Writes the playlist: each path byte for byte followed by "\n". The file is written whole or
// not at all (temporary file and rename), and a symbolic link at `path` is replaced, never
// followed. The path written, or "" when it could not be.
std::string WritePlaylistFile(const std::string& path, const PathList& paths);

// Writes "temp.m3u" into the system's temporary folder (TMPDIR honoured), or into this user's
// runtime folder ($XDG_RUNTIME_DIR) when a "temp.m3u" there is a symbolic link or another
// user's, or the folder cannot be written. The path written, or "" when it could not be.
std::string WriteTempPlaylist(const PathList& paths);

// Raises the play count of every song by one, in one transaction: all or none. Raises
// CEngineError when a statement fails.
void IncrementPlayCounts(CDatabase& db, const std::vector<std::int32_t>& ids);
