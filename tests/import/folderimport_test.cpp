#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "db/dbtable.h"
#include "engine/engineerror.h"
#include "hostilefiles.h"
#include "import/importquestions.h"
#include "import/importreport.h"
#include "import/songfile.h"
#include "import/tagprotocol.h"
#include "import/tagworkers.h"
#include "platform/filedescriptor.h"
#include "support/asuser.h"
#include "support/killingvfs.h"
#include "support/libraryfixture.h"
#include "support/songtree.h"

namespace {

// Answers the import's questions from a script and records what was asked.
class CScriptedQuestions : public CImportQuestions {
public:
    struct Asked {
        std::string kind;
        std::string folder;
        std::string message;
        int initialOption;
        std::string defaultName;  // the group name, or "artist|album|collection" for the untagged question
    };

    bool AskUntagged(const std::string& folderPath, const std::vector<CSongFile>& /*songs*/, const std::string& message,
                     UntaggedAnswer& answer) override {
        asked.push_back({"untagged", folderPath, message, answer.option,
                         answer.artistName + "|" + answer.albumName + "|" + answer.collectionName});
        if (untaggedAnswers.empty()) {
            return false;
        }
        answer = untaggedAnswers.front();
        untaggedAnswers.erase(untaggedAnswers.begin());
        return true;
    }

    bool AskUnknown(const std::string& /*firstArtist*/, const std::string& folderPath,
                    const std::vector<CSongFile>& /*songs*/, const std::string& message,
                    UnknownAnswer& answer) override {
        asked.push_back({"unknown", folderPath, message, answer.option, answer.name});
        if (whileAsking) {
            whileAsking();
        }
        if (unknownAnswers.empty()) {
            return false;
        }
        answer = unknownAnswers.front();
        unknownAnswers.erase(unknownAnswers.begin());
        return true;
    }

    void ShowProgress(const std::string& text) override { progress.push_back(text); }
    void FolderTotal(std::size_t folders) override { folderTotal = static_cast<int>(folders); }
    void FolderDone(std::size_t /*songs*/) override { ++foldersDone; }
    bool StopRequested() const override { return stopAfter >= 0 && foldersDone >= stopAfter; }
    void Finished(const ImportReport& report) override { summary = ImportSummary(report); }
    ReimportChoice AskReimport(std::size_t known, std::size_t total) override {
        reimportAsked.emplace_back(known, total);
        return reimportChoice;
    }

    std::function<void()> whileAsking;
    int folderTotal = -1;
    int foldersDone = 0;
    int stopAfter = -1;
    std::vector<Asked> asked;
    std::vector<UntaggedAnswer> untaggedAnswers;
    std::vector<UnknownAnswer> unknownAnswers;
    std::vector<std::string> progress;
    std::string summary;
    ReimportChoice reimportChoice = ReimportChoice::AllFolders;
    std::vector<std::pair<std::size_t, std::size_t>> reimportAsked;  // known, total
};

class FolderImportTest : public LibraryFixture {
protected:
    void Import(const std::string& root) {
        PathStack paths{root};
        EXPECT_EQ(m_db->ImportFolder(paths, m_questions, m_workers), 1);
        EXPECT_EQ(paths, PathStack{root}) << "the walk leaves the path stack as it found it";
    }

    void AddAlbum(const std::string& folder, int count, const std::string& album = "Album",
                  const std::vector<std::string>& artists = {"Artist"}) {
        for (int i = 0; i < count; ++i) {
            m_tree.AddSong(folder + "/" + std::to_string(i) + (i % 2 == 0 ? ".mp3" : ".ogg"),
                           CSongTree::Tags("Song " + std::to_string(i),
                                           artists[static_cast<std::size_t>(i) % artists.size()], album));
        }
    }

    long Count(const std::string& sql) { return CDbQuery(*m_db, sql).GetCount(); }

