#include "db/librarysql.h"

#include <fmt/printf.h>

#include "engine/jetdialect.h"

std::string AllRowsSql(const std::string& table) {
    return fmt::sprintf("SELECT * FROM %s ORDER BY 1", table);
}

std::string VersionSql() {
    return fmt::sprintf("SELECT %s FROM %s", "DBVersion", "Version");
}

std::string FillFieldSql(const std::string& table, const std::string& field, const std::string& value) {
    return fmt::sprintf("UPDATE %s SET %s.%s=%s", table, table, field, value);
}

std::string LookupSql(const std::string& field, const std::string& table, const std::string& keyField,
                      std::int32_t key) {
    return fmt::sprintf("SELECT %s FROM %s WHERE %s = %d", field, table, keyField, key);
}

std::string LookupBy2Sql(const std::string& field, const std::string& table, const std::string& keyField1,
                         std::int32_t key1, const std::string& keyField2, std::int32_t key2) {
    return fmt::sprintf("SELECT %s FROM %s WHERE %s = %ld AND %s = %ld", field, table, keyField1, key1, keyField2,
                        key2);
}

std::string LookupByTextSql(const std::string& field, const std::string& table, const std::string& keyField,
                            const std::string& text) {
    return fmt::sprintf("SELECT %s FROM %s WHERE %s = '%s'", field, table, keyField, EscapeSqlText(text));
}

std::string LookupByTextAndLongSql(const std::string& field, const std::string& table, const std::string& textField,
                                   const std::string& text, const std::string& keyField, std::int32_t key) {
    return fmt::sprintf("SELECT %s FROM %s WHERE %s = '%s' AND %s = %ld", field, table, textField, EscapeSqlText(text),
                        keyField, key);
}

std::string RowByIdSql(const std::string& table, std::int32_t id) {
    return fmt::sprintf("SELECT * FROM %s WHERE ID=%d", table, id);
}

std::string SongToUpdateSql(std::int32_t songId) {
    return fmt::sprintf("Select * FROM Songs Where ID = %ld", songId);
}

std::string DeleteSongLinksSql(std::int32_t songId) {
    return fmt::sprintf("DELETE FROM ColJunction WHERE SongID = %ld", songId);
}

std::string DeleteRowSql(const std::string& table, std::int32_t id) {
    return fmt::sprintf("DELETE FROM %s WHERE ID = %ld", table, id);
}

std::string CollectionIdsOfSongSql(std::int32_t songId) {
    return fmt::sprintf("SELECT DISTINCT ColID FROM %s WHERE %s = %ld", "ColJunction", "SongID", songId);
}

std::string IdsWhereSql(const std::string& table, const std::string& keyField, std::int32_t key) {
    return fmt::sprintf("SELECT ID FROM %s WHERE %s = %ld", table, keyField, key);
}

std::string SongIdsOfCollectionSql(std::int32_t collectionId) {
    return fmt::sprintf(
        "SELECT ID FROM Songs LEFT JOIN ColJunction ON Songs.ID = ColJunction.SongID WHERE ColJunction.ColID=%ld;",
        collectionId);
}

std::string NameListSql(const std::string& table) {
    return fmt::sprintf("Select * from %s", table);
}

std::string SongsOfAlbumSql(std::int32_t albumId) {
    return fmt::sprintf("SELECT Songs.* FROM (Songs LEFT JOIN Albums ON Songs.AlbumID = Albums.ID) WHERE Albums.ID=%ld",
                        albumId);
}

std::string LooseSongsOfArtistSql(std::int32_t artistId) {
    return fmt::sprintf(
        "SELECT Songs.* FROM Songs LEFT JOIN Albums ON Songs.AlbumID=Albums.ID WHERE "
        "(Albums.ArtistID<>Songs.ArtistID OR Songs.Unsorted=TRUE) AND Songs.ArtistID=%ld",
        artistId);
}

std::string AlbumsOfArtistSql(std::int32_t artistId) {
    return fmt::sprintf("SELECT Albums.* FROM Albums WHERE Albums.ArtistID=%ld;", artistId);
}

std::string OtherArtistsAlbumsWithSongsOfSql(std::int32_t artistId) {
    return fmt::sprintf(
        "SELECT DISTINCT Albums.* FROM (Songs LEFT JOIN Albums ON Songs.AlbumID=Albums.ID) "
        "WHERE Songs.ArtistID=%ld AND Albums.ArtistID<>%ld;",
        artistId, artistId);
}

std::string SongsOfCollectionSql(std::int32_t collectionId) {
    return fmt::sprintf(
        "SELECT * FROM Songs INNER JOIN ColJunction ON ColJunction.SongID = Songs.ID WHERE ColJunction.ColID = %ld",
        collectionId);
}

const char* const kArtistRatingsSql = "SELECT ID, AutoRating FROM Artists ORDER BY ID";
const char* const kAlbumRatingsSql = "SELECT ID, ArtistID, UserRating, AutoRating FROM Albums";
const char* const kSongRatingsSql = "SELECT ArtistID, AlbumID, UserRating, Unsorted=TRUE AS IsUnsorted FROM Songs";
const char* const kCollectionSongRatingsSql =
    "SELECT ColJunction.ColID AS ColID, Songs.UserRating AS UserRating FROM Songs INNER JOIN "
    "ColJunction ON ColJunction.SongID = Songs.ID";
const char* const kCollectionRatingsSql = "SELECT ID, AutoRating FROM Collections";
