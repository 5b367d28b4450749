#include <gtest/gtest.h>

#include "db/dbhelper.h"
#include "db/dbquery.h"
#include "db/dbtable.h"
#include "engine/engineerror.h"
#include "support/libraryfixture.h"

namespace {

using DbAccessTest = LibraryFixture;

TEST_F(DbAccessTest, TablesAreFoundWithoutRegardToCase) {
    EXPECT_TRUE(m_db->TableExists("Songs"));
    EXPECT_TRUE(m_db->TableExists("songs"));
    EXPECT_TRUE(m_db->TableExists("sqlite_sequence"));
    EXPECT_FALSE(m_db->TableExists("Song"));
    EXPECT_EQ(m_db->CreateTable("SONGS", 0), nullptr);
    EXPECT_EQ(CDbTable(m_db.get(), "songs").GetName(), "Songs");
    EXPECT_FALSE(CDbTable(m_db.get(), "Nothing").IsOpen());
}

TEST_F(DbAccessTest, LookupsFindTheFirstRowOrNothing) {
    const std::int32_t id = AddArtist("O'Brien");
    AddRow("Albums", {{"ArtistID", CVariant(id)},
                      {"Name", CVariant(std::string("First"))},
                      {"AutoRating", CVariant(4.5)},
                      {"UserRating", CVariant(std::int16_t(6))}});
    CDbTable artists(m_db.get(), "Artists");
    CDbTable albums(m_db.get(), "Albums");
    EXPECT_EQ(artists.LookupLongByText("ID", "Name", "O'Brien"), id);
    EXPECT_EQ(artists.LookupLongByText("ID", "Name", "o'brien"), id);
    EXPECT_EQ(artists.LookupText("Name", "ID", id), "O'Brien");
    EXPECT_EQ(albums.LookupLongByTextAndLong("ID", "Name", "first", "ArtistID", id), 1);
    EXPECT_EQ(albums.LookupLongBy2("ID", "ID", 1, "ArtistID", id), 1);
    EXPECT_EQ(albums.LookupDouble("AutoRating", "ID", 1), 4.5);
    EXPECT_EQ(albums.LookupShort("UserRating", "ID", 1), 6);

    EXPECT_EQ(artists.LookupLongByText("ID", "Name", "Nobody"), 0);
    EXPECT_EQ(albums.LookupLongByTextAndLong("ID", "Name", "First", "ArtistID", id + 1), 0);
    EXPECT_EQ(albums.LookupDouble("AutoRating", "ID", 99), 0.0);
    EXPECT_EQ(artists.LookupText("Name", "ID", 99), "");

    CDbTable closed(m_db.get(), "Nothing");
    EXPECT_EQ(closed.LookupLong("ID", "ID", 1), 0);
    EXPECT_FALSE(closed.UpdateLong("ID", "ID", 1, 2));
    EXPECT_THROW(artists.LookupLong("NoSuchField", "ID", 1), CEngineError);
}

TEST_F(DbAccessTest, NamesThatLookLikeSqlRoundTrip) {
    CDbTable artists(m_db.get(), "Artists");
    const std::vector<std::string> names = {"O'Brien",
                                            "'",
                                            "''",
                                            "\"Quoted\"",
                                            "a; DROP TABLE Songs; --",
                                            "x' OR '1'='1",
                                            "Sinéad O'Connor",
                                            "Кино",
                                            "椎名林檎",
                                            std::string("nul\0byte", 8),
                                            "back\\slash %s %d"};
    std::vector<std::int32_t> ids;
    for (const std::string& name : names) {
        ids.push_back(AddArtist(name));
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(artists.LookupLongByText("ID", "Name", names[i]), ids[i]) << names[i];
        EXPECT_EQ(artists.LookupText("Name", "ID", ids[i]), names[i]);
        const std::int32_t album = AddRow("Albums", {{"Name", CVariant(names[i])}, {"ArtistID", CVariant(ids[i])}});
        EXPECT_EQ(CDbTable(m_db.get(), "Albums").LookupLongByTextAndLong("ID", "Name", names[i], "ArtistID", ids[i]),
                  album);
    }
    EXPECT_TRUE(m_db->TableExists("Songs"));
    EXPECT_EQ(artists.LookupLongByText("ID", "Name", "x"), 0);
}

TEST_F(DbAccessTest, NamesIgnoreCaseButPathsDoNot) {
    AddArtist("The Beatles");
    AddArtist("Mötley Crüe");
    AddRow("Songs", {{"FilePath", CVariant(std::string("/m/a.mp3"))}});
    CDbTable artists(m_db.get(), "Artists");
    CDbTable songs(m_db.get(), "Songs");
    EXPECT_EQ(artists.LookupLongByText("ID", "Name", "the beatles"), 1);
    EXPECT_EQ(artists.LookupLongByText("ID", "Name", "MÖTLEY CRÜE"), 2);
    EXPECT_EQ(songs.LookupLongByText("ID", "FilePath", "/m/a.mp3"), 1);
    EXPECT_EQ(songs.LookupLongByText("ID", "FilePath", "/m/A.mp3"), 0);
    CDbQuery distinct(*m_db, "SELECT DISTINCT Name FROM Artists WHERE Name <> 'THE BEATLES'");
    EXPECT_EQ(distinct.GetCount(), 1);
}

TEST_F(DbAccessTest, UpdatesChangeOnlyTheFirstMatchingRow) {
    AddRow("ColJunction", {{"ColID", CVariant(std::int32_t(1))}, {"SongID", CVariant(std::int32_t(10))}});
    AddRow("ColJunction", {{"ColID", CVariant(std::int32_t(1))}, {"SongID", CVariant(std::int32_t(11))}});
    CDbTable junction(m_db.get(), "ColJunction");
    EXPECT_TRUE(junction.UpdateLong("SongID", "ColID", 1, 99));
    CDbQuery rows(*m_db, "SELECT SongID FROM ColJunction ORDER BY SongID");
    std::vector<std::int32_t> songs;
    for (CRecordset* row = rows.GetRecordset(); row && !row->IsEOF(); row = rows.Next()) {
        songs.push_back(row->GetFieldValue("SongID").AsLong());
    }
    EXPECT_EQ(songs, (std::vector<std::int32_t>{11, 99}));
    EXPECT_FALSE(junction.UpdateLong("SongID", "ColID", 5, 1));

    const std::int32_t album = AddRow("Albums", {{"Name", CVariant(std::string("A"))}});
    CDbTable albums(m_db.get(), "Albums");
    EXPECT_TRUE(albums.UpdateDouble("AutoRating", "ID", album, 5.25));
    EXPECT_TRUE(albums.UpdateShort("UserRating", "ID", album, 7));
    EXPECT_EQ(albums.LookupDouble("AutoRating", "ID", album), 5.25);
    EXPECT_EQ(albums.LookupShort("UserRating", "ID", album), 7);
}

TEST_F(DbAccessTest, IdsAreReadableBeforeUpdateAndNeverReused) {
    EXPECT_EQ(AddArtist("a"), 1);
    EXPECT_EQ(AddArtist("b"), 2);
    EXPECT_EQ(AddArtist("c"), 3);
    m_db->Execute("DELETE FROM Artists WHERE ID = 3", dbFailOnError);
    m_db->Execute("DELETE * FROM Artists", dbFailOnError);
    EXPECT_EQ(AddArtist("d"), 4);
    EXPECT_EQ(CDbTable(m_db.get(), "Artists").LookupText("Name", "ID", 4), "d");

    m_db->Close();
    m_db = std::make_unique<CLibraryDb>("Cadenzo.mdb", false, false, m_settings, m_messages);
    m_db->Execute("DELETE FROM Artists", dbFailOnError);
    EXPECT_EQ(AddArtist("e"), 5) << "also after reopening the file";

    // The store's cursor-free insert follows the same rule, up to the last 32-bit ID.
    EXPECT_EQ(m_db->AddRow("Artists", {{"Name", CVariant(std::string("f"))}}), 6);
    m_db->Execute("DELETE FROM Artists WHERE ID = 6", dbFailOnError);
    EXPECT_EQ(AddArtist("g"), 7);
    m_db->Execute("UPDATE sqlite_sequence SET seq = 2147483646 WHERE name = 'Artists'", dbFailOnError);
    EXPECT_EQ(m_db->AddRow("Artists", {{"Name", CVariant(std::string("h"))}}), 2147483647);
    EXPECT_THROW(m_db->AddRow("Artists", {{"Name", CVariant(std::string("i"))}}), CEngineError);
    EXPECT_EQ(CDbQuery(*m_db, "SELECT * FROM Artists").GetCount(), 3) << "the refused row is not kept";
    EXPECT_THROW(m_db->AddRow("Artists", {{"ID", CVariant(9)}}), CEngineError) << "the engine sets the ID";
}

TEST_F(DbAccessTest, AStatementNeverOutlivesItsLibrary) {
    AddArtist("Only in the first");
    {
        const CFixedSettings settings("Second.mdb");
        CLibraryDb second("Second.mdb", false, false, settings, m_messages);
        second.FindOrAddArtist({0, "Only in the second", 0, 0.0});
    }
    const std::string sql = "SELECT Name FROM Artists WHERE ID = 1";
    CDbQuery held(*m_db, sql);
    EXPECT_EQ(held.GetRecordset()->GetFieldValue("Name").AsText(), "Only in the first");
    m_db->Close();
    m_db->Open("Second.mdb", false, false);
    held.Close();  // hands its statement back to the reopened object
    CDbQuery query(*m_db, sql);
    EXPECT_EQ(query.GetRecordset()->GetFieldValue("Name").AsText(), "Only in the second");
}

TEST_F(DbAccessTest, ValuesReadBackWithTheirSchemaTypes) {
    AddRow("Songs", {{"Name", CVariant(std::string(300, 'n'))},
                     {"UserRating", CVariant(std::int32_t(5))},
                     {"BestOf", CVariant(std::int32_t(-7))},
                     {"FilePath", CVariant(std::string(300, 'p'))}});
    AddRow("Songs", {});
    CDbQuery songs(*m_db, "SELECT * FROM Songs ORDER BY ID");
    CRecordset* row = songs.GetRecordset();
    EXPECT_EQ(row->GetFieldValue("ID").GetType(), CVariant::Type::Long);
    EXPECT_EQ(row->GetFieldValue("UserRating"), CVariant(std::int16_t(5)));
    EXPECT_EQ(row->GetFieldValue("BestOf"), CVariant(std::int16_t(1))) << "booleans are stored as 0 or 1";
    EXPECT_EQ(row->GetFieldValue("Unsorted"), CVariant(std::int16_t(0)));
    EXPECT_EQ(row->GetFieldValue("name").AsText().size(), 300u) << "text sizes are not enforced";
    EXPECT_EQ(row->GetFieldValue("FilePath").AsText(), std::string(300, 'p'));
    songs.Next();
    EXPECT_TRUE(row->GetFieldValue("Genre").IsNull());
    EXPECT_EQ(row->GetFieldValue("Genre").AsText(), "");
    EXPECT_EQ(row->GetFieldValue("PlayCount"), CVariant(std::int32_t(0)));
    EXPECT_THROW(row->GetFieldValue("Nope"), CEngineError);

    CDbQuery ratings(*m_db, "SELECT * FROM Ratings ORDER BY 1");
    EXPECT_EQ(ratings.GetRecordset()->GetFieldValue("BGColorR").GetType(), CVariant::Type::Byte);
    CDbQuery sums(*m_db, "SELECT COUNT(ID) as lCount, SUM(PlayCount) AS SumCount FROM Songs WHERE AlbumID=77");
    EXPECT_EQ(sums.GetRecordset()->GetFieldValue("lCount"), CVariant(std::int32_t(0)));
    EXPECT_TRUE(sums.GetRecordset()->GetFieldValue("SumCount").IsNull());
}

TEST_F(DbAccessTest, QueriesCountAndMoveWithinTheirRows) {
    for (const char* name : {"a", "b", "c"}) {
        AddArtist(name);
    }
    CDbQuery query(*m_db, "SELECT * FROM Artists ORDER BY ID");
    EXPECT_EQ(query.GetCount(), 3);
    EXPECT_TRUE(query.MoveTo(-5));
    EXPECT_EQ(query.GetRecordset()->GetFieldValue("Name").AsText(), "a");
    EXPECT_TRUE(query.MoveTo(13));
    EXPECT_EQ(query.GetRecordset()->GetFieldValue("Name").AsText(), "c");
    EXPECT_TRUE(query.MoveTo(1));
    EXPECT_EQ(query.GetRecordset()->GetFieldValue("Name").AsText(), "b");
    EXPECT_NE(query.Next(), nullptr);
    EXPECT_NE(query.Next(), nullptr);
    EXPECT_TRUE(query.GetRecordset()->IsEOF());
    EXPECT_EQ(query.Next(), nullptr);

    CDbQuery empty(*m_db, "SELECT * FROM Artists WHERE ID = 0");
    EXPECT_TRUE(empty.GetRecordset()->IsEOF());
    EXPECT_TRUE(empty.GetRecordset()->IsBOF());
    EXPECT_EQ(empty.GetCount(), 0);
    EXPECT_FALSE(empty.MoveTo(0));
    query.Close();
    EXPECT_EQ(query.GetRecordset(), nullptr);
}

TEST_F(DbAccessTest, VersionNeedsItsTable) {
    EXPECT_EQ(m_db->GetVersion(), 1);
    m_db->Execute("DROP TABLE Version", dbFailOnError);
    EXPECT_EQ(m_db->GetVersion(), 0);
    EXPECT_FALSE(m_db->SetVersion(1));
    EXPECT_FALSE(m_db->TableExists("Version"));
    EXPECT_TRUE(m_db->EnsureVersionTable());
    EXPECT_EQ(m_db->GetVersion(), 0);
    EXPECT_TRUE(m_db->SetVersion(5));
    EXPECT_EQ(m_db->GetVersion(), 5);
    CDbQuery rows(*m_db, "SELECT * FROM Version");
    EXPECT_EQ(rows.GetCount(), 1);
}

TEST_F(DbAccessTest, AddingFieldsFillsExistingRows) {
    AddArtist("a");
    CDbTable artists(m_db.get(), "Artists");
    EXPECT_TRUE(artists.AddTextField("Note", 50, nullptr, 0, false));
    EXPECT_TRUE(artists.AddBoolField("Flag", nullptr, 0, false));
    EXPECT_TRUE(artists.AddByteField("Shade", "9", 0, false));
    EXPECT_EQ(CDbQuery(*m_db, "SELECT * FROM Artists").GetRecordset()->GetFieldValue("Note").AsText(), "0");
    CDbQuery added(*m_db, "SELECT * FROM Artists");
    EXPECT_EQ(added.GetRecordset()->GetFieldValue("Flag"), CVariant(std::int16_t(0)));
    EXPECT_EQ(added.GetRecordset()->GetFieldValue("Shade"), CVariant(std::uint8_t(9)));

    const auto fieldsBefore = artists.Fields().size();
    EXPECT_TRUE(artists.AddTextField("Name", 10, nullptr, 0, true));
    EXPECT_EQ(artists.Fields().size(), fieldsBefore);
    EXPECT_THROW(artists.AddTextField("Name", 10, nullptr, 0, false), CEngineError);
    EXPECT_TRUE(artists.CreateIndex("Note", 1));
    EXPECT_FALSE(artists.CreateIndex("NoSuchField", 2));
}

TEST_F(DbAccessTest, NewTablesComeWholeOrNotAtAll) {
    std::unique_ptr<CDbTable> table = m_db->CreateTable("Extra", 0);
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->AddLongField("ID", nullptr, dbAutoIncrField, false))
        << "the filling statement fails before the append";
    EXPECT_FALSE(table->AddTextField("Name", 20, nullptr, 0, true));
    EXPECT_TRUE(table->FieldExists("name"));
    table->CreateIndex("ID", 0);
    table->CreateIndex("NoSuchField", 2);
    EXPECT_FALSE(m_db->AppendTable(*table));
    EXPECT_FALSE(m_db->TableExists("Extra")) << "the failed index undid the table";