    CTagWorkers m_workers;
    CSongTree m_tree{m_workers};
    CScriptedQuestions m_questions;
};

TEST_F(FolderImportTest, FoldersAreWalkedInPreOrder) {
    AddAlbum("a", 2);
    AddAlbum("a/b", 1);
    m_tree.AddFolder("c");
    m_tree.AddFile("c/readme.txt", "not a song");
    m_questions.unknownAnswers = {{3, "", false}, {3, "", false}};
    const std::string cwd = std::filesystem::current_path().string();
    Import(m_tree.Root());
    ASSERT_EQ(m_questions.asked.size(), 2u);
    EXPECT_EQ(m_questions.asked[0].folder, m_tree.Path("a"));
    EXPECT_EQ(m_questions.asked[1].folder, m_tree.Path("a/b"));
    EXPECT_EQ(m_questions.asked[0].message, "Cadenzo found only a few songs in this directory");
    EXPECT_EQ(m_questions.asked[0].initialOption, 3);
    EXPECT_EQ(m_questions.asked[0].defaultName, "a");
    EXPECT_EQ(Count("SELECT * FROM Songs WHERE Unsorted = TRUE"), 3);
    EXPECT_EQ(m_questions.folderTotal, 2) << "counted before the walk: the folders with songs";
    EXPECT_NE(std::find(m_questions.progress.begin(), m_questions.progress.end(), "Importing " + m_tree.Path("c")),
              m_questions.progress.end())
        << "a folder without songs is still walked";
    EXPECT_EQ(std::filesystem::current_path().string(), cwd) << "the working directory stays";
}

TEST_F(FolderImportTest, EverythingBeforeAQuestionIsCommittedWhileItWaits) {
    AddAlbum("a", 4);
    AddAlbum("a/b", 1);
    long seen = -1;
    m_questions.whileAsking = [&] {
        CLibraryDb other("Cadenzo.mdb", false, true, m_settings, m_messages);
        seen = CDbQuery(other, "SELECT * FROM Songs").GetCount();
    };
    m_questions.unknownAnswers = {{kUnknownUnsortedFiles, "", false}};
    Import(m_tree.Root());
    EXPECT_EQ(seen, 4) << "another program sees the folder stored before the question";
    EXPECT_EQ(Count("SELECT * FROM Songs"), 5);
    EXPECT_EQ(CDbQuery(*m_db, "PRAGMA synchronous").GetRecordset()->GetFieldValue("synchronous").AsLong(), 2)
        << "after the import each commit waits for the disk again";
}

TEST_F(FolderImportTest, AStoppedWalkKeepsTheFoldersStoredAndTheWorkersReady) {
    for (const char* folder : {"a", "b", "c"}) {
        AddAlbum(folder, 4, folder);
    }
    m_questions.stopAfter = 1;
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 4) << "the folder stored stays, nothing after it is begun";
    m_questions.stopAfter = -1;
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 12) << "the read started for the next folder was not left behind";
}

TEST_F(FolderImportTest, OneArtistsAlbumNeedsNoQuestion) {
    AddAlbum("Artist/Album", 4);
    Import(m_tree.Root());
    EXPECT_TRUE(m_questions.asked.empty());
    EXPECT_EQ(Count("SELECT * FROM Albums"), 1);
    const std::int32_t artist = m_db->FindArtistId("Artist");
    const std::int32_t album = m_db->FindAlbumId("Album", artist);
    ASSERT_NE(album, 0);
    EXPECT_EQ(CDbTable(m_db.get(), "Albums").LookupText("FilePath", "ID", album), m_tree.Path("Artist/Album"));
    EXPECT_EQ(Count("SELECT * FROM Songs WHERE Unsorted = FALSE AND AlbumID = " + std::to_string(album)), 4);
    const SongRecord song = m_db->ReadSong(m_db->FindSongIdByPath(m_tree.Path("Artist/Album/0.mp3")));
    EXPECT_EQ(song.name, "Song 0");
    EXPECT_EQ(song.year, "2001");
    EXPECT_EQ(song.genre, "Rock");
    EXPECT_EQ(song.length, "0:02");
    EXPECT_EQ(song.fileType, 1);
    EXPECT_EQ(Count("SELECT * FROM Genres"), 1);

    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 4) << "a second import adds nothing";
    EXPECT_EQ(Count("SELECT * FROM Albums"), 1);
}

TEST_F(FolderImportTest, SongsWithoutAlbumTagsGetNoAlbum) {
    AddAlbum("Artist/Loose", 4, "");
    Import(m_tree.Root());
    EXPECT_TRUE(m_questions.asked.empty());
    EXPECT_EQ(Count("SELECT * FROM Albums"), 0);
    EXPECT_EQ(Count("SELECT * FROM Songs WHERE AlbumID = 0 AND Unsorted = FALSE"), 4);
}

TEST_F(FolderImportTest, OneAlbumOfSeveralArtistsBelongsToVariousArtists) {
    AddAlbum("Hits", 4, "Hits", {"A", "B"});
    AddAlbum("More", 4, "More Hits", {"C", "D"});
    Import(m_tree.Root());
    const std::int32_t various = m_db->FindArtistId("Various Artists");
    ASSERT_NE(various, 0);
    EXPECT_EQ(Count("SELECT * FROM Artists WHERE Name = 'Various Artists'"), 1) << "made once, then reused";
    EXPECT_NE(m_db->FindAlbumId("Hits", various), 0);
    EXPECT_NE(m_db->FindAlbumId("More Hits", various), 0);
    EXPECT_EQ(m_db->ReadSong(m_db->FindSongIdByPath(m_tree.Path("Hits/1.ogg"))).artistId, m_db->FindArtistId("B"));
}

