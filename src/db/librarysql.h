#pragma once

#include <cstdint>
#include <string>

// Every statement text of the library database, built from its format text. Texts that take
// a name or tag value quote it (apostrophes doubled).

// ---- Access layer ----
std::string AllRowsSql(const std::string& table);
std::string VersionSql();
// Sets `field` of every row to `value`, an SQL literal.
std::string FillFieldSql(const std::string& table, const std::string& field, const std::string& value);
std::string LookupSql(const std::string& field, const std::string& table, const std::string& keyField,
                      std::int32_t key);
std::string LookupBy2Sql(const std::string& field, const std::string& table, const std::string& keyField1,
                         std::int32_t key1, const std::string& keyField2, std::int32_t key2);
std::string LookupByTextSql(const std::string& field, const std::string& table, const std::string& keyField,
                            const std::string& text);
std::string LookupByTextAndLongSql(const std::string& field, const std::string& table, const std::string& textField,
                                   const std::string& text, const std::string& keyField, std::int32_t key);

// ---- Store ----
std::string RowByIdSql(const std::string& table, std::int32_t id);
std::string SongToUpdateSql(std::int32_t songId);
std::string DeleteSongLinksSql(std::int32_t songId);
std::string DeleteRowSql(const std::string& table, std::int32_t id);
std::string CollectionIdsOfSongSql(std::int32_t songId);
// The IDs of the rows of `table` whose `keyField` is `key`.
std::string IdsWhereSql(const std::string& table, const std::string& keyField, std::int32_t key);
std::string SongIdsOfCollectionSql(std::int32_t collectionId);
std::string NameListSql(const std::string& table);

// ---- Ratings ----
std::string SongsOfAlbumSql(std::int32_t albumId);
// The artist's songs outside their own albums: unsorted, or on another artist's album.
std::string LooseSongsOfArtistSql(std::int32_t artistId);
std::string AlbumsOfArtistSql(std::int32_t artistId);
std::string OtherArtistsAlbumsWithSongsOfSql(std::int32_t artistId);
std::string SongsOfCollectionSql(std::int32_t collectionId);

// ---- Recalculating every rating in one pass ----
extern const char* const kArtistRatingsSql;
extern const char* const kAlbumRatingsSql;
extern const char* const kSongRatingsSql;
extern const char* const kCollectionSongRatingsSql;
extern const char* const kCollectionRatingsSql;
