#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "import/songfile.h"

class CLibraryDb;
class CTagWorkers;

// A song of the library whose file is not where the library says.
struct MissingSong {
    std::int32_t id = 0;
    std::string name;
    std::string artist;
    std::string album;
    std::string path;
};

// A missing song found again: a file below the searched folder with the same audio.
struct FoundSong {
    std::int32_t id = 0;
    std::string path;
    SongFileType type = kNotASongFile;
};

// Called now and then on the calling thread while the work goes on, with how much is done of
// how much; the work stops, keeping what it found so far, when it returns false.
using KeepGoing = std::function<bool(std::size_t done, std::size_t total)>;

// The songs whose files are gone, in the order of their IDs. The files are looked at on a thread
// of their own, so that `keepGoing` can keep the window painted.
std::vector<MissingSong> FindMissingSongs(CLibraryDb& db, const KeepGoing& keepGoing);

// Looks below `folder` for the files of the `missing` songs by their audio: each file the
// library does not know is read by the tag workers, and a song whose key it has (and no other
// song has) is found there.
std::vector<FoundSong> SearchMissingSongs(CLibraryDb& db, CTagWorkers& workers, const std::vector<MissingSong>& missing,
                                          const std::string& folder, const KeepGoing& keepGoing);

// Moves the rows of the found songs to their new paths, all or none; their ratings, play counts
// and everything else stay.
void MoveFoundSongs(CLibraryDb& db, const std::vector<FoundSong>& found);