TEST_F(FolderImportTest, TheRatingsOfWhatAnImportTouchedAreComputedAtItsEnd) {
    AddAlbum("Hits", 4, "Hits", {"A", "B"});
    AddAlbum("Solo", 3, "Alone", {"S"});
    m_tree.AddSong("Mix/1.mp3", CSongTree::Tags("One", "A", "X"));
    m_tree.AddSong("Mix/2.mp3", CSongTree::Tags("Two", "B", "Y"));
    m_tree.AddSong("Mix/3.ogg", CSongTree::Tags("Three", "A", "X"));
    m_tree.AddSong("Mix/4.ogg", CSongTree::Tags("Four", "C", "Z"));
    Import(m_tree.Root());
    const auto ratings = [this] {
        std::map<std::string, double> all;
        for (const char* table : {"Artists", "Albums", "Collections"}) {
            CDbQuery query(*m_db, std::string("SELECT ID, AutoRating FROM ") + table);
            for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
                all[table + row->GetFieldValue("ID").AsText()] = row->GetFieldValue("AutoRating").AsDouble();
            }
        }
        return all;
    };
    const std::map<std::string, double> imported = ratings();
    EXPECT_GT(imported.at("Collections" + std::to_string(m_db->FindCollectionId("Mix"))), 0.0)
        << "unrated songs count as a middle rating";
    m_db->RecalcRatings();
    EXPECT_EQ(imported, ratings()) << "as Recalc Ratings gives them";
}

// An ID3v2.3 tag with the frames (ID and body) given, before the audio of the MP3 fixture.
std::string Mp3WithFrames(const std::vector<std::pair<std::string, std::string>>& frames) {
    std::string body;
    for (const auto& [id, content] : frames) {
        const auto size = static_cast<std::uint32_t>(content.size());
        body += id +
                std::string{static_cast<char>(size >> 24),
                            static_cast<char>(size >> 16),
                            static_cast<char>(size >> 8),
                            static_cast<char>(size),
                            '\0',
                            '\0'} +
                content;
    }
    const auto size = static_cast<std::uint32_t>(body.size());
    const std::string header = std::string("ID3\x03\0\0", 6) + static_cast<char>((size >> 21) & 0x7F) +
                               static_cast<char>((size >> 14) & 0x7F) + static_cast<char>((size >> 7) & 0x7F) +
                               static_cast<char>(size & 0x7F);
    return header + body + ReadFile(FixturePath(kMp3File));
}

TEST_F(FolderImportTest, ANewSongTakesTheRatingAndPlaysOtherPlayersWrote) {
    using namespace std::string_literals;
    m_tree.AddFile("Rated/1.mp3", Mp3WithFrames({{"TIT2", "\0One"s},
                                                 {"TPE1", "\0Band"s},
                                                 {"TALB", "\0Best"s},
                                                 {"POPM", "me@x\0\xC4\0\0\0\x0C"s},
                                                 {"TXXX",
                                                  "\0FMPS_Playcount\0"
                                                  "30"s}}));
    for (const char* plain : {"2", "3", "4"}) {  // enough songs for no question
        m_tree.AddFile("Rated/"s + plain + ".mp3",
                       Mp3WithFrames({{"TIT2", "\0"s + plain}, {"TPE1", "\0Band"s}, {"TALB", "\0Best"s}}));
    }
    Import(m_tree.Root());
    const SongRecord rated = m_db->ReadSong(m_db->FindSongIdByPath(m_tree.Path("Rated/1.mp3")));
    ASSERT_NE(rated.id, 0);
    EXPECT_EQ(rated.userRating, 6) << "POPM 196 of 255: between the sixth and seventh step";
    EXPECT_EQ(CDbTable(m_db.get(), "Songs").LookupLong("PlayCount", "ID", rated.id), 30) << "the largest count";
    EXPECT_EQ(m_db->ReadSong(m_db->FindSongIdByPath(m_tree.Path("Rated/2.mp3"))).userRating, 0);
}

