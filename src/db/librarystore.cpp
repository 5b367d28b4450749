// The store operations of CLibraryDb: finding, adding, reading, renaming and removing items.

#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "db/librarysql.h"
#include "engine/jetdialect.h"
#include "platform/fileaccess.h"
#include "platform/usertext.h"

namespace {

// Variants of the types the schema gives each kind of field.
CVariant Text(const std::string& value) {
    return CVariant(value);
}
CVariant Id(std::int32_t value) {
    return CVariant(value);
}
CVariant Small(std::int16_t value) {
    return CVariant(value);
}
CVariant Flag(bool value) {
    return CVariant(static_cast<std::int32_t>(value ? 1 : 0));
}

// The table of an item kind; empty for a kind the program does not know.
std::string TableOfKind(ItemKind kind) {
    return kind >= 0 && kind < static_cast<int>(ModeTableNames.size()) ? std::string(ModeTableNames[kind]) : "";
}

// The twelve song fields that adding and updating write.
CDatabase::FieldValues SongFields(const SongRecord& song) {
    return {{"Name", Text(song.name)},         {"ArtistID", Id(song.artistId)},
            {"AlbumID", Id(song.albumId)},     {"UserRating", Small(song.userRating)},
            {"BestOf", Flag(song.bestOf)},     {"FilePath", Text(song.filePath)},
            {"Length", Text(song.length)},     {"Year", Text(song.year)},
            {"Track", Text(song.track)},       {"Genre", Text(song.genre)},
            {"Unsorted", Flag(song.unsorted)}, {"FileType", Small(song.fileType)}};
}

void SetFields(CRecordset& row, const CDatabase::FieldValues& fields) {
    for (const auto& [name, value] : fields) {
        row.SetFieldValue(name, value);
    }
}

}  // namespace

std::int32_t CLibraryDb::InsertRow(const std::string& table, const FieldValues& fields) {
    return IsOpen() ? AddRow(table, fields) : 0;
}

std::int32_t CLibraryDb::FindArtistId(const std::string& name) {
    return name.empty() ? 0 : CDbTable(this, "Artists").LookupLongByText("ID", "Name", name);
}

std::int32_t CLibraryDb::FindCollectionId(const std::string& name) {
    return name.empty() ? 0 : CDbTable(this, "Collections").LookupLongByText("ID", "Name", name);
}

std::int32_t CLibraryDb::FindGenreId(const std::string& name) {
    return name.empty() ? 0 : CDbTable(this, "Genres").LookupLongByText("ID", "Name", name);
}

std::int32_t CLibraryDb::FindAlbumId(const std::string& name, std::int32_t artistId) {
    return name.empty() ? 0
                        : CDbTable(this, "Albums").LookupLongByTextAndLong("ID", "Name", name, "ArtistID", artistId);
}

std::int32_t CLibraryDb::FindSongIdByPath(const std::string& filePath) {
    return CDbTable(this, "Songs").LookupLongByText("ID", "FilePath", filePath);
}

std::unordered_set<std::string> CLibraryDb::SongPathsBelow(const std::string& folder) {
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    std::string after = prefix;
    after.back() = '0';  // the character after '/': the paths below sort between the two
    CDbQuery query(*this, "SELECT FilePath FROM Songs WHERE FilePath >= '" + EscapeSqlText(prefix) +
                              "' AND FilePath < '" + EscapeSqlText(after) + "'");
    std::unordered_set<std::string> paths;
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        paths.insert(row->GetFieldValue("FilePath").AsText());
    }
    return paths;
}

std::int32_t CLibraryDb::FindOrAddArtist(const ArtistRecord& artist) {
    const std::int32_t id = FindArtistId(artist.name);
    return id != 0 ? id
                   : InsertRow("Artists", {{"Name", Text(artist.name)},
                                           {"UserRating", Small(artist.userRating)},
                                           {"AutoRating", CVariant(artist.autoRating)}});
}

std::int32_t CLibraryDb::FindOrAddCollection(const ArtistRecord& collection) {
    const std::int32_t id = FindCollectionId(collection.name);
    return id != 0 ? id
                   : InsertRow("Collections", {{"Name", Text(collection.name)},
                                               {"UserRating", Small(collection.userRating)},
                                               {"AutoRating", CVariant(collection.autoRating)}});
}

std::int32_t CLibraryDb::FindOrAddGenre(const GenreRecord& genre) {
    const std::int32_t id = FindGenreId(genre.name);
    return id != 0 ? id : InsertRow("Genres", {{"Name", Text(genre.name)}, {"UserRating", Small(genre.userRating)}});
}

