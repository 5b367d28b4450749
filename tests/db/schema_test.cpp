#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "db/librarydb.h"
#include "engine/engineerror.h"
#include "engine/transaction.h"
#include "support/asuser.h"
#include "support/killingvfs.h"
#include "support/libraryfixture.h"

namespace {

const std::string kOpenMessage =
    "Fatal Error: Couldn't open database at 'Cadenzo.mdb'.\nIf the database is in a folder with no write "
    "permission (eg. a read-only network folder), make sure the exclusive flag is set in the .ini.";
const std::string kVersionMessage = "Fatal Error: Database was not updated to most recent version!";

class SchemaTest : public LibraryFixture {
protected:
    // Closes the library and opens it again with the given flags.
    void Reopen(bool exclusive = false, bool readOnly = false) {
        m_db.reset();
        m_messages.shown.clear();
        m_db = std::make_unique<CLibraryDb>("Cadenzo.mdb", exclusive, readOnly, m_settings, m_messages);
    }

    std::vector<std::string> FieldsOf(const std::string& table) {
        std::vector<std::string> names;
        for (const CFieldInfo& field : CDbTable(m_db.get(), table).Fields()) {
            names.push_back(field.name);
        }
        return names;
    }

    long Count(const std::string& sql) { return CDbQuery(*m_db, sql).GetCount(); }
};

TEST_F(SchemaTest, ANewLibraryHoldsTheWholeSchema) {
    EXPECT_TRUE(m_db->IsOpen());
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(m_db->GetVersion(), 1);
    EXPECT_EQ(FieldsOf("Artists"), (std::vector<std::string>{"ID", "Name", "UserRating", "AutoRating"}));
    EXPECT_EQ(FieldsOf("Albums"),
              (std::vector<std::string>{"ID", "ArtistID", "Name", "UserRating", "AutoRating", "FilePath"}));
    EXPECT_EQ(FieldsOf("Collections"), (std::vector<std::string>{"ID", "Name", "UserRating", "AutoRating"}));
    EXPECT_EQ(FieldsOf("ColJunction"), (std::vector<std::string>{"ColID", "SongID"}));
    EXPECT_EQ(FieldsOf("Songs"),
              (std::vector<std::string>{"ID", "ArtistID", "AlbumID", "Name", "Length", "Year", "Track", "Genre",
                                        "UserRating", "PlayCount", "BestOf", "Unsorted", "FileType", "FilePath"}));
    EXPECT_EQ(FieldsOf("Genres"), (std::vector<std::string>{"ID", "Name", "UserRating"}));
    EXPECT_EQ(FieldsOf("Ratings"),
              (std::vector<std::string>{"Rating", "Description", "BGColorR", "BGColorG", "BGColorB"}));

    const std::vector<CFieldInfo> songs = CDbTable(m_db.get(), "Songs").Fields();
    EXPECT_EQ(songs[0].attributes, dbAutoIncrField | dbUpdatableField | dbFixedField);
    EXPECT_EQ(songs[3].type, dbText);
    EXPECT_EQ(songs[3].size, 255);
    EXPECT_EQ(songs[4].size, 10);
    EXPECT_EQ(songs[7].size, 40);
    EXPECT_EQ(songs[8].type, dbInteger);
    EXPECT_EQ(songs[8].defaultValue, "0");
    EXPECT_EQ(songs[10].type, dbBoolean);
    EXPECT_EQ(songs[13].attributes & dbExactTextField, dbExactTextField);
    EXPECT_EQ(CDbTable(m_db.get(), "Albums").Fields()[4].defaultValue, "0.0");
    EXPECT_EQ(CDbTable(m_db.get(), "Ratings").Fields()[2].type, dbByte);

    EXPECT_EQ(CDbTable(m_db.get(), "Ratings").IndexNames(), std::vector<std::string>{"PrimaryKey"});
    EXPECT_EQ(CDbTable(m_db.get(), "ColJunction").IndexNames(), (std::vector<std::string>{"ColID", "SongID"}));
    EXPECT_EQ(CDbTable(m_db.get(), "Songs").IndexNames(),
              (std::vector<std::string>{"PrimaryKey", "ArtistID", "AlbumID", "FilePath"}));
}

TEST_F(SchemaTest, RatingsAreSeededInOrder) {
    CDbQuery ratings(*m_db, "SELECT * FROM Ratings ORDER BY 1");
    std::string seen;
    for (CRecordset* row = ratings.GetRecordset(); row && !row->IsEOF(); row = ratings.Next()) {
        seen += std::to_string(row->GetFieldValue("Rating").AsShort()) + " " +
                row->GetFieldValue("Description").AsText() + " " +
                std::to_string(row->GetFieldValue("BGColorR").AsByte()) + "," +
                std::to_string(row->GetFieldValue("BGColorG").AsByte()) + "," +
                std::to_string(row->GetFieldValue("BGColorB").AsByte()) + "\n";
    }
    EXPECT_EQ(seen,
              "0 Not Rated 0,0,0\n1 Hate 128,128,128\n2 Dislike 160,160,160\n3 Neutral 224,224,224\n"
              "4 Fair 255,192,192\n5 Good 192,255,192\n6 Great 192,192,255\n7 Favorite 255,192,255\n");
}

TEST_F(SchemaTest, AnUpgradeCreatesOnlyTheMissingTables) {
    AddArtist("Kept");
    m_db->Execute("DROP TABLE Ratings", dbFailOnError);
    m_db->SetVersion(0);
    Reopen();
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(m_db->GetVersion(), 1);
    EXPECT_EQ(Count("SELECT * FROM Ratings"), 8);
    EXPECT_EQ(CDbTable(m_db.get(), "Artists").LookupLongByText("ID", "Name", "Kept"), 1);

    m_db->Execute("DROP TABLE Genres", dbFailOnError);
    Reopen();
    EXPECT_FALSE(m_db->TableExists("Genres")) << "version 1 is not repaired";
    EXPECT_TRUE(m_messages.shown.empty());

    m_db->Execute("DELETE FROM Version", dbFailOnError);
    Reopen();
    EXPECT_TRUE(m_db->TableExists("Genres")) << "an empty Version table counts as version 0";
    EXPECT_EQ(m_db->GetVersion(), 1);
}

TEST_F(SchemaTest, UnknownVersionsAreReportedAndLeftAlone) {
    m_db->Execute("DROP TABLE Genres", dbFailOnError);
    m_db->SetVersion(2);
    Reopen();
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kVersionMessage});
    EXPECT_TRUE(m_db->IsOpen());
    EXPECT_FALSE(m_db->TableExists("Genres"));
    EXPECT_EQ(m_db->GetVersion(), 2);

    m_db->Execute("DROP TABLE Version", dbFailOnError);
    Reopen();
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kVersionMessage});
    EXPECT_TRUE(m_db->TableExists("Genres")) << "missing tables are created, but the version cannot be written";
    EXPECT_TRUE(m_db->IsOpen());

    m_db->Execute("DROP TABLE Genres", dbFailOnError);
    m_db->Execute("CREATE TABLE Version (Other INTEGER)", dbFailOnError);
    Reopen();
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kVersionMessage});
    EXPECT_FALSE(m_db->TableExists("Genres")) << "the failed upgrade left nothing behind";
}

