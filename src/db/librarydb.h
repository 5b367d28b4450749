#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "db/dbhelper.h"
#include "db/importcounts.h"
#include "db/records.h"
#include "engine/variant.h"

class CDbQuery;
class CImportQuestions;
class CLibrarySettings;
class CMessageBox;
class CRecordset;
class CSongFile;
class CTagWorkers;

using IdList = std::vector<std::int32_t>;
using NameList = std::vector<std::string>;
// The folders from the import root down to the folder being walked (the last entry).
using PathStack = std::vector<std::string>;

// The IDs of the artists and albums, and the genres, that one import found or added, by their
// names as the tags spell them: each song then costs only the statements of its own row.
// Nothing is kept after the import.
struct ImportIds {
    std::map<std::string, std::int32_t> artists;
    std::map<std::pair<std::string, std::int32_t>, std::int32_t> albums;  // name, owner
    std::set<std::string> genres;
    // What the import gave songs, for the ratings to be computed at its end: the artists (with
    // the owners of albums) and the collections. Kept when a folder is undone.
    std::set<std::int32_t> touchedArtists;
    std::set<std::int32_t> touchedCollections;
    ImportCounts counts;  // of the folders stored
    // Whether the library held songs below the import's folder, and any songs, when the import
    // began. Without the first no path of the walk is in the library (the walk adds each file
    // once); without the second no song of it can have moved.
    bool songsBelowBefore = true;
    bool songsBefore = true;

    // Forgets the names found, after a folder was undone.
    void ForgetNames() {
        artists.clear();
        albums.clear();
        genres.clear();
    }
};
// The song files of one folder, in listing order.
using FolderSongList = std::vector<CSongFile>;

// The library database: the one object through which the program reads and changes the
// library. Construction opens the file, or creates a new library when there is none, and
// brings its schema to SchemaVersion; IsOpen() tells the outcome. Failures of opening are
// reported through `messages`; engine errors of the other operations raise CEngineError.
// `settings` name the file to create and the import's ask threshold; both must outlive it.
class CLibraryDb : public CDbHelper {
public:
    static constexpr int SchemaVersion = 1;
    // Marks a file as a library of ours ("CDZO").
    static constexpr std::int32_t ApplicationIdOfLibraries = 0x43445A4F;

    CLibraryDb(const std::string& path, bool exclusive, bool readOnly, const CLibrarySettings& settings,
               CMessageBox& messages);

    // ---- Schema ----

    // Opens or creates the library at the path of the settings and checks its version.
    // True when the library is open and at SchemaVersion.
    bool OpenOrCreate();

    // True when the library is at SchemaVersion, after creating what is missing if needed.
    bool CheckVersion();
    // Makes the program's own table of audio keys when the library may be written.
    void AddSongKeys();

    // Creates every table the file lacks (complete, with its indexes; Ratings seeded) and
    // sets the version to SchemaVersion. Does nothing at version 1 or later. Raises
    // CEngineError when a table cannot be created; run it in a transaction.
    void CreateSchema();

    // ---- Finding and adding items (IDs; 0 for none) ----

    // By name, ignoring letter case; 0 for an empty name.
    std::int32_t FindArtistId(const std::string& name);
    std::int32_t FindCollectionId(const std::string& name);
    std::int32_t FindGenreId(const std::string& name);
    // An album is its name together with its artist.
    std::int32_t FindAlbumId(const std::string& name, std::int32_t artistId);
    // A song is its file path, compared byte for byte.
    std::int32_t FindSongIdByPath(const std::string& filePath);

    // The ID of the item the record names, added first when missing (the record's own ID is
    // ignored). An empty artist, collection, genre or album name is never looked up: each call
    // adds a new unnamed item.
    std::int32_t FindOrAddArtist(const ArtistRecord& artist);
    std::int32_t FindOrAddCollection(const ArtistRecord& collection);
    std::int32_t FindOrAddGenre(const GenreRecord& genre);
    std::int32_t FindOrAddAlbum(const AlbumRecord& album);
    std::int32_t FindOrAddSong(const SongRecord& song);
    // Adds the song's row without looking for its path first; its ID.
    std::int32_t AddSong(const SongRecord& song);

