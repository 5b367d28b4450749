#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "import/tagprotocol.h"
#include "platform/filedescriptor.h"

// The only code that talks to TagLib. It runs in the tag worker process (and in a benchmark
// that measures TagLib alone). `fileType` is kMp3File or kOggFile.

// Reads the seven texts and the length through a read-only stream. A file TagLib cannot open
// or parse gives SongTags with parsed false.
SongTags ReadSongTags(const std::string& path, int fileType);

// Writes the seven texts into the file without ever leaving it damaged: the file is copied
// into its folder, the tag saved into the copy, the copy read back and checked (texts and
// length), synced and renamed over the original with its permissions. False, with the
// original untouched, when any step fails or the file may not be written.
bool WriteSongTags(const std::string& path, int fileType, const SongTags& tags);

// The two halves of WriteSongTags, so that many writes cost one sync: a checked copy made
// (not synced, locked through `fd`), nullopt when any step failed; then every copy synced and
// renamed over its song, and each folder synced once. Whether each was written.
struct PreparedWrite {
    std::string path;
    std::string folder;
    std::string copy;
    CFileDescriptor fd;
    dev_t device = 0;  // the copy's file system
};
std::optional<PreparedWrite> PrepareSongTags(const std::string& path, int fileType, const SongTags& tags);
std::vector<bool> FinishSongTags(std::vector<std::optional<PreparedWrite>>& writes);
