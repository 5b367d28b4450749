#include "play/playlist.h"

#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_EQ(PlayerArguments("/opt/my player/p", "", "/tmp/a b;$x.m3u"),
              (std::vector<std::string>{"/opt/my player/p", "/tmp/a b;$x.m3u"}));
    EXPECT_EQ(PlayerArguments("/opt/a\"b/p", " /ADD ", ""), (std::vector<std::string>{"/opt/a\"b/p", "/ADD", ""}))
        << "a quote inside a path stays, and a playlist that could not be written is an empty argument";
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

    CTempDir temporary;
    CTempDir runtime;
    const CScopedEnv temporaryFolder("TMPDIR", temporary.Path());
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", runtime.Path());
    EXPECT_EQ(WriteTempPlaylist({"/m/a.mp3"}), temporary.File("temp.m3u"));
    std::filesystem::remove(temporary.File("temp.m3u"));
    WriteFile(dir.File("victim"), "keep");
    ASSERT_EQ(symlink(dir.File("victim").c_str(), temporary.File("temp.m3u").c_str()), 0);
    EXPECT_EQ(WriteTempPlaylist({"/m/a.mp3"}), runtime.File("temp.m3u")) << "a link is never followed";
    EXPECT_EQ(ReadFile(dir.File("victim")), "keep");
}

TEST(PlaylistTest, AFullDiskKeepsTheOldPlaylistAndAReadOnlyTemporaryFolderIsPassedBy) {
    CTempDir dir;
    const std::string path = dir.File("old.m3u");
    WriteFile(path, "/m/old.mp3\n");
    const PathList many(2000, std::string(200, 'x'));
    EXPECT_EQ(RunWithFileSizeLimit(64 * 1024, [&] { return WritePlaylistFile(path, many); }), "");
    EXPECT_EQ(ReadFile(path), "/m/old.mp3\n");

    CTempDir temporary;
    CTempDir runtime;
    chmod(temporary.Path().c_str(), 0555);
    const CScopedEnv temporaryFolder("TMPDIR", temporary.Path());
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", runtime.Path());
    EXPECT_EQ(RunAsUnprivileged([] { return WriteTempPlaylist({"/m/a.mp3"}); }), runtime.File("temp.m3u"));
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