TEST_F(FolderImportTest, AMovedAndRetaggedSongKeepsItsRowAndACopyGetsOneOfItsOwn) {
    // Songs of different audio: one byte of each one's first frame differs.
    const auto add = [this](const std::string& relative, int audio, const char* title) {
        std::string bytes = ReadFile(FixturePath(kMp3File));
        bytes[200] = static_cast<char>(bytes[200] ^ audio);
        m_tree.AddFile(relative, bytes);
        ASSERT_TRUE(m_workers.Write(m_tree.Path(relative), kMp3File, CSongTree::Tags(title, "Band", "Best")));
    };
    for (int song = 1; song <= 4; ++song) {
        add("Old/" + std::to_string(song) + ".mp3", song, "Song");
    }
    Import(m_tree.Root());
    const std::int32_t moved = m_db->FindSongIdByPath(m_tree.Path("Old/1.mp3"));
    ASSERT_NE(moved, 0);
    CDbTable(m_db.get(), "Songs").UpdateShort("UserRating", "ID", moved, 7);

    std::filesystem::create_directory(m_tree.Path("New"));
    std::filesystem::rename(m_tree.Path("Old/1.mp3"), m_tree.Path("New/Moved.mp3"));
    ASSERT_TRUE(m_workers.Write(m_tree.Path("New/Moved.mp3"), kMp3File, CSongTree::Tags("Renamed", "Band", "Best")));
    std::filesystem::copy_file(m_tree.Path("Old/2.mp3"), m_tree.Path("New/Copy.mp3"));
    add("New/3.mp3", 30, "Fresh");
    add("New/4.mp3", 40, "Fresh");
    Import(m_tree.Root());
    EXPECT_EQ(m_db->FindSongIdByPath(m_tree.Path("New/Moved.mp3")), moved) << "the row followed its file";
    EXPECT_EQ(m_db->ReadSong(moved).userRating, 7);
    EXPECT_NE(m_db->FindSongIdByPath(m_tree.Path("New/Copy.mp3")), m_db->FindSongIdByPath(m_tree.Path("Old/2.mp3")))
        << "a copy, the original still there: a song of its own";
    EXPECT_EQ(Count("SELECT * FROM Songs"), 7);
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(m_questions.summary,
              "Import finished: 3 songs added, 1 folder not added. 1 songs were found at a new place and kept their "
              "ratings.")
        << "the old folder, its one song known, asked about again and closed";

    const std::int32_t fresh = m_db->FindSongIdByPath(m_tree.Path("New/3.mp3"));
    std::filesystem::create_directory(m_tree.Path("Later"));
    std::filesystem::rename(m_tree.Path("New/3.mp3"), m_tree.Path("Later/3.mp3"));
    m_questions.unknownAnswers = {{3, "", false}};
    Import(m_tree.Path("Later"));  // a folder the library has no songs in
    EXPECT_EQ(m_db->FindSongIdByPath(m_tree.Path("Later/3.mp3")), fresh);
}

TEST_F(FolderImportTest, AReimportSkipsTheFoldersWhoseSongsAreAllKnownOnlyWhenTheUserSaysSo) {
    AddAlbum("Known", 4);
    m_tree.AddSong("Loose/1.mp3", SongTags{}, false);
    AddAlbum("Grown", 4, "Grown");
    m_questions.untaggedAnswers = {{kUntaggedUnsortedFiles, "", "", "", false}};
    Import(m_tree.Root());
    EXPECT_TRUE(m_questions.reimportAsked.empty()) << "nothing known: nothing asked";

    m_tree.AddSong("Grown/9.mp3", CSongTree::Tags("Song 9", "Artist", "Grown"));
    AddAlbum("New", 4, "New");
    m_questions = {};
    m_questions.reimportChoice = ReimportChoice::Cancel;
    Import(m_tree.Root());
    EXPECT_TRUE(m_questions.progress.empty()) << "cancelled: nothing read";
    EXPECT_EQ(Count("SELECT * FROM Songs"), 9);

    m_questions = {};
    m_questions.reimportChoice = ReimportChoice::OnlyNewFolders;
    Import(m_tree.Root());
    EXPECT_EQ(m_questions.reimportAsked, (std::vector<std::pair<std::size_t, std::size_t>>{{9, 14}}));
    EXPECT_TRUE(m_questions.asked.empty()) << "the untagged folder, all known, is not asked about again";
    EXPECT_EQ(m_questions.progress,
              (std::vector<std::string>{"Importing " + m_tree.Root(), "Importing " + m_tree.Path("Grown"),
                                        "Importing " + m_tree.Path("New")}))
        << "only the folders with new song files are read";
    EXPECT_EQ(Count("SELECT * FROM Songs"), 14);
    EXPECT_EQ(m_questions.summary, "Import finished: 5 songs added, 2 folders skipped as already in the library.");
    EXPECT_EQ(m_questions.foldersDone, 4) << "skipped folders move the progress bar too";

    m_questions = {};
    Import(m_tree.Root());
    EXPECT_EQ(m_questions.asked.size(), 1u) << "all folders: the untagged one is asked about as before";
}