TEST_F(SchemaTest, AnUpgradeThatCannotCreateATableLeavesTheFileAsItWas) {
    m_db->Execute("DROP TABLE Artists", dbFailOnError);
    m_db->Execute("CREATE TABLE Other (x INTEGER)", dbFailOnError);
    m_db->Execute("CREATE INDEX Artists_Name ON Other (x)", dbFailOnError);  // the name of one of ours
    m_db->SetVersion(0);
    m_db.reset();
    const std::string before = ReadFile(Path());
    Reopen();
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kVersionMessage});
    EXPECT_EQ(m_db->GetVersion(), 0);
    EXPECT_FALSE(m_db->TableExists("Artists"));
    m_db.reset();
    EXPECT_EQ(ReadFile(Path()), before);
}

TEST_F(SchemaTest, AKillWhileCreatingALibraryLeavesNoneOrAWholeOne) {
    m_db.reset();
    int killedAt = 0;
    for (int write = 1; write < 400; ++write) {
        std::filesystem::remove(Path());
        const pid_t child = fork();
        if (child == 0) {
            EndProcessAtWrite(write);
            CRecordingMessageBox messages;
            const CFixedSettings settings;
            CLibraryDb db("Cadenzo.mdb", false, false, settings, messages);
            _exit(db.IsOpen() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        const bool killed = WEXITSTATUS(status) == 9;
        EXPECT_TRUE(!killed || !std::filesystem::exists(Path()) || std::filesystem::file_size(Path()) > 0) << write;
        Reopen();  // the next start
        ASSERT_TRUE(m_db->IsOpen()) << "killed at write " << write;
        EXPECT_EQ(m_db->GetVersion(), 1) << write;
        EXPECT_TRUE(m_messages.shown.empty()) << write;
        EXPECT_EQ(Count("SELECT * FROM Ratings"), 8) << write;
        EXPECT_FALSE(std::filesystem::exists(Path() + ".cadenzo-new")) << write;
        m_db.reset();
        if (!killed) {
            break;
        }
        killedAt = write;
    }
    EXPECT_GT(killedAt, 10) << "the creation was killed at each of its writes";
}

TEST_F(SchemaTest, AnotherProgramsDatabaseIsNeverChanged) {
    m_db.reset();
    std::filesystem::remove(Path());
    sqlite3* raw = nullptr;
    sqlite3_open(Path().c_str(), &raw);
    // In write-ahead-log mode, which the import's switch back to the rollback journal must not touch.
    sqlite3_exec(raw, "PRAGMA journal_mode=WAL; CREATE TABLE Notes (Text TEXT); INSERT INTO Notes VALUES ('keep me');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    const std::string before = ReadFile(Path());
    Reopen();
    EXPECT_FALSE(m_db->IsOpen());
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kOpenMessage});
    m_db.reset();
    EXPECT_EQ(ReadFile(Path()), before);
}

TEST_F(SchemaTest, ALibraryIsDataNotCode) {
    m_db->Execute("CREATE VIEW Mine AS SELECT Name FROM Artists", dbFailOnError);
    m_db->Execute("CREATE TRIGGER Stamp AFTER INSERT ON Artists BEGIN UPDATE Artists SET UserRating = 1; END",
                  dbFailOnError);
    Reopen();
    EXPECT_TRUE(m_db->IsOpen());
    EXPECT_TRUE(m_messages.shown.empty()) << "other tools' views and triggers are tolerated";
    EXPECT_THROW(m_db->Execute("PRAGMA writable_schema=ON", dbFailOnError);
                 m_db->Execute("UPDATE sqlite_master SET sql = 'x' WHERE name = 'Songs'", dbFailOnError), CEngineError);

    m_db->Execute("ALTER TABLE Songs DROP COLUMN Genre", dbFailOnError);
    Reopen();
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kVersionMessage}) << "a dropped field is reported at once";
}

