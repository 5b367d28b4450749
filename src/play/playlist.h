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
// and the pieces would be two paths that do not exist. The paths left out, in order.
PathList DropPathsWithLineBreaks(SongFiles& songs);

// Shuffles as the designed program did: for k from n-1 down to 0, j = rand() mod (k + 1), swap
// entries k and j; rand() is `random`.
void ShuffleList(PathList& paths, CRuntimeRandom& random);

// Replaces `from` by `to` at the start of every path that starts with it exactly (letter case
// counts); an empty `from` puts `to` before every path.
void TranslatePrefixes(PathList& paths, const std::string& from, const std::string& to);

// Writes the playlist: each path byte for byte followed by "\n". The file is written whole or
// not at all (temporary file and rename), and a symbolic link at `path` is replaced, never
// followed. The path written, or "" when it could not be, with errno telling why.
std::string WritePlaylistFile(const std::string& path, const PathList& paths);

// The file name Export M3U offers for a view titled `viewTitle`: "Unknown" for a view no name
// scopes; a "/" becomes "_", so that the name never leads into another folder.
std::string ExportFileName(std::string viewTitle);

// The program's own folder for the playlists of its plays: "cadenzo-UID" in this user's runtime
// folder ($XDG_RUNTIME_DIR), else in the temporary folder ($TMPDIR, else /tmp). Only this user
// may enter it. With `make`, it is made when missing, and when a folder of that name is a link or
// not only this user's, a new one of a name of its own is made beside it (that one is never used
// again); without, such a folder is passed by. "" when there is none, with errno telling why.
std::string PlaylistFolder(bool make);

// Writes the playlist of one play into a new file of its own in PlaylistFolder, so that a player
// that reads a queued playlist later still finds the songs that were queued: "#EXTM3U" (which
// tells the desktop that the file is a playlist), then the lines WritePlaylistFile writes. Only
// this user may read it. The path written, or "" with errno telling why.
std::string WritePlayPlaylist(const PathList& paths);

// Removes the playlists of plays that are older than a day from PlaylistFolder, and nothing else.
void RemoveOldPlayPlaylists();

// Raises the play count of every song by one, in one transaction: all or none. Raises
// CEngineError when a statement fails.
void IncrementPlayCounts(CDatabase& db, const std::vector<std::int32_t>& ids);
