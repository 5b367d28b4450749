#include "play/playlist.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/engineerror.h"
#include "platform/runtimerandom.h"
#include "play/playercommand.h"
#include "support/asuser.h"
#include "support/libraryfixture.h"

namespace {

TEST(PlayerCommandTest, ThePlayerGetsTheArgumentsOfTheDesignedCommandLine) {
    EXPECT_EQ(PlayerArguments("/usr/bin/vlc", " --playlist-enqueue ", "/tmp/temp.m3u"),
              SplitCommandLine("\"/usr/bin/vlc\"  --playlist-enqueue  \"/tmp/temp.m3u\""));
    CTempDir dir;
    const std::string spaced = dir.File("my player");
    const std::string quoted = dir.File("a\"b");
    WriteFile(spaced, "");
    WriteFile(quoted, "");
    EXPECT_EQ(PlayerArguments(spaced, "", "/tmp/a b;$x.m3u"), (std::vector<std::string>{spaced, "/tmp/a b;$x.m3u"}));
    EXPECT_EQ(PlayerArguments(quoted, " /ADD ", "l.m3u"), (std::vector<std::string>{quoted, "/ADD", "l.m3u"}))
        << "an existing file is the player whole, a quote in its path too";
    EXPECT_EQ(PlayerArguments("vlc --one-instance \"--x=a b\" $(rm);`x`", " -e ", "l.m3u"),
              (std::vector<std::string>{"vlc", "--one-instance", "--x=a b", "$(rm);`x`", "-e", "l.m3u"}))
        << "a player that names no file brings its arguments, as plain words";
    EXPECT_EQ(SplitCommandLine("\"mpv\"  \"\""), (std::vector<std::string>{"mpv", ""}));
    EXPECT_EQ(SplitCommandLine("a\\b \"c\\\\d\" x\"y z\""), (std::vector<std::string>{"a\\b", "c\\\\d", "xy z"}));
}

TEST(PlaylistTest, ShuffleIsTheRuntimesOrderForAFixedSeed) {
    CRuntimeRandom random;
    random.Seed(1);
    EXPECT_EQ(random.Next(), 41) << "the runtime's first number for seed 1";
    EXPECT_EQ(random.Next(), 18467);
    random.Seed(1);
    PathList paths = {"a", "b", "c", "d"};
    ShuffleList(paths, random);
    // k=3: 41%4=1 -> swap 3,1; k=2: 18467%3=2 -> stay; k=1: 6334%2=0 -> swap 1,0; k=0: nothing.
    EXPECT_EQ(paths, (PathList{"d", "a", "c", "b"}));
}

TEST(PlaylistTest, PrefixesAreTranslatedExactly) {
    PathList paths = {"C:\\Music\\a.mp3", "c:\\music\\a.mp3", "D:\\x.mp3", "/m/b.mp3"};
    TranslatePrefixes(paths, "C:\\Music", "M:\\");
    EXPECT_EQ(paths, (PathList{"M:\\\\a.mp3", "c:\\music\\a.mp3", "D:\\x.mp3", "/m/b.mp3"}));
    TranslatePrefixes(paths, "", "/net");
    EXPECT_EQ(paths[3], "/net/m/b.mp3") << "an empty From prefixes every path";
}

TEST(PlaylistTest, PlaylistsAreWrittenByteForByteAndNeverThroughALink) {
    CTempDir dir;
    const std::string path = dir.File("list.m3u");
    EXPECT_EQ(WritePlaylistFile(path, {"/m/a b.mp3", "/m/caf\xE9.ogg"}), path);
    EXPECT_EQ(ReadFile(path), "/m/a b.mp3\n/m/caf\xE9.ogg\n");
    EXPECT_EQ(WritePlaylistFile(dir.File("none/list.m3u"), {"x"}), "");
    WriteFile(dir.File("kept"), "kept");
    ASSERT_EQ(symlink(dir.File("kept").c_str(), dir.File("linked.m3u").c_str()), 0);
    EXPECT_EQ(WritePlaylistFile(dir.File("linked.m3u"), {"x"}), dir.File("linked.m3u"));
    EXPECT_EQ(ReadFile(dir.File("kept")), "kept") << "the link is replaced, never followed";
}

TEST(PlaylistTest, EachPlayHasAPlaylistOfItsOwnInAFolderOnlyOurs) {
    CTempDir temporary;
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", "");
    const CScopedEnv temporaryFolder("TMPDIR", temporary.Path());
    const std::string folder = temporary.File("cadenzo-" + std::to_string(geteuid()));
    const std::string first = WritePlayPlaylist({"/m/a.mp3"});
    const std::string second = WritePlayPlaylist({"/m/b.mp3"});
    EXPECT_EQ(std::filesystem::path(first).parent_path(), folder);
    EXPECT_NE(first, second);
    EXPECT_EQ(ReadFile(first), "#EXTM3U\n/m/a.mp3\n");
    struct stat info {};
    ASSERT_EQ(stat(first.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // Only our own old playlists go.
    WriteFile(folder + "/notes.m3u", "keep");
    for (const std::string& old : {first, folder + "/notes.m3u"}) {
        std::filesystem::last_write_time(old, std::filesystem::last_write_time(old) - std::chrono::hours(25));
    }
    RemoveOldPlayPlaylists();
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second)) << "a day has not passed";
    EXPECT_TRUE(std::filesystem::exists(folder + "/notes.m3u"));

    // A folder of that name that is a link, or another user's, is never used.
    CTempDir elsewhere;
    std::filesystem::remove_all(folder);
    ASSERT_EQ(symlink(elsewhere.Path().c_str(), folder.c_str()), 0);
    const std::string beside = WritePlayPlaylist({"/m/a.mp3"});
    EXPECT_TRUE(std::filesystem::path(beside).parent_path().string().starts_with(folder + "-")) << beside;
    RemoveOldPlayPlaylists();
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
    if (geteuid() == 0) {  // only root can give the folder to another user
        std::filesystem::remove(folder);
        std::filesystem::create_directory(folder);
        ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
        EXPECT_NE(std::filesystem::path(WritePlayPlaylist({"/m/a.mp3"})).parent_path(), folder);
        EXPECT_TRUE(std::filesystem::is_empty(folder));
    }
}

TEST(PlaylistTest, AFullDiskKeepsTheOldPlaylist) {
    CTempDir dir;
    const std::string path = dir.File("old.m3u");
    WriteFile(path, "/m/old.mp3\n");
    const PathList many(2000, std::string(200, 'x'));
    EXPECT_EQ(RunWithFileSizeLimit(64 * 1024, [&] { return WritePlaylistFile(path, many); }), "");
    EXPECT_EQ(ReadFile(path), "/m/old.mp3\n");
}

TEST_F(LibraryFixture, PlayCountsRiseTogetherOrNotAtAll) {
    SongRecord song;
    song.filePath = "/m/a.mp3";
    const std::int32_t first = m_db->FindOrAddSong(song);
    song.filePath = "";
    m_db->FindOrAddSong(song);
    const SongFiles songs = CollectSongFiles(*m_db, "SELECT * FROM Songs");
    EXPECT_EQ(songs.paths, PathList{"/m/a.mp3"}) << "songs without a path are left out";
    IncrementPlayCounts(*m_db, {first, first});
    EXPECT_EQ(CDbTable(m_db.get(), "Songs").LookupLong("PlayCount", "ID", first), 2);
    m_db->Execute("CREATE TRIGGER Full BEFORE UPDATE ON Songs WHEN NEW.ID = 2 BEGIN SELECT RAISE(ABORT, 'full'); END",
                  dbFailOnError);
    EXPECT_THROW(IncrementPlayCounts(*m_db, {first, 2}), CEngineError);
    EXPECT_EQ(CDbTable(m_db.get(), "Songs").LookupLong("PlayCount", "ID", first), 2) << "rolled back whole";
}

}  // namespace
