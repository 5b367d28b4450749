#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "db/librarydb.h"
#include "import/tagprotocol.h"

class CMessageBox;
class CTagWorkers;

// The record of a tag edit under way: which songs' files it writes, kept beside the library
// (LIBRARY.pending-tags) from before the first file is written until their rows are stored. A
// record found later means an edit was interrupted between its files and its rows; the files are
// then the truth, and the rows are brought up to what they hold. A file beside the library and not
// a table in it: it is written and removed without the library, also when the library cannot be
// written (a read-only or full disk), and other programs that open the library never see it.
class CPendingTags {
public:
    explicit CPendingTags(const std::string& libraryPath);

    // Records the songs; `keepTitleAndTrack`: their rows keep their names and tracks. Raises
    // CEngineError, with nothing recorded, when the record cannot be written.
    void Record(const IdList& songs, bool keepTitleAndTrack);
    // The edit is stored: the record goes.
    void Clear();

    // Brings the rows of the songs an interrupted edit recorded up to the tags of their files and
    // tells the user once; with a library that cannot be written, says which files differ from it
    // and keeps the record. The number of songs recorded (0 when there was no record).
    std::size_t Recover(CLibraryDb& db, CTagWorkers& workers, CMessageBox& messages, bool readOnly);

    bool Exists() const;

private:
    std::string m_path;
};

// What a tag edit stores in a song's row: the artist and album (found by their names, never
// made: see EditedArtistAndAlbum), year and genre; with `nameAndTrack` also its name and track.
// Raises CEngineError.
void StoreEditedSongRow(CLibraryDb& db, SongRecord& song, const SongTags& tags, bool nameAndTrack,
                        std::pair<std::int32_t, std::int32_t> artistAndAlbum);
// The IDs of the artist and album the tags name (0 for none).
std::pair<std::int32_t, std::int32_t> EditedArtistAndAlbum(CLibraryDb& db, const SongTags& tags);