TEST_F(FolderImportTest, AKeyAnOlderVersionStoredIsReplacedWhenTheFileIsReadAgain) {
    AddAlbum("Old", 4);
    Import(m_tree.Root());
    const std::int32_t song = m_db->FindSongIdByPath(m_tree.Path("Old/0.mp3"));
    m_db->Execute("UPDATE SongKeys SET AudioKey = 'hashed the old way' WHERE SongID = " + std::to_string(song));
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM SongKeys WHERE AudioKey = 'hashed the old way'"), 0);
}

TEST(PlayerRatingsTest, EveryScaleMapsOntoSevenSteps) {
    EXPECT_EQ(RatingFromPopularimeter(0), 0);
    EXPECT_EQ(RatingFromPopularimeter(1), 1);
    EXPECT_EQ(RatingFromPopularimeter(64), 2);
    EXPECT_EQ(RatingFromPopularimeter(128), 4);
    EXPECT_EQ(RatingFromPopularimeter(255), 7);
    EXPECT_EQ(RatingFromText("0.5", true), 4);
    EXPECT_EQ(RatingFromText("1", true), 7);
    EXPECT_EQ(RatingFromText("3", false), 5) << "three stars of five";
    EXPECT_EQ(RatingFromText("80", false), 6) << "a percentage";
    EXPECT_EQ(RatingFromText("-1", false), 0);
    EXPECT_EQ(RatingFromText("great", false), 0);
    EXPECT_EQ(RatingFromText("1e9", false), 7);
}

TEST_F(FolderImportTest, MixedAlbumsAndArtistsBecomeACollection) {
    m_tree.AddSong("Mix/1.mp3", CSongTree::Tags("One", "A", "X"));
    m_tree.AddSong("Mix/2.mp3", CSongTree::Tags("Two", "B", "Y"));
    m_tree.AddSong("Mix/3.ogg", CSongTree::Tags("Three", "A", "X"));
    m_tree.AddSong("Mix/4.ogg", CSongTree::Tags("Four", "C", "Z"));
    Import(m_tree.Root());
    Import(m_tree.Root());
    const std::int32_t collection = m_db->FindCollectionId("Mix");
    ASSERT_NE(collection, 0);
    IdList songs;
    m_db->GetSongIdsOfCollection(songs, collection);
    EXPECT_EQ(songs.size(), 4u) << "no second link on a second import";
    EXPECT_EQ(Count("SELECT * FROM Collections"), 1);
    EXPECT_EQ(Count("SELECT * FROM Songs WHERE Unsorted = TRUE"), 4);
    EXPECT_EQ(Count("SELECT * FROM Albums"), 3);
}

TEST_F(FolderImportTest, SeveralAlbumsOfOneArtistAsk) {
    AddAlbum("Artist/Various", 2, "First");
    m_tree.AddSong("Artist/Various/7.mp3", CSongTree::Tags("Seven", "Artist", "Second"));
    m_tree.AddSong("Artist/Various/8.mp3", CSongTree::Tags("Eight", "Artist", "Second"));
    m_questions.unknownAnswers = {{1, "X", false}};
    Import(m_tree.Root());
    ASSERT_EQ(m_questions.asked.size(), 1u);
    EXPECT_EQ(m_questions.asked[0].message, "Cadenzo found multiple albums from a single artist in a single directory");
    EXPECT_EQ(m_questions.asked[0].initialOption, 1);
    EXPECT_EQ(Count("SELECT * FROM Albums"), 1);
    EXPECT_EQ(Count("SELECT * FROM Songs WHERE AlbumID = " +
                    std::to_string(m_db->FindAlbumId("X", m_db->FindArtistId("Artist")))),
              4);
}

