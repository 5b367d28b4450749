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
SongTags ReadSongTags(const std::string& path, SongFileType fileType);

// Writes the seven texts into song files without ever leaving one damaged, in two halves, so
// that many writes cost one sync. PrepareSongTags makes a checked copy of the song in its folder
// (not synced, locked through `fd`, with the song's permissions): the tags written into it and
// read back (texts and length; the rating and play count written); `mode` says what is written.
// Nullopt, with the song untouched, when any step fails or the song may not be written.
// FinishSongTags syncs every copy, renames each over its song and syncs each folder once; whether
// each was written.
struct PreparedWrite {
    std::string path;
    std::string folder;
    std::string copy;
    CFileDescriptor fd;
    CFileDescriptor original;  // the song, read for the copy
    dev_t device = 0;          // the copy's file system
};
std::optional<PreparedWrite> PrepareSongTags(const std::string& path, SongFileType fileType, const SongTags& tags,
                                             TagWriteMode mode);
std::vector<bool> FinishSongTags(std::vector<std::optional<PreparedWrite>>& writes);
