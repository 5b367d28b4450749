#include "edit/librarychanges.h"

#include <fmt/printf.h>

#include "db/dbtable.h"
#include "engine/transaction.h"
#include "platform/usertext.h"

namespace {

template <typename Change>
void InOneTransaction(CLibraryDb& db, Change change) {
    CTransaction transaction(db);
    change();
    transaction.Commit();
}

void DeleteWhere(CLibraryDb& db, const char* table, const char* field, std::int32_t id) {
    db.Execute(fmt::sprintf("DELETE FROM %s WHERE %s = %ld", table, field, id), dbFailOnError);
}

}  // namespace

void FillManagerEntries(CLibraryDb& db, ItemKind kind, NameList& names, IdList& ids) {
    names.clear();
    ids.clear();
    if (kind == kAlbumItem) {
        db.FillNameListJoined(names, ids,
                              "SELECT DISTINCT Albums.*, Artists.Name as ArtistName FROM (Albums LEFT JOIN Artists ON "
                              "Albums.ArtistID=Artists.ID)",
                              "ArtistName", "Name", "ID");
    } else if (kind >= kArtistItem && kind <= kGenreItem) {
        db.FillNameList(names, ids, std::string(ModeTableNames[static_cast<std::size_t>(kind)]), "Name", "ID");
    }
}

std::string NewItemPrompt(ItemKind kind) {
    switch (kind) {
        case kArtistItem:
            return CUserText::tr("Add New Artist Named:");
        case kAlbumItem:
            return CUserText::tr("Add New Album Named:");
        case kCollectionItem:
            return CUserText::tr("Add New Collection Named:");
        case kGenreItem:
            return CUserText::tr("Add New Genre Named:");
        default:
            return "";
    }
}

std::string NewItemRefusal(ItemKind kind) {
    return kind == kSongItem ? CUserText::tr("Adding new songs not currently implemented")
                             : CUserText::tr("Adding this type of item not currently implemented");
}

std::int32_t AddNamedItem(CLibraryDb& db, ItemKind kind, const std::string& name, std::int32_t artistId) {
    std::int32_t id = 0;
    InOneTransaction(db, [&] {
        switch (kind) {
            case kArtistItem:
                id = db.FindOrAddArtist({0, name, 0, 0.0});
                break;
            case kAlbumItem:
                id = db.FindOrAddAlbum({0, artistId, name, 0, 0.0, ""});
                break;
            case kCollectionItem:
                id = db.FindOrAddCollection({0, name, 0, 0.0});
                break;
            case kGenreItem:
                id = db.FindOrAddGenre({0, name, 0});
                break;
            default:
                break;
        }
    });
    return id;
}

void RemoveItemWhole(CLibraryDb& db, ItemKind kind, std::int32_t id, bool deep) {
    InOneTransaction(db, [&] { db.RemoveItem(kind, id, deep); });
}

void SetFieldOfSongs(CLibraryDb& db, const std::string& field, const IdList& songs, std::int32_t value) {
    InOneTransaction(db, [&] {
        CDbTable table(&db, "Songs");
        for (const std::int32_t song : songs) {
            table.UpdateLong(field, "ID", song, value);
        }
    });
}

void AddSongsToCollection(CLibraryDb& db, const IdList& songs, std::int32_t collectionId) {
    InOneTransaction(db, [&] {
        for (const std::int32_t song : songs) {
            db.AddSongToCollection(song, collectionId);
        }
    });
}

void RemoveSongRows(CLibraryDb& db, const IdList& songs) {
    InOneTransaction(db, [&] {
        for (const std::int32_t song : songs) {
            DeleteWhere(db, "Songs", "ID", song);
        }
    });
}

void RemoveViewItem(CLibraryDb& db, int mode, std::int32_t id) {
    if (id < 1) {
        return;  // no item: "WHERE ArtistID = 0" would remove every song without an artist
    }
    InOneTransaction(db, [&] {
        switch (mode) {
            case kArtistItem:
                DeleteWhere(db, "Artists", "ID", id);
                DeleteWhere(db, "Albums", "ArtistID", id);
                DeleteWhere(db, "Songs", "ArtistID", id);
                break;
            case kAlbumItem:
                DeleteWhere(db, "Albums", "ID", id);
                DeleteWhere(db, "Songs", "AlbumID", id);
                break;
            case kCollectionItem:
                DeleteWhere(db, "Collections", "ID", id);
                DeleteWhere(db, "ColJunction", "ColID", id);
                break;
            case kSongItem:
                DeleteWhere(db, "Songs", "ID", id);
                break;
            default:
                break;
        }
    });
}
