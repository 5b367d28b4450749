#pragma once

#include <string>

#include "import/tagprotocol.h"

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