    // ---- Songs ----

    // The song's row, or a blank record when there is none.
    SongRecord ReadSong(std::int32_t songId);
    // Writes every field of the record but its ID into the song's row (the play count stays);
    // false when there is no such song.
    bool UpdateSong(const SongRecord& song);

    // ---- Names ----

    // The Name of the item of `kind` with that ID; empty when there is none.
    std::string GetItemName(ItemKind kind, std::int32_t id);
    // False when there is no such item.
    bool RenameItem(const std::string& name, ItemKind kind, std::int32_t id);

    // ---- Removal ----

    // Takes the song out of every collection.
    void RemoveSongLinks(std::int32_t songId);

    // Removes the item. Not deep: its row only (and a song's collection links). Deep: an
    // artist with its songs and albums, an album with its songs, a collection with its songs
    // (from the whole library). Removed IDs are never given out again.
    bool RemoveItem(ItemKind kind, std::int32_t id, bool deep);

    // ---- Collections ----

    // Puts the song into the collection unless it is there already; false when either ID is 0.
    bool AddSongToCollection(std::int32_t songId, std::int32_t collectionId);
    void GetCollectionIdsOfSong(IdList& ids, std::int32_t songId);

    // ---- ID lists, in the engine's order ----

    void GetAlbumIdsOfArtist(IdList& ids, std::int32_t artistId);
    void GetSongIdsOfArtist(IdList& ids, std::int32_t artistId);
    void GetSongIdsOfAlbum(IdList& ids, std::int32_t albumId);
    void GetSongIdsOfCollection(IdList& ids, std::int32_t collectionId);

    // ---- Name lists for dialogs and combos (parallel lists; always true) ----

    // Every row of `table`: its `nameField` and `idField`.
    bool FillNameList(NameList& names, IdList& ids, const std::string& table, const std::string& nameField,
                      const std::string& idField);
    // The same over the rows of any statement.
    bool FillNameListFromQuery(NameList& names, IdList& ids, const std::string& sql, const std::string& nameField,
                               const std::string& idField);
    // Each text is the first field, " - ", the second field.
    bool FillNameListJoined(NameList& names, IdList& ids, const std::string& sql, const std::string& firstField,
                            const std::string& secondField, const std::string& idField);
    // The genres in the order of their IDs, after "* All" (ID 0) when `withAll` is set.
    bool FillGenreList(NameList& names, IdList& ids, bool withAll);
    // False for a library without any song (at once, however large the library).
    bool HasSongs();

    // ---- Songs known by their audio ----
    // The song whose audio has `key` and whose file is gone (moved or renamed): 0 unless exactly
    // one song has the key and its file no longer exists.
    std::int32_t FindMovedSong(const std::string& key);
    // The file paths of the library's songs below `folder`, with one query.
    std::unordered_set<std::string> SongPathsBelow(const std::string& folder);
    // Remembers the song's audio key, in place of the one it had: the key of the file just read
    // (a row just added may have the ID of an older song; an older version hashed OGG audio
    // differently).
    void StoreSongKey(std::int32_t songId, const std::string& key);
    // The song's file is now at `path`: every other field stays.
    void MoveSong(std::int32_t songId, const std::string& path, std::int16_t fileType);

    // ---- Ratings ----

    // "%d - %s" for every rating in ascending order, with "None" for rating 0 (filter combos).
    std::vector<std::string> ReadRatingLabels();
    // "%d - %s" for every rating in ascending order, and each rating's row colour (0xRRGGBB,
    // or kDefaultRowColour where the table has 0, 0, 0) (the grid).
    void ReadRatingTable(std::vector<std::string>& labels, std::vector<std::uint32_t>& colours);

