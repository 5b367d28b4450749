// Edit Item's loading and storing, and the library changes of the editing commands, on a real
// library and real song files.

#include "edit/itemedit.h"

#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

#include "edit/librarychanges.h"
#include "edit/pendingtags.h"
#include "engine/engineerror.h"
#include "import/tagworkers.h"
#include "support/asuser.h"
#include "support/killingvfs.h"
#include "support/libraryfixture.h"
#include "support/songtree.h"

namespace {

class ItemEditTest : public LibraryFixture {
protected:
    std::int32_t AddSong(const std::string& relative, const std::string& title, const std::string& track) {
        SongTags tags = CSongTree::Tags(title, "Old Artist", "Old Album");
        tags.track = track;
        SongRecord song;
        song.name = title;
        song.track = track;
        song.filePath = m_tree.AddSong(relative, tags);
        song.fileType = relative.ends_with(".ogg") ? 2 : 1;
        return m_db->FindOrAddSong(song);
    }

    SongTags FileTags(std::int32_t song) {
        const SongRecord row = m_db->ReadSong(song);
        return m_workers.Read({{row.filePath, static_cast<SongFileType>(row.fileType)}}).front();
    }

    long Count(const std::string& sql) { return CDbQuery(*m_db, sql).GetCount(); }

    CTagWorkers m_workers;
    CSongTree m_tree{m_workers};
};

TEST_F(ItemEditTest, SeveralSongsGetTheSameTagsAndRowsButKeepTheirTitlesAndTracks) {
    const std::int32_t band = m_db->FindOrAddArtist({0, "O'Brien & \"Band\"", 0, 0.0});
    const std::int32_t album = m_db->FindOrAddAlbum({0, band, "Caf\xC3\xA9 100%", 0, 0.0, "/m"});
    const std::int32_t first = AddSong("a/1.mp3", "One", "1");
    const std::int32_t second = AddSong("a/2.ogg", "Two", "2");
    CItemEdit edit(*m_db, m_workers, kSeveralSongsItem, {first, second, 999});
    EXPECT_EQ(edit.Loaded().title, "One") << "the first song's file";
    ItemTexts texts = edit.Loaded();
    texts.artist = "o'brien & \"band\"";  // names are found without regard to case
    texts.album = "Caf\xC3\xA9 100%";
    texts.year = "1999";
    texts.genre = "Jazz";
    texts.comment = "line one\nline two";
    int done = 0;
    EXPECT_TRUE(edit.Store(texts, [&] { ++done; }).empty());
    EXPECT_EQ(done, 2) << "one call per file written";
    for (const auto& [song, title, track] : {std::tuple{first, "One", "1"}, std::tuple{second, "Two", "2"}}) {
        const SongTags tags = FileTags(song);
        EXPECT_EQ(tags.title, title);
        EXPECT_EQ(tags.track, track);
        EXPECT_EQ(tags.artist, texts.artist);
        EXPECT_EQ(tags.comment, texts.comment);
        const SongRecord row = m_db->ReadSong(song);
        EXPECT_EQ(row.name, title);
        EXPECT_EQ(row.artistId, band);
        EXPECT_EQ(row.albumId, album);
        EXPECT_EQ(row.year, "1999");
        EXPECT_EQ(row.genre, "Jazz");
    }
    EXPECT_EQ(Count("SELECT * FROM Artists"), 1) << "editing never creates artists";
}

TEST_F(ItemEditTest, AFileThatCannotBeWrittenKeepsItsBytesAndIsReportedWhileTheRowChanges) {
    const std::int32_t song = AddSong("b/1.mp3", "Kept", "3");
    const std::string path = m_db->ReadSong(song).filePath;
    std::filesystem::remove(path);
    CItemEdit vanished(*m_db, m_workers, kSongItem, {song});
    EXPECT_EQ(vanished.Loaded().title, "Kept") << "a vanished file shows the library's values";
    ItemTexts texts = vanished.Loaded();
    texts.title = "Renamed";
    EXPECT_EQ(vanished.Store(texts, [] {}), std::vector<std::string>{path});
    EXPECT_EQ(m_db->ReadSong(song).name, "Renamed");
    EXPECT_EQ(UnwrittenFilesMessage({path, "/x"}),
              "Error: Couldn't write the tags into '" + path +
                  "'.\nThe tags of 1 more files could not be written either.\nTheir library entries were changed; the "
                  "files were left as they were.");

    const std::int32_t other = AddSong("b/2.mp3", "Two", "1");
    m_db->Execute("CREATE TRIGGER Refuse BEFORE UPDATE ON Songs BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END",
                  dbFailOnError);
    CItemEdit failing(*m_db, m_workers, kSongItem, {other});
    texts.title = "Never";
    EXPECT_THROW(failing.Store(texts, [] {}), CEngineError);
    EXPECT_EQ(m_db->ReadSong(other).name, "Two") << "the row is as it was; the file alone changed";
    EXPECT_EQ(FileTags(other).title, "Never");
}

TEST_F(ItemEditTest, RowsThatMissedTheirFilesEditFollowTheFilesAtTheNextOpen) {
    m_db->FindOrAddArtist({0, "New Artist", 0, 0.0});
    IdList songs;
    for (int i = 0; i < 50; ++i) {
        songs.push_back(AddSong(std::to_string(i) + (i % 2 == 0 ? ".mp3" : ".ogg"), "Song " + std::to_string(i), "1"));
    }
    m_db.reset();
    std::filesystem::copy_file(Path(), Path() + ".before");
    const auto editKilledAt = [&](int write) {
        return RunKilledAtWrite(write, [&] {
            CRecordingMessageBox messages;
            const CFixedSettings settings;
            CLibraryDb db("Cadenzo.mdb", false, false, settings, messages);
            CTagWorkers workers;
            CItemEdit edit(db, workers, kSeveralSongsItem, songs);
            ItemTexts texts = edit.Loaded();
            texts.artist = "New Artist";
            texts.genre = "Kill " + std::to_string(write);
            edit.Store(texts, [] {});
            return std::to_string(WritesSoFar());
        });
    };
    const int writes = std::stoi(editKilledAt(0));
    CPendingTags pending(Path());
    EXPECT_FALSE(pending.Exists()) << "a whole edit leaves no record";
    int recovered = 0;
    for (int write = 1; write <= writes; ++write) {
        std::filesystem::copy_file(Path() + ".before", Path(), std::filesystem::copy_options::overwrite_existing);
        ASSERT_EQ(editKilledAt(write), "child failed") << write;
        m_db = std::make_unique<CLibraryDb>("Cadenzo.mdb", false, false, m_settings, m_messages);
        recovered += pending.Recover(*m_db, m_workers, m_messages, false) != 0 ? 1 : 0;
        EXPECT_EQ(CDbQuery(*m_db, "PRAGMA integrity_check").GetRecordset()->GetFieldValue("integrity_check").AsText(),
                  "ok");
        for (const std::int32_t song : songs) {
            const SongRecord row = m_db->ReadSong(song);
            const SongTags file = FileTags(song);
            EXPECT_EQ(row.genre, file.genre) << "song " << song << ", kill at write " << write;
            EXPECT_EQ(row.artistId, m_db->FindArtistId(file.artist)) << song;
            EXPECT_EQ(row.name, "Song " + std::to_string(song - songs.front())) << "kept";
        }
        m_db.reset();
    }
    EXPECT_EQ(recovered, writes) << "every kill fell between the files and the rows";
    EXPECT_EQ(m_messages.shown.back(),
              "50 songs were brought up to date with the tags in their files after an interrupted edit.");

    // A commit that fails while the program runs keeps the record for the next open.
    m_db = std::make_unique<CLibraryDb>("Cadenzo.mdb", false, false, m_settings, m_messages);
    m_db->Execute("CREATE TRIGGER Full BEFORE UPDATE ON Songs BEGIN SELECT RAISE(ABORT, 'full'); END", dbFailOnError);
    CItemEdit edit(*m_db, m_workers, kSongItem, {songs[0]});
    ItemTexts texts = edit.Loaded();
    texts.title = "Renamed";
    try {
        edit.Store(texts, [] {});
        ADD_FAILURE() << "the rows could not be stored";
    } catch (const CEngineError& error) {
        EXPECT_TRUE(std::string(error.what())
                        .starts_with(
                            "The tags of 1 songs were written into their files, but the library could not be changed:"))
            << error.what();
    }
    m_db->Execute("DROP TRIGGER Full", dbFailOnError);
    EXPECT_EQ(pending.Recover(*m_db, m_workers, m_messages, false), 1u);
    EXPECT_EQ(m_db->ReadSong(songs[0]).name, "Renamed");
}

TEST_F(ItemEditTest, AnAlbumTakesANewNameButOnlyAnArtistOfTheLibrary) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "Artist", 0, 0.0});
    const std::int32_t album = m_db->FindOrAddAlbum({0, artist, "Old", 0, 0.0, "/m"});
    CItemEdit edit(*m_db, m_workers, kAlbumItem, {album});
    EXPECT_EQ(edit.Loaded().artist, "Artist");
    ItemTexts texts = edit.Loaded();
    texts.title = "";
    texts.artist = "Nobody Known";
    edit.Store(texts, [] {});
    EXPECT_EQ(m_db->GetItemName(kAlbumItem, album), "") << "stored as typed, also empty";
    EXPECT_EQ(CDbTable(m_db.get(), "Albums").LookupLong("ArtistID", "ID", album), artist);
}