TEST_F(FolderImportTest, UntaggedSongsTakeTheAnswersNamesAndTheirTagsAreWritten) {
    AddAlbum("Folk/Songs", 3);
    const std::string untagged = m_tree.AddSong("Folk/Songs/untagged.mp3", {}, false);
    m_tree.AddFile("Folk/Songs/broken.mp3", "no audio here");
    AddAlbum("Folk/Songs/Later", 4);  // read ahead while the tags above are written
    m_questions.untaggedAnswers = {{0, "Singer", "Songbook", "unused", true}};
    Import(m_tree.Root());
    ASSERT_EQ(m_questions.asked.size(), 1u);
    EXPECT_EQ(m_messages.shown, std::vector<std::string>{"Error: Couldn't write the tags into 1 of the songs in '" +
                                                         m_tree.Path("Folk/Songs") + "' (the first: 'broken.mp3')."});
    EXPECT_EQ(ReadFile(m_tree.Path("Folk/Songs/broken.mp3")), "no audio here");
    EXPECT_EQ(Count("SELECT * FROM Songs"), 9);
    EXPECT_EQ(m_questions.asked[0].message, "Cadenzo found untagged songs");
    EXPECT_EQ(m_questions.asked[0].initialOption, 1);
    EXPECT_EQ(m_questions.asked[0].defaultName, "Folk|Songs|Songs");
    const SongRecord song = m_db->ReadSong(m_db->FindSongIdByPath(untagged));
    EXPECT_EQ(song.name, "untagged.mp3");
    EXPECT_EQ(song.artistId, m_db->FindArtistId("Singer"));
    EXPECT_EQ(song.albumId, m_db->FindAlbumId("Songbook", song.artistId));
    CSongFile file;
    file.LoadFromPath(untagged, m_workers);
    EXPECT_EQ(file.GetTitle(), "untagged.mp3");
    EXPECT_EQ(file.GetArtist(), "Singer");
    EXPECT_EQ(file.GetAlbum(), "Songbook");
}

TEST_F(FolderImportTest, AQuestionClosedWithoutOkStoresNothing) {
    AddAlbum("Few", 2);
    AddAlbum("Few/Below", 4);
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 4) << "the subfolder is walked all the same";
}

TEST_F(FolderImportTest, OddFilesAndFoldersAreHandled) {
    AddAlbum("Odd/Album", 4, "Album d'été");
    m_tree.AddFile("Odd/Album/cover.jpg", "jpeg");
    ASSERT_EQ(mkfifo(m_tree.Path("Odd/Album/pipe.mp3").c_str(), 0644), 0);
    const std::string latin1 = m_tree.Path("Odd/Album/caf\xE9.mp3");
    std::filesystem::copy_file(m_tree.Path("Odd/Album/0.mp3"), latin1);
    ASSERT_EQ(symlink(m_tree.Root().c_str(), m_tree.Path("Odd/Album/loop").c_str()), 0);
    ASSERT_EQ(symlink(m_tree.Path("Odd/Album").c_str(), m_tree.Path("Odd/again").c_str()), 0);
    const std::string hostile = m_tree.Path("Odd/Hostile/hostile.ogg");
    std::filesystem::create_directories(m_tree.Path("Odd/Hostile"));
    MakeWrappingCommentOgg(hostile, FixturePath(2), m_workers);
    m_questions.untaggedAnswers = {{kUntaggedUnsortedFiles, "", "", "", false}};
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 6) << "the FIFO is no song; the folder is imported once";
    EXPECT_NE(m_db->FindSongIdByPath(m_tree.Path("Odd/again/caf\xE9.mp3")), 0)
        << "the folder is imported by the path the walk reaches it first by: \"again\" lists before \"Album\"";
    EXPECT_NE(m_db->FindAlbumId("Album d'été", m_db->FindArtistId("Artist")), 0);
    EXPECT_EQ(m_messages.shown,
              std::vector<std::string>{"Error: The tags of 1 songs could not be read: reading them took too much "
                                       "processor time or memory, or the tag reader failed. They count as untagged "
                                       "songs: '" +
                                       hostile + "'.\n\nSongs whose tags could not be read:\n" + hostile + "\n"})
        << "all of them in the details";
}

TEST_F(FolderImportTest, LeftoversOfKilledTagWritesAreNoSongsAndGo) {
    AddAlbum("Kept/Album", 4);
    const std::string song = m_tree.Path("Kept/Album/0.mp3");
    for (const char* leftover : {".0.mp3.cadenzo-Ab12Cd", ".0.mp3.cadenzo-Xy34Zw.mp3"}) {
        const std::string path = m_tree.Path(std::string("Kept/Album/") + leftover);
        std::filesystem::copy_file(song, path);
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::minutes(2));
    }
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 4);
    // A copy that a live write (here: this test) holds locked is no leftover.
    const std::string busy = m_tree.Path("Kept/Album/.1.ogg.cadenzo-Busy01");
    std::filesystem::copy_file(song, busy);
    std::filesystem::last_write_time(busy, std::filesystem::last_write_time(busy) - std::chrono::minutes(2));
    const CFileDescriptor lock(open(busy.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(flock(lock.Get(), LOCK_EX), 0);
    CTagWorkers restarted;  // a write is killed with its worker, which starts again
    CSongFile file;
    file.LoadFromPath(song, restarted);
    ASSERT_TRUE(file.WriteTags(restarted));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_tree.Path("Kept/Album")), {}), 5)
        << "a worker's first write in a folder clears what killed writes left, and only that";
    EXPECT_TRUE(std::filesystem::exists(busy));
}