TEST_F(SchemaTest, AReadOnlyLibraryIsNeverWritten) {
    m_db->SetVersion(0);
    m_db.reset();
    const std::string before = ReadFile(Path());
    chmod(Path().c_str(), 0444);
    const std::string outcome = RunAsUnprivileged([] {
        CRecordingMessageBox messages;
        const CFixedSettings settings;
        CLibraryDb db("Cadenzo.mdb", false, true, settings, messages);
        return std::string(db.IsOpen() ? "open" : "closed") + " | " +
               (messages.shown.empty() ? "" : messages.shown.front());
    });
    EXPECT_EQ(outcome, "open | " + kVersionMessage);
    EXPECT_EQ(ReadFile(Path()), before);

    chmod(Path().c_str(), 0644);
    Reopen();
    m_db.reset();
    chmod(Path().c_str(), 0444);
    const std::string atVersion1 = RunAsUnprivileged([] {
        CRecordingMessageBox messages;
        const CFixedSettings settings;
        CLibraryDb db("Cadenzo.mdb", false, true, settings, messages);
        bool refused = false;
        try {
            db.Execute("DELETE FROM Ratings", dbFailOnError);
        } catch (const CEngineError&) {
            refused = true;
        }
        return std::string(db.IsOpen() && messages.shown.empty() ? "open" : "failed") +
               (refused ? " refuses writes" : " wrote");
    });
    EXPECT_EQ(atVersion1, "open refuses writes");
}

TEST_F(SchemaTest, FilesThatAreNoLibraryAreReportedAndNotTouched) {
    m_db.reset();
    const std::string library = ReadFile(Path());
    std::string damaged = library;
    for (std::size_t i = 4096; i < 4096 + 64; ++i) {
        damaged[i] = '\x5A';  // the head of a table's page
    }
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty", ""},        {"text", "This is not a database at all.\n"}, {"truncated", library.substr(0, 5000)},
        {"damaged", damaged}, {"header only", library.substr(0, 100)},
    };
    for (const auto& [what, bytes] : cases) {
        WriteFile(Path(), bytes);
        Reopen();
        EXPECT_FALSE(m_db->IsOpen()) << what;
        EXPECT_EQ(m_messages.shown, std::vector<std::string>{kOpenMessage}) << what;
        EXPECT_EQ(ReadFile(Path()), bytes) << what;
        EXPECT_FALSE(std::filesystem::exists(Path() + "-journal")) << what;
    }
}

