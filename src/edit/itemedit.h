#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "db/librarydb.h"

class CTagWorkers;

// The seven texts of the Edit Item form.
struct ItemTexts {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string track;
    std::string genre;
    std::string comment;
};

// The rows of the form an item kind shows.
struct ItemRows {
    bool title = false;
    bool artist = false;
    bool album = false;
    bool genre = false;
    bool comment = false;
    bool year = false;
    bool track = false;
};
ItemRows RowsOfKind(ItemKind kind);

// What Edit Item loads and writes for one item of a kind, or for several songs (kSeveralSongsItem):
// names and an album's artist in the library; a song's texts from its file's tags, written back
// into the file first and then into its row. Editing never creates artists or albums: a text that
// names none gives ID 0.
class CItemEdit {
public:
    CItemEdit(CLibraryDb& db, CTagWorkers& workers, ItemKind kind, IdList ids);

    ItemKind Kind() const { return m_kind; }
    std::size_t Count() const { return m_ids.size(); }
    // The texts loaded for the first item.
    const ItemTexts& Loaded() const { return m_loaded; }

    // The albums of the artist stored for the first item (not the artist shown), for the picker.
    void FillAlbumChoices(NameList& names, IdList& ids);

    // Stores the texts for every item, the library's part in one transaction: the songs' files
    // first (several at once), then their rows; a song ID without a row is passed over. A song keeps its title and
    // track when several are edited. `songDone` is called after each file. Gives the files whose tags could not be
    // written (their rows are still updated).
    std::vector<std::string> Store(const ItemTexts& texts, const std::function<void()>& songDone);

private:
    void StoreItem(std::int32_t id, const ItemTexts& texts);
    // The songs' rows, in one transaction.
    void StoreSongRows(std::vector<SongRecord>& songs, const ItemTexts& texts);

    CLibraryDb& m_db;
    CTagWorkers& m_workers;
    ItemKind m_kind;
    IdList m_ids;
    ItemTexts m_loaded;
};

// The message that tells which files kept their old tags: the first one and how many more.
std::string UnwrittenFilesMessage(const std::vector<std::string>& paths);