TEST_F(FolderImportTest, PathsTooLongForTheSystemAreReportedOnce) {
    AddAlbum("Deep", 4);
    // Folders whose path comes to just under the system's limit, made relative to each other.
    const std::string part(200, 'd');
    int folder = open(m_tree.Path("Deep").c_str(), O_RDONLY | O_DIRECTORY);
    std::size_t length = m_tree.Path("Deep").size();
    while (length + part.size() + 1 < 4090) {
        ASSERT_EQ(mkdirat(folder, part.c_str(), 0755), 0);
        const int below = openat(folder, part.c_str(), O_RDONLY | O_DIRECTORY);
        close(folder);
        folder = below;
        length += part.size() + 1;
    }
    const std::string name = std::string(4100 - length, 'n') + ".mp3";  // the whole path is over 4,096 bytes
    const int file = openat(folder, name.c_str(), O_CREAT | O_WRONLY, 0644);
    close(file);
    close(folder);
    Import(m_tree.Root());
    EXPECT_EQ(Count("SELECT * FROM Songs"), 4);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_TRUE(m_messages.shown[0].starts_with(
        "Error: 1 song files or folders were not imported: their paths are longer than the system allows"))
        << m_messages.shown[0];
}

TEST_F(FolderImportTest, AFullDiskStopsTheImportWithOneReportAndWholeFoldersOnly) {
    for (int folder = 0; folder < 30; ++folder) {
        AddAlbum("Artist " + std::to_string(folder) + "/Album", 4, "Album " + std::to_string(folder),
                 {"Artist " + std::to_string(folder)});
    }
    m_db.reset();
    const std::string root = m_tree.Root();
    // The import writes its commits to a log beside the library: the log fills the "disk".
    const std::string outcome = RunWithFileSizeLimit(48 * 1024, [&] {
        CRecordingMessageBox messages;
        const CFixedSettings settings;
        CLibraryDb db("Cadenzo.mdb", false, false, settings, messages);
        CTagWorkers workers;
        CScriptedQuestions questions;
        PathStack paths{root};
        db.ImportFolder(paths, questions, workers);
        return std::to_string(messages.shown.size()) + "|" + (messages.shown.empty() ? "" : messages.shown.front()) +
               "|" + questions.summary;
    });
    EXPECT_TRUE(outcome.starts_with("1|Error: Couldn't import the songs in '" + root)) << outcome;
    EXPECT_NE(outcome.find("more folders were not stored"), std::string::npos) << outcome;
    EXPECT_NE(outcome.find("'.\nThe library could not be written: the disk is full.\n("), std::string::npos)
        << "what happened comes first, in plain words: " << outcome;
    m_db = std::make_unique<CLibraryDb>("Cadenzo.mdb", false, false, m_settings, m_messages);
    EXPECT_EQ(CDbQuery(*m_db, "PRAGMA integrity_check").GetRecordset()->GetFieldValue("integrity_check").AsText(),
              "ok");
    EXPECT_EQ(Count("SELECT * FROM Songs") % 4, 0) << "whole folders only";
    EXPECT_NE(outcome.find("|Import finished: " + std::to_string(Count("SELECT * FROM Songs")) + " songs added."),
              std::string::npos)
        << "the report counts only what was stored: " << outcome;
    EXPECT_LT(Count("SELECT * FROM Songs"), 120);
}

