// Plays and exports on a real library: what reaches the player, the playlists, the play counts.

#include "play/songplayer.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/runtimerandom.h"
#include "support/libraryfixture.h"
#include "support/recordinglauncher.h"
#include "support/recordingmessagebox.h"

namespace {

class SongPlayerTest : public LibraryFixture {
protected:
    SongPlayerTest() {
        for (const char* path : {"/m/a.mp3", "/m/b b.mp3", "/m/caf\xE9.ogg", "", "/m/new\nline.mp3"}) {
            SongRecord song;
            song.filePath = path;
            m_ids.push_back(m_db->FindOrAddSong(song));
        }
    }

    std::int32_t PlayCount(std::size_t song) {
        return CDbTable(m_db.get(), "Songs").LookupLong("PlayCount", "ID", m_ids[song]);
    }
    // The playlist of the last play.
    std::string Played() const { return ReadFile(m_launcher.launched.back().back()); }

    static constexpr const char* kAllSongs = "SELECT ID, FilePath FROM Songs ORDER BY ID";
    CTempDir m_runtime;
    CScopedEnv m_runtimeFolder{"XDG_RUNTIME_DIR", m_runtime.Path()};
    CRecordingLauncher m_launcher;
    CRuntimeRandom m_random;
    CSongPlayer m_player{*m_db, m_launcher, m_random, m_messages};
    std::vector<std::int32_t> m_ids;
};

TEST_F(SongPlayerTest, APlayHandsTheTranslatedPlaylistToThePlayerAndCountsIt) {
    PlayChoices choices;
    choices.player = "/opt/player";
    choices.enqueueFlag = " --enqueue ";
    choices.enqueue = true;
    choices.translate = true;
    choices.from = "/m/";
    choices.to = "/net/music/";
    ASSERT_TRUE(m_player.PlayQuery(kAllSongs, choices));
    const std::vector<std::string> first = m_launcher.launched.back();
    EXPECT_EQ(first.size(), 3u);
    EXPECT_EQ(first[1], "--enqueue");
    EXPECT_TRUE(first[2].starts_with(m_runtime.Path() + "/cadenzo-")) << first[2];
    EXPECT_EQ(Played(), "#EXTM3U\n/net/music/a.mp3\n/net/music/b b.mp3\n/net/music/caf\xE9.ogg\n")
        << "songs without a file, or with a line break in its path, are left out";
    EXPECT_EQ(m_messages.shown,
              std::vector<std::string>{"1 songs were left out: their file paths hold a line break, "
                                       "which a playlist cannot hold (the first: '/m/new\nline.mp3')."});
    EXPECT_EQ(PlayCount(0), 1);
    EXPECT_EQ(PlayCount(3), 0);
    EXPECT_EQ(PlayCount(4), 0);

    choices.enqueue = false;
    choices.player.clear();
    choices.readOnly = true;
    ASSERT_TRUE(m_player.PlaySong(m_ids[1], choices));
    EXPECT_EQ(m_launcher.launched.back()[0], "xdg-open");
    EXPECT_EQ(Played(), "#EXTM3U\n/net/music/b b.mp3\n");
    EXPECT_EQ(ReadFile(first[2]), "#EXTM3U\n/net/music/a.mp3\n/net/music/b b.mp3\n/net/music/caf\xE9.ogg\n")
        << "a player that reads the first play's playlist only now still finds its songs";
    EXPECT_EQ(PlayCount(1), 1) << "read-only: the player starts, the count stays";

    const std::size_t launches = m_launcher.launched.size();
    EXPECT_FALSE(m_player.PlaySong(m_ids[3], choices)) << "no file";
    EXPECT_FALSE(m_player.PlayQuery("SELECT ID, FilePath FROM Songs WHERE ID < 0", choices));
    EXPECT_EQ(m_launcher.launched.size(), launches);
}

TEST_F(SongPlayerTest, APlayThatCannotStartIsToldAndCountsNothing) {
    PlayChoices choices;
    choices.player = "vlc --one-instance";
    m_launcher.error = ENOENT;
    ASSERT_TRUE(m_player.PlaySong(m_ids[0], choices));
    choices.player.clear();
    ASSERT_TRUE(m_player.PlaySong(m_ids[0], choices));
    EXPECT_EQ(m_messages.shown,
              (std::vector<std::string>{"The player 'vlc --one-instance' could not be started: No such file or "
                                        "directory. Set the player in Cadenzo.ini, [Media Players] MP3 Player.",
                                        "'" + m_launcher.launched.back().back() +
                                            "' could not be opened: the program 'xdg-open' could not be started: "
                                            "No such file or directory. Install xdg-utils. Or set the player in "
                                            "Cadenzo.ini, [Media Players] MP3 Player."}));
    EXPECT_EQ(PlayCount(0), 0);

    m_launcher.error = 0;
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", m_dir.File("Cadenzo.mdb"));  // a file: no folder in it
    ASSERT_TRUE(m_player.PlayQuery(kAllSongs, choices));
    EXPECT_EQ(m_messages.shown.back(), "The playlist for the player could not be written: Not a directory.");
    EXPECT_EQ(m_launcher.launched.size(), 2u) << "nothing started";
    EXPECT_EQ(PlayCount(0), 0);
}

TEST_F(SongPlayerTest, AnExportIsShuffledAsAPlayButCountsNothing) {
    PlayChoices choices;
    choices.randomize = true;
    m_random.Seed(2);
    const std::string path = m_dir.File("list.m3u");
    ASSERT_TRUE(m_player.ExportQuery(path, kAllSongs, choices));
    // The runtime's numbers for seed 2 (45, 29216, ...) give this order of a, b, c.
    EXPECT_EQ(ReadFile(path), "/m/b b.mp3\n/m/caf\xE9.ogg\n/m/a.mp3\n");
    EXPECT_EQ(PlayCount(0), 0);
    EXPECT_TRUE(m_launcher.launched.empty());
    EXPECT_FALSE(m_player.ExportQuery(m_dir.File("none.m3u"), "SELECT ID, FilePath FROM Songs WHERE ID < 0", choices));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("none.m3u")));
    m_messages.shown.clear();
    ASSERT_TRUE(m_player.ExportQuery(m_dir.File("gone/list.m3u"), kAllSongs, choices));
    EXPECT_EQ(m_messages.shown.back(),
              "The playlist '" + m_dir.File("gone/list.m3u") + "' could not be written: No such file or directory.");
}

}  // namespace