    table = m_db->CreateTable("Extra", 0);
    table->AddLongField("ID", nullptr, dbAutoIncrField, false);
    table->AddIntegerField("Kind", "4", 0, true);
    table->CreateIndex("ID", 0);
    table->CreateIndex("Kind", 1);
    EXPECT_TRUE(m_db->AppendTable(*table));
    EXPECT_EQ(CDbTable(m_db.get(), "Extra").IndexNames(), (std::vector<std::string>{"PrimaryKey", "Kind"}));
    EXPECT_EQ(AddRow("Extra", {}), 1);
    EXPECT_EQ(CDbTable(m_db.get(), "Extra").LookupShort("Kind", "ID", 1), 4);
}

TEST_F(DbAccessTest, EngineErrorsCarryADescription) {
    try {
        m_db->Execute("UPDATE Nowhere SET a = 1", dbFailOnError);
        FAIL() << "no error";
    } catch (const CEngineError& error) {
        EXPECT_NE(std::string(error.what()).find("no such table: Nowhere"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("UPDATE Nowhere SET a = 1"), std::string::npos);
    }
    EXPECT_THROW(m_db->Execute("DELETE FROM Songs; DROP TABLE Artists", dbFailOnError), CEngineError);
    EXPECT_TRUE(m_db->TableExists("Artists")) << "a second statement never runs";
    EXPECT_THROW(CDbQuery(*m_db, "SELECT * FROM"), CEngineError);
    CDbQuery joined(*m_db, "SELECT Songs.* FROM Songs LEFT JOIN Albums ON Songs.AlbumID=Albums.ID");
    EXPECT_THROW(joined.GetRecordset()->AddNew(), CEngineError) << "a join cannot be edited";
}

TEST_F(DbAccessTest, AClosedDatabaseYieldsNothing) {
    m_db->Close();
    CDbQuery query(*m_db, "SELECT * FROM Songs");
    EXPECT_EQ(query.GetRecordset(), nullptr);
    EXPECT_EQ(query.Next(), nullptr);
    EXPECT_EQ(query.GetCount(), 0);
    CDbTable songs(m_db.get(), "Songs");
    EXPECT_FALSE(songs.IsOpen());
    EXPECT_EQ(songs.LookupLongByText("ID", "Name", "x"), 0);
}

}  // namespace