TEST_F(FolderImportTest, AKillDuringAnImportLeavesWholeFoldersInOneUndamagedFile) {
    for (int folder = 0; folder < 6; ++folder) {
        const std::string album = "Album " + std::to_string(folder);
        AddAlbum(album, 4, album);
        AddAlbum(album + "/Few", 1, "Few");  // asked about: a commit before each question
    }
    m_db.reset();
    std::filesystem::copy_file(Path(), Path() + ".new");
    const std::string root = m_tree.Root();
    const auto importKilledAt = [&root](int write) {
        return RunKilledAtWrite(write, [&root] {
            CRecordingMessageBox messages;
            const CFixedSettings settings;
            CLibraryDb db("Cadenzo.mdb", false, false, settings, messages);
            CTagWorkers workers;
            CScriptedQuestions questions;
            questions.unknownAnswers.assign(6, {kUnknownUnsortedFiles, "", false});
            PathStack paths{root};
            db.ImportFolder(paths, questions, workers);
            return std::to_string(WritesSoFar());
        });
    };
    const int writes = std::stoi(importKilledAt(0));
    std::ifstream header(Path(), std::ios::binary);
    char versions[20] = {};
    header.read(versions, sizeof versions);
    EXPECT_EQ(versions[18], 1) << "a whole import leaves the library with its rollback journal, as other tools expect";
    std::set<long> stored;
    for (int point = 1; point <= 30; ++point) {
        std::filesystem::copy_file(Path() + ".new", Path(), std::filesystem::copy_options::overwrite_existing);
        const int write = point * writes / 31 + 1;
        ASSERT_EQ(importKilledAt(write), "child failed") << write;
        m_db = std::make_unique<CLibraryDb>("Cadenzo.mdb", false, false, m_settings, m_messages);
        EXPECT_EQ(CDbQuery(*m_db, "PRAGMA integrity_check").GetRecordset()->GetFieldValue("integrity_check").AsText(),
                  "ok");
        for (int folder = 0; folder < 6; ++folder) {
            const long songs = Count(
                "SELECT * FROM Songs, Albums WHERE Songs.AlbumID = Albums.ID AND Albums.Name = "
                "'Album " +
                std::to_string(folder) + "'");
            EXPECT_TRUE(songs == 0 || songs == 4) << "folder " << folder << " after a kill at write " << write;
        }
        stored.insert(Count("SELECT * FROM Songs"));
        m_db.reset();
        EXPECT_FALSE(std::filesystem::exists(Path() + "-wal")) << "one file again, at write " << write;
    }
    EXPECT_GT(stored.size(), 3u) << "kills fell before, between and after commits";
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(FolderImportTest, AFolderThatCannotBeReadIsPassedOver) {
    AddAlbum("Open", 4, "Open Album");
    AddAlbum("Closed", 4, "Closed Album");
    chmod(m_tree.Path("Closed").c_str(), 0);
    m_db.reset();
    std::filesystem::remove(Path());
    const std::string root = m_tree.Root();
    const std::vector<std::string> worker = WorkerCommandIn(m_dir.Path());
    const std::string outcome = RunAsUnprivileged([root, worker] {
        CRecordingMessageBox messages;
        const CFixedSettings settings;
        CLibraryDb db("Cadenzo.mdb", false, false, settings, messages);
        CTagWorkers workers(worker);
        CScriptedQuestions questions;
        PathStack paths{root};
        db.ImportFolder(paths, questions, workers);
        return std::to_string(CDbQuery(db, "SELECT * FROM Songs").GetCount()) + " songs, " +
               std::to_string(messages.shown.size()) + " messages";
    });
    chmod(m_tree.Path("Closed").c_str(), 0755);
    EXPECT_EQ(outcome, "4 songs, 0 messages");
}

TEST_F(FolderImportTest, AnEngineErrorUndoesTheFolderAndIsReported) {
    AddAlbum("Artist/Album", 4);
    m_db->Execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON Songs WHEN NEW.Name = 'Song 2' BEGIN SELECT "
        "RAISE(ABORT, 'disk trouble'); END",
        dbFailOnError);
    AddAlbum("Other/Album", 4, "Other");
    Import(m_tree.Root());
    ASSERT_EQ(m_messages.shown.size(), 2u) << "once per failing folder";
    EXPECT_NE(m_messages.shown[0].find("disk trouble"), std::string::npos);
    EXPECT_NE(m_messages.shown[0].find(m_tree.Root()), std::string::npos);
    EXPECT_EQ(Count("SELECT * FROM Songs"), 0);
    EXPECT_EQ(Count("SELECT * FROM Albums"), 0) << "nothing of a failed folder stays";
}

TEST_F(FolderImportTest, AWalkEndedByAnErrorLeavesTheWorkersReadyForTheNext) {
    AddAlbum("a", 1);  // asked about, while the folders after it are read ahead
    for (int folder = 0; folder < 5; ++folder) {
        AddAlbum("b" + std::to_string(folder), 4, "Album " + std::to_string(folder));
    }
    m_questions.whileAsking = [] { throw CEngineError("the library went away"); };
    PathStack paths{m_tree.Root()};
    EXPECT_THROW(m_db->ImportFolder(paths, m_questions, m_workers), CEngineError);
    const std::string song = m_tree.Path("b0/0.mp3");
    EXPECT_EQ(m_workers.Read({{song, kMp3File}}).front().title, "Song 0");
}

}  // namespace
