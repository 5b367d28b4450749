#include "librarygen.h"

#include <fmt/format.h>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "engine/transaction.h"

std::int32_t InsertSong(CLibraryDb& db, int number) {
    CDbTable songs(&db, "Songs");
    CDbQuery query(songs);
    CRecordset* rows = query.GetRecordset();
    rows->AddNew();
    rows->SetFieldValue("ArtistID", CVariant(static_cast<std::int32_t>(number % 2000 + 1)));
    rows->SetFieldValue("AlbumID", CVariant(static_cast<std::int32_t>(number % 10000 + 1)));
    rows->SetFieldValue("Name", CVariant(fmt::format("Song number {}", number)));
    rows->SetFieldValue("Length", CVariant(std::string("3:45")));
    rows->SetFieldValue("Year", CVariant(std::string("1999")));
    rows->SetFieldValue("Track", CVariant(std::to_string(number % 12 + 1)));
    rows->SetFieldValue("Genre", CVariant(std::string("Rock")));
    rows->SetFieldValue("UserRating", CVariant(static_cast<std::int16_t>(number % 8)));
    rows->SetFieldValue("PlayCount", CVariant(static_cast<std::int32_t>(number % 50)));
    rows->SetFieldValue("FileType", CVariant(static_cast<std::int16_t>(1)));
    rows->SetFieldValue("FilePath", CVariant(fmt::format("/music/artist {}/album {}/{:05}.mp3", number % 2000,
                                                         number % 10000, number)));
    const std::int32_t id = rows->GetFieldValue("ID").AsLong();
    rows->Update();
    return id;
}

void AddSyntheticSongs(CLibraryDb& db, int count) {
    CTransaction transaction(db);
    for (int i = 0; i < count; ++i) {
        InsertSong(db, i);
    }
    transaction.Commit();
}

void AddSyntheticArtists(CLibraryDb& db, int count) {
    CTransaction transaction(db);
    CDbTable artists(&db, "Artists");
    for (int i = 0; i < count; ++i) {
        CDbQuery query(artists);
        CRecordset* rows = query.GetRecordset();
        rows->AddNew();
        rows->SetFieldValue("Name", CVariant(fmt::format("Artist {}", i)));
        rows->Update();
    }
    transaction.Commit();
}