std::int32_t CLibraryDb::FindOrAddAlbum(const AlbumRecord& album) {
    const std::int32_t id = FindAlbumId(album.name, album.artistId);
    return id != 0 ? id
                   : InsertRow("Albums", {{"Name", Text(album.name)},
                                          {"ArtistID", Id(album.artistId)},
                                          {"UserRating", Small(album.userRating)},
                                          {"AutoRating", CVariant(album.autoRating)},
                                          {"FilePath", Text(album.filePath)}});
}

std::int32_t CLibraryDb::FindOrAddSong(const SongRecord& song) {
    const std::int32_t id = FindSongIdByPath(song.filePath);
    return id != 0 ? id : AddSong(song);
}

std::int32_t CLibraryDb::AddSong(const SongRecord& song) {
    return InsertRow("Songs", SongFields(song));
}

SongRecord CLibraryDb::ReadSong(std::int32_t songId) {
    SongRecord song;
    CDbQuery query(*this, RowByIdSql("Songs", songId));
    CRecordset* row = query.GetRecordset();
    if (row == nullptr || row->IsEOF()) {
        return song;
    }
    song.id = row->GetFieldValue("ID").AsLong();
    song.name = row->GetFieldValue("Name").AsText();
    song.artistId = row->GetFieldValue("ArtistID").AsLong();
    song.albumId = row->GetFieldValue("AlbumID").AsLong();
    song.length = row->GetFieldValue("Length").AsText();
    song.year = row->GetFieldValue("Year").AsText();
    song.track = row->GetFieldValue("Track").AsText();
    song.genre = row->GetFieldValue("Genre").AsText();
    song.userRating = row->GetFieldValue("UserRating").AsShort();
    song.bestOf = row->GetFieldValue("BestOf").AsShort() != 0;
    song.filePath = row->GetFieldValue("FilePath").AsText();
    song.fileType = row->GetFieldValue("FileType").AsShort();
    song.unsorted = row->GetFieldValue("Unsorted").AsShort() != 0;
    return song;
}

bool CLibraryDb::UpdateSong(const SongRecord& song) {
    CDbQuery query(*this, SongToUpdateSql(song.id));
    CRecordset* row = query.GetRecordset();
    if (row == nullptr || row->IsEOF()) {
        return false;
    }
    row->Edit();
    SetFields(*row, SongFields(song));
    row->Update();
    return true;
}

std::string CLibraryDb::GetItemName(ItemKind kind, std::int32_t id) {
    const std::string table = TableOfKind(kind);
    return table.empty() ? "" : CDbTable(this, table).LookupText("Name", "ID", id);
}

bool CLibraryDb::RenameItem(const std::string& name, ItemKind kind, std::int32_t id) {
    const std::string table = TableOfKind(kind);
    if (table.empty()) {
        return false;
    }
    CDbQuery query(*this, RowByIdSql(table, id));
    CRecordset* row = query.GetRecordset();
    if (row == nullptr || row->IsEOF()) {
        return false;
    }
    row->Edit();
    row->SetFieldValue("Name", Text(name));
    row->Update();
    return true;
}

void CLibraryDb::RemoveSongLinks(std::int32_t songId) {
    Execute(DeleteSongLinksSql(songId), dbFailOnError);
}

bool CLibraryDb::RemoveItem(ItemKind kind, std::int32_t id, bool deep) {
    const std::string table = TableOfKind(kind);
    if (table.empty()) {
        return false;
    }
    if (deep && kind != kSongItem && kind != kGenreItem) {
        // Every list is read whole before the first removal.
        IdList songs;
        IdList albums;
        if (kind == kArtistItem) {
            GetSongIdsOfArtist(songs, id);
            GetAlbumIdsOfArtist(albums, id);
        } else if (kind == kAlbumItem) {
            GetSongIdsOfAlbum(songs, id);
        } else if (kind == kCollectionItem) {
            GetSongIdsOfCollection(songs, id);
        }
        for (const std::int32_t song : songs) {
            RemoveItem(kSongItem, song, false);
        }
        for (const std::int32_t album : albums) {
            RemoveItem(kAlbumItem, album, false);
        }
    }
    if (kind == kSongItem) {
        RemoveSongLinks(id);
    }
    Execute(DeleteRowSql(table, id), dbFailOnError);
    return true;
}

bool CLibraryDb::AddSongToCollection(std::int32_t songId, std::int32_t collectionId) {
    if (songId == 0 || collectionId == 0) {
        return false;
    }
    if (CDbTable(this, "ColJunction").LookupLongBy2("ColID", "ColID", collectionId, "SongID", songId) == 0) {
        InsertRow("ColJunction", {{"ColID", Id(collectionId)}, {"SongID", Id(songId)}});
    }
    return true;
}

void CLibraryDb::ReadIdList(IdList& ids, const std::string& sql) {
    ids.clear();
    CDbQuery query(*this, sql);
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        ids.push_back(row->GetFieldValue(row->GetFieldName(0)).AsLong());
    }
}

