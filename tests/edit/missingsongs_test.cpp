// Find Missing Songs on a real library and real song files: which files are gone, and where the
// moved ones are now, found by their audio.

#include "edit/missingsongs.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "db/dbtable.h"
#include "import/tagworkers.h"
#include "support/libraryfixture.h"
#include "support/noquestions.h"
#include "support/songtree.h"

namespace {

class MissingSongsTest : public LibraryFixture {
protected:
    // A song of its own audio: one byte of its audio differs from the other songs'. (The OGG is a
    // tone: the silent fixture's audio packets are empty, and it has no key.)
    void AddSong(const std::string& relative, SongFileType type, int audio) {
        std::string bytes =
            ReadFile(type == kMp3File ? FixturePath(type) : std::string(CADENZO_TEST_DATA) + "/tone.ogg");
        const std::size_t at = type == kMp3File ? 200 : bytes.size() - 10;
        bytes[at] = static_cast<char>(bytes[at] ^ audio);
        m_tree.AddFile(relative, bytes);
        ASSERT_TRUE(m_workers.Write(m_tree.Path(relative), type,
                                    CSongTree::Tags("Song " + std::to_string(audio), "Band", "Best")));
    }

    std::vector<std::int32_t> Ids(const std::vector<MissingSong>& songs) {
        std::vector<std::int32_t> ids;
        for (const MissingSong& song : songs) {
            ids.push_back(song.id);
        }
        return ids;
    }

    CTagWorkers m_workers;
    CSongTree m_tree{m_workers};
};

TEST_F(MissingSongsTest, GoneFilesAreListedAndMovedOnesFoundByTheirAudioKeepTheirRows) {
    AddSong("Music/Best/1.mp3", kMp3File, 1);
    AddSong("Music/Best/2.ogg", kOggFile, 2);
    AddSong("Music/Best/3.mp3", kMp3File, 3);
    AddSong("Music/Best/4.ogg", kOggFile, 4);
    CNoQuestions questions;
    PathStack paths{m_tree.Path("Music")};
    m_db->ImportFolder(paths, questions, m_workers);
    const auto id = [&](const char* relative) { return m_db->FindSongIdByPath(m_tree.Path(relative)); };
    const std::int32_t mp3 = id("Music/Best/1.mp3");
    const std::int32_t ogg = id("Music/Best/2.ogg");
    const std::int32_t deleted = id("Music/Best/3.mp3");
    CDbTable(m_db.get(), "Songs").UpdateShort("UserRating", "ID", ogg, 6);

    std::filesystem::create_directories(m_tree.Path("Moved/Deeper"));
    std::filesystem::rename(m_tree.Path("Music/Best/1.mp3"), m_tree.Path("Moved/one.mp3"));
    std::filesystem::rename(m_tree.Path("Music/Best/2.ogg"), m_tree.Path("Moved/Deeper/two.ogg"));
    std::filesystem::remove(m_tree.Path("Music/Best/3.mp3"));
    int calls = 0;
    const std::vector<MissingSong> missing = FindMissingSongs(*m_db, [&](std::size_t, std::size_t) {
        ++calls;
        return true;
    });
    EXPECT_EQ(Ids(missing), (std::vector<std::int32_t>{mp3, ogg, deleted}));
    EXPECT_EQ(missing[1].name, "Song 2");
    EXPECT_EQ(missing[1].artist, "Band");
    EXPECT_EQ(missing[1].album, "Best");
    EXPECT_EQ(missing[1].path, m_tree.Path("Music/Best/2.ogg"));

    const std::vector<FoundSong> found =
        SearchMissingSongs(*m_db, m_workers, missing, m_tree.Root(), [](std::size_t, std::size_t) { return true; });
    ASSERT_EQ(found.size(), 2u) << "the deleted song is nowhere; the known files are no candidates";
    MoveFoundSongs(*m_db, found);
    EXPECT_EQ(id("Moved/one.mp3"), mp3);
    EXPECT_EQ(id("Moved/Deeper/two.ogg"), ogg);
    EXPECT_EQ(m_db->ReadSong(ogg).userRating, 6) << "the row and its rating stay";
    EXPECT_EQ(m_db->ReadSong(ogg).fileType, kOggFile);
    EXPECT_EQ(Ids(FindMissingSongs(*m_db, [](std::size_t, std::size_t) { return true; })),
              std::vector<std::int32_t>{deleted});
    EXPECT_TRUE(FindMissingSongs(*m_db, [](std::size_t, std::size_t) { return false; }).size() <= 1u)
        << "stopped: what was found so far";
}

}  // namespace
