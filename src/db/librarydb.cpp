#include "db/librarydb.h"

#include <unistd.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include <fmt/printf.h>

#include "db/dbquery.h"
#include "db/dbtable.h"
#include "db/librarysettings.h"
#include "engine/closerecord.h"
#include "engine/engineerror.h"
#include "engine/transaction.h"
#include "platform/atomicfile.h"
#include "platform/fileaccess.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"

namespace {

struct FieldSpec {
    const char* name;
    int type;
    int size;
    const char* defaultValue;  // null: the adder's own
    long attributes;
};

struct TableSpec {
    const char* name;
    std::vector<FieldSpec> fields;
    const char* keyField;  // with its index kind
    IndexKind keyKind;
    std::vector<const char*> lookupIndexes;  // plain indexes for the store's lookups
};

const std::vector<TableSpec>& LibraryTables() {
    static const std::vector<TableSpec> tables = {
        {"Artists",
         {{"ID", dbLong, 4, nullptr, dbAutoIncrField},
          {"Name", dbText, 100, nullptr, 0},
          {"UserRating", dbInteger, 2, "0", 0},
          {"AutoRating", dbDouble, 8, "0.0", 0}},
         "ID",
         kPrimaryKeyIndex,
         {"Name"}},
        {"Albums",
         {{"ID", dbLong, 4, nullptr, dbAutoIncrField},
          {"ArtistID", dbLong, 4, nullptr, 0},
          {"Name", dbText, 100, nullptr, 0},
          {"UserRating", dbInteger, 2, "0", 0},
          {"AutoRating", dbDouble, 8, "0.0", 0},
          {"FilePath", dbText, 255, nullptr, dbExactTextField}},
         "ID",
         kPrimaryKeyIndex,
         {"ArtistID", "Name", "FilePath"}},
        {"Collections",
         {{"ID", dbLong, 4, nullptr, dbAutoIncrField},
          {"Name", dbText, 100, nullptr, 0},
          {"UserRating", dbInteger, 2, "0", 0},
          {"AutoRating", dbDouble, 8, "0.0", 0}},
         "ID",
         kPrimaryKeyIndex,
         {"Name"}},
        {"ColJunction",
         {{"ColID", dbLong, 4, nullptr, 0}, {"SongID", dbLong, 4, nullptr, 0}},
         "ColID",
         kPlainIndex,
         {"SongID"}},
        {"Songs",
         {{"ID", dbLong, 4, nullptr, dbAutoIncrField},
          {"ArtistID", dbLong, 4, nullptr, 0},
          {"AlbumID", dbLong, 4, nullptr, 0},
          {"Name", dbText, 255, nullptr, 0},
          {"Length", dbText, 10, nullptr, 0},
          {"Year", dbText, 10, nullptr, 0},
          {"Track", dbText, 10, nullptr, 0},
          {"Genre", dbText, 40, nullptr, 0},
          {"UserRating", dbInteger, 2, "0", 0},
          {"PlayCount", dbLong, 4, nullptr, 0},
          {"BestOf", dbBoolean, 1, "FALSE", 0},
          {"Unsorted", dbBoolean, 1, "FALSE", 0},
          {"FileType", dbInteger, 2, nullptr, 0},
          {"FilePath", dbText, 255, nullptr, dbExactTextField}},
         "ID",
         kPrimaryKeyIndex,
         {"ArtistID", "AlbumID", "FilePath"}},
        {"Genres",
         {{"ID", dbLong, 4, nullptr, dbAutoIncrField},
          {"Name", dbText, 255, nullptr, 0},
          {"UserRating", dbInteger, 2, "0", 0}},
         "ID",
         kPrimaryKeyIndex,
         {"Name"}},
        {"Ratings",
         {{"Rating", dbInteger, 2, nullptr, 0},
          {"Description", dbText, 100, nullptr, 0},
          {"BGColorR", dbByte, 1, "255", 0},
          {"BGColorG", dbByte, 1, "255", 0},
          {"BGColorB", dbByte, 1, "255", 0}},
         "Rating",
         kPrimaryKeyIndex,
         {}},
    };
    return tables;
}

struct RatingSeed {
    std::int16_t rating;
    std::string_view description;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

constexpr std::array<RatingSeed, 8> kRatingSeeds = {{
    {7, "Favorite", 255, 192, 255},
    {6, "Great", 192, 192, 255},
    {5, "Good", 192, 255, 192},
    {4, "Fair", 255, 192, 192},
    {3, "Neutral", 224, 224, 224},
    {2, "Dislike", 160, 160, 160},
    {1, "Hate", 128, 128, 128},
    {0, "Not Rated", 0, 0, 0},
}};

void AddSchemaField(CDbTable& table, const FieldSpec& field) {
    // The key field is added unconditionally; every other one only where it is missing.
    const bool onlyIfMissing = (field.attributes & dbAutoIncrField) == 0;
    switch (field.type) {
        case dbBoolean:
            table.AddBoolField(field.name, field.defaultValue, field.attributes, onlyIfMissing);
            break;
        case dbByte:
            table.AddByteField(field.name, field.defaultValue, field.attributes, onlyIfMissing);
            break;
        case dbInteger:
            table.AddIntegerField(field.name, field.defaultValue, field.attributes, onlyIfMissing);
            break;
        case dbLong:
            table.AddLongField(field.name, field.defaultValue, field.attributes, onlyIfMissing);
            break;
        case dbDouble:
            table.AddDoubleField(field.name, field.defaultValue, field.attributes, onlyIfMissing);
            break;
        default:
            table.AddTextField(field.name, field.size, field.defaultValue, field.attributes, onlyIfMissing);
    }
}

void SeedRatings(CDbTable& ratings) {
    CDbQuery query(ratings);
    CRecordset* rows = query.GetRecordset();
    for (const RatingSeed& seed : kRatingSeeds) {
        rows->AddNew();
        rows->SetFieldValue("Rating", CVariant(seed.rating));
        rows->SetFieldValue("Description", CVariant(std::string(seed.description)));
        rows->SetFieldValue("BGColorR", CVariant(seed.red));
        rows->SetFieldValue("BGColorG", CVariant(seed.green));
        rows->SetFieldValue("BGColorB", CVariant(seed.blue));
        rows->Update();
    }
}

constexpr const char* kOpenFailed = USER_TEXT_NOOP(
    "CUserText",
    "Fatal Error: Couldn't open database at '%s'.\nIf the database is in a folder with no write permission (eg. a "
    "read-only network folder), make sure the exclusive flag is set in the .ini.");
constexpr const char* kCreateFailed =
    USER_TEXT_NOOP("CUserText", "Fatal Error: Couldn't create a new database at '%s'.  Check your .ini settings");
constexpr const char* kVersionFailed =
    USER_TEXT_NOOP("CUserText", "Fatal Error: Database was not updated to most recent version!");
// The new library's name while it is being made.
constexpr const char* kMakingSuffix = ".cadenzo-new";

}  // namespace

CLibraryDb::CLibraryDb(const std::string& path, bool exclusive, bool readOnly, const CLibrarySettings& settings,
                       CMessageBox& messages)
    : CDbHelper(path, exclusive, readOnly), m_settings(settings), m_messages(messages) {
    OpenOrCreate();
}

bool CLibraryDb::OpenOrCreate() {
    if (IsOpen() && IsForeignDatabase()) {
        Close();  // never changed: the upgrade would add our tables to it
        m_messages.Show(fmt::sprintf(CUserText::tr(kOpenFailed), GetPath()));
        return false;
    }
    if (IsOpen()) {
        if (!IsOpenReadOnly()) {
            SetJournalMode("delete");  // one file again after a crash during an import
        }
        return CheckVersion();
    }
    const std::string path = m_settings.GetDatabasePath();
    if (FileExists(path)) {
        m_messages.Show(fmt::sprintf(CUserText::tr(kOpenFailed), path));
        return false;
    }
    if (!CreateNewFile(path)) {
        m_messages.Show(fmt::sprintf(CUserText::tr(kCreateFailed), path));
        return false;
    }
    return CheckVersion();
}

bool CLibraryDb::IsForeignDatabase() {
    const std::vector<std::string> tables = TableNames();
    const bool empty = tables.empty() || (tables.size() == 1 && tables.front() == "sqlite_sequence");
    return !empty && ApplicationId() != ApplicationIdOfLibraries && !TableExists("Version");
}

bool CLibraryDb::HasEveryField() {
    for (const TableSpec& spec : LibraryTables()) {
        if (!TableExists(spec.name)) {
            continue;
        }
        const CTableSchema& table = Schema(spec.name);
        for (const FieldSpec& field : spec.fields) {
            if (table.Find(field.name) == nullptr) {
                return false;
            }
        }
    }
    return true;
}

// The new library is made whole under another name in the same folder and then renamed into
// place, so a crash leaves either no library or a whole one. A half-made file of ours that a
// crash left under that name is removed first.
bool CLibraryDb::CreateNewFile(const std::string& path) {
    const std::string making = path + kMakingSuffix;
    unlink(making.c_str());
    unlink((making + "-journal").c_str());
    try {
        Create(making);
        SetApplicationId(ApplicationIdOfLibraries);
        EnsureVersionTable();
        CTransaction transaction(*this);
        CreateSchema();
        transaction.Commit();
        Close();
        CCloseRecord(making).Remove();  // the file leaves that name: its record would be litter
        if (!RenameWithoutReplacing(making, path)) {
            throw CEngineError(
                fmt::format(fmt::runtime(CUserText::tr("Could not put the new library in place at '{}'.")), path));
        }
        Open(path, false, false);
        SetPath(path);
        return true;
    } catch (const CEngineError&) {
        Close();
        unlink(making.c_str());
        unlink((making + "-journal").c_str());
        return false;
    }
}

int CLibraryDb::ReadVersion() {
    try {
        return GetVersion();
    } catch (const CEngineError&) {
        return -1;  // a Version table without its field, say: not a version we know
    }
}

bool CLibraryDb::CheckVersion() {
    if (ReadVersion() == SchemaVersion) {
        if (HasEveryField()) {
            AddSongKeys();
            return true;
        }
        m_messages.Show(CUserText::tr(kVersionFailed));  // a field dropped by another tool: every view would fail
        return false;
    }
    try {
        CTransaction transaction(*this);
        CreateSchema();
        transaction.Commit();
    } catch (const CEngineError&) {
        // All or nothing: the transaction has undone what the failed upgrade had written.
    }
    if (ReadVersion() == SchemaVersion) {
        AddSongKeys();
        return true;
    }
    m_messages.Show(CUserText::tr(kVersionFailed));
    return false;
}

void CLibraryDb::AddSongKeys() {
    m_songKeys = false;
    if (IsOpenReadOnly()) {
        return;
    }
    try {
        // A table of the program's own beside the library's: other programs that open the file
        // see the tables they know as they were, and the schema version stays.
        Execute("CREATE TABLE IF NOT EXISTS SongKeys (SongID INTEGER PRIMARY KEY, AudioKey TEXT NOT NULL)",
                dbFailOnError);
        Execute("CREATE INDEX IF NOT EXISTS SongKeys_AudioKey ON SongKeys (AudioKey)", dbFailOnError);
        m_songKeys = true;
    } catch (const CEngineError&) {
        // Without the table moved songs are not recognised; everything else works.
    }
}

void CLibraryDb::CreateSchema() {
    if (GetVersion() >= SchemaVersion) {
        return;
    }
    for (const TableSpec& spec : LibraryTables()) {
        if (TableExists(spec.name)) {
            continue;
        }
        std::unique_ptr<CDbTable> table = CreateTable(spec.name, 0);
        for (const FieldSpec& field : spec.fields) {
            AddSchemaField(*table, field);
        }
        table->CreateIndex(spec.keyField, spec.keyKind);
        for (const char* field : spec.lookupIndexes) {
            table->CreateIndex(field, kPlainIndex);
        }
        // A table that cannot be created fails the upgrade: the version must never claim it.
        AppendTableDef(*table);
        if (std::string_view(spec.name) == "Ratings") {
            SeedRatings(*table);
        }
    }
    SetVersion(SchemaVersion);
}