void CLibraryDb::GetCollectionIdsOfSong(IdList& ids, std::int32_t songId) {
    ReadIdList(ids, CollectionIdsOfSongSql(songId));
}

void CLibraryDb::GetAlbumIdsOfArtist(IdList& ids, std::int32_t artistId) {
    ReadIdList(ids, IdsWhereSql("Albums", "ArtistID", artistId));
}

void CLibraryDb::GetSongIdsOfArtist(IdList& ids, std::int32_t artistId) {
    ReadIdList(ids, IdsWhereSql("Songs", "ArtistID", artistId));
}

void CLibraryDb::GetSongIdsOfAlbum(IdList& ids, std::int32_t albumId) {
    ReadIdList(ids, IdsWhereSql("Songs", "AlbumID", albumId));
}

void CLibraryDb::GetSongIdsOfCollection(IdList& ids, std::int32_t collectionId) {
    ReadIdList(ids, SongIdsOfCollectionSql(collectionId));
}

bool CLibraryDb::FillNameList(NameList& names, IdList& ids, const std::string& table, const std::string& nameField,
                              const std::string& idField) {
    return FillNameListFromQuery(names, ids, NameListSql(table), nameField, idField);
}

bool CLibraryDb::FillNameListFromQuery(NameList& names, IdList& ids, const std::string& sql,
                                       const std::string& nameField, const std::string& idField) {
    names.clear();
    ids.clear();
    CDbQuery query(*this, sql);
    ReadNames(
        names, ids, query, [&](CRecordset& row) { return row.GetFieldValue(nameField).AsText(); }, idField);
    return true;
}

bool CLibraryDb::FillNameListJoined(NameList& names, IdList& ids, const std::string& sql, const std::string& firstField,
                                    const std::string& secondField, const std::string& idField) {
    names.clear();
    ids.clear();
    CDbQuery query(*this, sql);
    ReadNames(
        names, ids, query,
        [&](CRecordset& row) {
            return row.GetFieldValue(firstField).AsText() + " - " + row.GetFieldValue(secondField).AsText();
        },
        idField);
    return true;
}

bool CLibraryDb::FillGenreList(NameList& names, IdList& ids, bool withAll) {
    names.clear();
    ids.clear();
    if (withAll) {
        names.emplace_back(CUserText::tr("* All"));
        ids.push_back(0);
    }
    CDbTable genres(this, "Genres");
    CDbQuery query(genres);
    ReadNames(
        names, ids, query, [](CRecordset& row) { return row.GetFieldValue("Name").AsText(); }, "ID");
    return true;
}

void CLibraryDb::ReadNames(NameList& names, IdList& ids, CDbQuery& query,
                           const std::function<std::string(CRecordset&)>& textOf, const std::string& idField) {
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        names.push_back(textOf(*row));
        ids.push_back(row->GetFieldValue(idField).AsLong());
    }
}

bool CLibraryDb::HasSongs() {
    CDbQuery query(*this, "SELECT MIN(ID) AS FirstID FROM Songs");
    CRecordset* record = query.GetRecordset();
    return record != nullptr && !record->IsEOF() && !record->GetFieldValue("FirstID").IsNull();
}

std::int32_t CLibraryDb::FindMovedSong(const std::string& key) {
    if (key.empty() || !m_songKeys) {
        return 0;
    }
    CDbQuery query(*this,
                   "SELECT Songs.ID, Songs.FilePath FROM SongKeys INNER JOIN Songs ON Songs.ID = SongKeys.SongID "
                   "WHERE SongKeys.AudioKey = '" +
                       EscapeSqlText(key) + "'");
    CRecordset* row = query.GetRecordset();
    if (row == nullptr || row->IsEOF()) {
        return 0;
    }
    const std::int32_t id = row->GetFieldValue("ID").AsLong();
    const std::string path = row->GetFieldValue("FilePath").AsText();
    CRecordset* next = query.Next();
    const bool several = next != nullptr && !next->IsEOF();
    return several || FileExists(path) ? 0 : id;
}

void CLibraryDb::StoreSongKey(std::int32_t songId, const std::string& key) {
    if (!key.empty() && m_songKeys) {
        Execute(fmt::sprintf("INSERT OR REPLACE INTO SongKeys (SongID, AudioKey) VALUES (%d, '%s')", songId,
                             EscapeSqlText(key)),
                dbFailOnError);
    }
}

void CLibraryDb::MoveSong(std::int32_t songId, const std::string& path, std::int16_t fileType) {
    Execute(fmt::sprintf("UPDATE Songs SET FilePath = '%s', FileType = %d WHERE ID = %d", EscapeSqlText(path), fileType,
                         songId),
            dbFailOnError);
}