    // Computes and stores the album's AutoRating (album 0: the artist's loose songs, stored
    // nowhere). Returns the album's effective rating (its UserRating when set) and gives the
    // number of its songs in `songCount`.
    double ComputeAlbumAutoRating(std::int32_t albumId, std::int32_t artistId, int& songCount);
    // Computes and stores the artist's AutoRating and, on the way, that of every album holding
    // the artist's songs. 0.0 without database access for an ID below 1.
    double ComputeArtistAutoRating(std::int32_t artistId);
    // Computes and stores the collection's AutoRating; gives the number of its songs.
    double ComputeCollectionAutoRating(std::int32_t collectionId, int& songCount);
    // Recomputes every artist (with their albums) and every collection.
    void RecalcRatings();
    // Recomputes those artists (with their albums) and collections, as RecalcRatings does.
    void RecalcRatingsOf(const std::set<std::int32_t>& artists, const std::set<std::int32_t>& collections);
    // Stores the user's rating of an artist, album, collection or song and recomputes what it
    // changes (the artist of an album or song, the collections of a song), all or nothing. Gives
    // the item's AutoRating as it was stored before (0 for a song, which has none).
    double StoreUserRating(ItemKind kind, std::int32_t id, int rating);
    // Tells `listener` the songs whose rating or play count changed (a song's rating stored, a
    // play counted); no one by default.
    void SetSongDataListener(std::function<void(const IdList&)> listener) { m_songDataListener = std::move(listener); }
    void SongDataChanged(const IdList& songs) {
        if (m_songDataListener) {
            m_songDataListener(songs);
        }
    }

    // ---- Import ----

    // Walks the folder that ends `paths` and every folder below it (pre-order: a folder's
    // songs before its subfolders, entries in listing order; links to folders followed, no
    // folder twice), and hands every folder with song files to ImportFolderSongs. Leaves
    // `paths` and the working directory as they were. 0 when the library is not open, else 1.
    int ImportFolder(PathStack& paths, CImportQuestions& questions, CTagWorkers& workers);

    // Decides how the songs of the folder that ends `paths` enter the library, asking where
    // their tags leave it open, and stores them, all or nothing: an engine error undoes the
    // folder and is reported with the folder's path. 0 when a question was closed without OK.
    int ImportFolderSongs(FolderSongList& songs, const PathStack& paths, CImportQuestions& questions,
                          CTagWorkers& workers);
    // The same with the setting "Minimum Song Ask Threshold" already read (once per walk) and
    // the IDs the walk found or added so far.
    int ImportFolderSongs(FolderSongList& songs, const PathStack& paths, CImportQuestions& questions,
                          CTagWorkers& workers, int askThreshold, ImportIds& known);

private:
    bool CreateNewFile(const std::string& path);
    // Another program's database: it has tables, yet neither our mark nor our Version table.
    bool IsForeignDatabase();
    // True when every table of the library that exists has every field the program uses.
    bool HasEveryField();
    int ReadVersion();
    // The artist of that name, added when missing; 0 for an empty name.
    std::int32_t FindOrAddNamedArtist(const std::string& name);

    std::int32_t InsertRow(const std::string& table, const FieldValues& fields);
    void ReadIdList(IdList& ids, const std::string& sql);
    // Appends the text and ID of every row of the query.
    void ReadNames(NameList& names, IdList& ids, CDbQuery& query, const std::function<std::string(CRecordset&)>& textOf,
                   const std::string& idField);
    double RootMeanSquareOf(const std::string& sql, int& songCount);

    const CLibrarySettings& m_settings;
    bool m_songKeys = false;  // the table of audio keys is there and may be written
    std::function<void(const IdList&)> m_songDataListener;
    CMessageBox& m_messages;
};

// The weight of each rating value in the root-mean-square of AutoRating.
inline constexpr std::array<double, 8> RatingWeights = {0.0, 0.1, 1.5, 3.0, 4.75, 5.75, 6.75, 7.5};

// The colour that stands for the grid's normal row background.
inline constexpr std::uint32_t kDefaultRowColour = 0xFF000000;