TEST_F(SchemaTest, OnlyALibraryACrashOrAnotherProgramMayHaveChangedIsScannedAtOpen) {
    CTransaction adding(*m_db);
    for (int i = 0; i < 3000; ++i) {
        AddArtist("Artist " + std::to_string(i));
    }
    adding.Commit();
    const auto pagesRead = [&] {
        int read = 0;
        int highest = 0;
        sqlite3_db_status(m_db->Handle(), SQLITE_DBSTATUS_CACHE_MISS, &read, &highest, 0);
        return read;
    };
    const auto closeInOrder = [&] {
        // The system's clock past the file's last change: a close in the same tick records nothing.
        struct stat info {};
        timespec now{};
        do {
            usleep(1000);
            stat(Path().c_str(), &info);
            clock_gettime(CLOCK_REALTIME_COARSE, &now);
        } while (now.tv_sec < info.st_ctim.tv_sec + (now.tv_nsec <= info.st_ctim.tv_nsec ? 1 : 0));
        m_db.reset();
    };
    const int pages = static_cast<int>(std::filesystem::file_size(Path()) / 4096);
    closeInOrder();
    Reopen();
    EXPECT_LT(pagesRead(), 10) << "closed in order";

    closeInOrder();
    if (fork() == 0) {
        CLibraryDb crashed("Cadenzo.mdb", false, false, m_settings, m_messages);
        _exit(0);  // no close
    }
    wait(nullptr);
    Reopen();
    EXPECT_GE(pagesRead(), pages) << "after a crash";

    closeInOrder();
    WriteFile(Path(), ReadFile(Path()));  // the same bytes, written by another program
    Reopen();
    EXPECT_GE(pagesRead(), pages) << "changed since";
    EXPECT_TRUE(m_db->IsOpen());
}

TEST_F(SchemaTest, AFolderThatDoesNotExistGivesTheCreateMessage) {
    m_db.reset();
    m_messages.shown.clear();
    const CFixedSettings settings("no/such/folder/lib.mdb");
    CLibraryDb db("no/such/folder/lib.mdb", false, false, settings, m_messages);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(
        m_messages.shown,
        std::vector<std::string>{
            "Fatal Error: Couldn't create a new database at 'no/such/folder/lib.mdb'.  Check your .ini settings"});
}

TEST_F(SchemaTest, ANewLibraryIsCreatedWhereTheSettingsSay) {
    const CFixedSettings settings("New.mdb");
    CLibraryDb db("Missing.mdb", false, false, settings, m_messages);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetPath(), "New.mdb");
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("Missing.mdb")));
}

TEST_F(SchemaTest, ACrashJournalKeepsAReadOnlyLibraryClosed) {
    AddArtist("Before");
    m_db.reset();
    // Leave a hot journal behind, as a crash in the middle of a write would.
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* raw = nullptr;
        sqlite3_open(Path().c_str(), &raw);
        sqlite3_exec(raw,
                     "PRAGMA cache_size=1; BEGIN; UPDATE Ratings SET Description = 'x'; "
                     "DELETE FROM Ratings; INSERT INTO Ratings (Rating) VALUES (9);",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(raw,
                     "CREATE TABLE Big (x); WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n+1 FROM c "
                     "WHERE n < 20000) INSERT INTO Big SELECT randomblob(100) FROM c;",
                     nullptr, nullptr, nullptr);
        _exit(0);  // no commit, no rollback
    }
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(std::filesystem::exists(Path() + "-journal"));
    const std::string file = ReadFile(Path());
    const std::string journal = ReadFile(Path() + "-journal");

    Reopen(false, true);
    EXPECT_FALSE(m_db->IsOpen());
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{kOpenMessage});
    EXPECT_EQ(ReadFile(Path()), file);
    EXPECT_EQ(ReadFile(Path() + "-journal"), journal);

    Reopen();
    EXPECT_TRUE(m_db->IsOpen()) << "a writable open rolls the crashed write back";
    EXPECT_EQ(CDbTable(m_db.get(), "Artists").LookupLongByText("ID", "Name", "Before"), 1);
    EXPECT_EQ(Count("SELECT * FROM Ratings"), 8);
}

TEST_F(SchemaTest, AnExclusiveLibraryIsLockedAgainstOtherProcesses) {
    Reopen(true, false);
    ASSERT_TRUE(m_db->IsOpen());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        CRecordingMessageBox messages;
        const CFixedSettings settings;
        CLibraryDb db("Cadenzo.mdb", false, false, settings, messages);
        const char verdict = !db.IsOpen() && messages.shown == std::vector<std::string>{kOpenMessage} ? 'y' : 'n';
        _exit(write(ready[1], &verdict, 1) == 1 ? 0 : 1);
    }
    char verdict = 0;
    close(ready[1]);
    EXPECT_EQ(read(ready[0], &verdict, 1), 1);
    close(ready[0]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(verdict, 'y') << "another process cannot open the locked library";

    AddArtist("Mine");
    EXPECT_EQ(CDbTable(m_db.get(), "Artists").LookupLongByText("ID", "Name", "mine"), 1)
        << "the holder still works on it";
    m_db.reset();
    Reopen();
    EXPECT_TRUE(m_db->IsOpen()) << "closing releases the lock";
}

}  // namespace