TEST_F(ItemEditTest, RemovalsAreWholeAndLeaveWhatTheyShould) {
    const std::int32_t artist = m_db->FindOrAddArtist({0, "A", 0, 0.0});
    const std::int32_t album = m_db->FindOrAddAlbum({0, artist, "Al", 0, 0.0, "/m"});
    const std::int32_t collection = AddNamedItem(*m_db, kCollectionItem, "It's \"100%\"", 0);
    EXPECT_EQ(AddNamedItem(*m_db, kCollectionItem, "it's \"100%\"", 0), collection) << "found, not added twice";
    IdList songs;
    for (int i = 0; i < 3; ++i) {
        SongRecord song;
        song.name = "s" + std::to_string(i);
        song.filePath = "/m/" + song.name + ".mp3";
        song.artistId = artist;
        song.albumId = i < 2 ? album : 0;
        songs.push_back(m_db->FindOrAddSong(song));
    }
    AddSongsToCollection(*m_db, songs, collection);
    AddSongsToCollection(*m_db, songs, collection);
    EXPECT_EQ(Count("SELECT * FROM ColJunction"), 3);

    RemoveViewItem(*m_db, kCollectionItem, collection);
    EXPECT_EQ(Count("SELECT * FROM ColJunction"), 0);
    EXPECT_EQ(Count("SELECT * FROM Songs"), 3) << "a collection's songs stay in the library";
    RemoveViewItem(*m_db, kAlbumItem, 0);
    RemoveViewItem(*m_db, kArtistItem, 0);
    EXPECT_EQ(Count("SELECT * FROM Songs"), 3) << "the (All Songs) row is no album: the songs without one stay";
    RemoveViewItem(*m_db, kAlbumItem, album);
    EXPECT_EQ(Count("SELECT * FROM Songs"), 1) << "an album goes with its songs";

    m_db->Execute("CREATE TRIGGER Refuse BEFORE DELETE ON Artists BEGIN SELECT RAISE(ABORT, 'refused'); END",
                  dbFailOnError);
    EXPECT_THROW(RemoveItemWhole(*m_db, kArtistItem, artist, true), CEngineError);
    EXPECT_EQ(Count("SELECT * FROM Songs"), 1) << "all or nothing";
}

}  // namespace
