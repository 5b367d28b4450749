// Real processes: what a started player receives, that no child is left as a zombie, and a real
// player reading our playlist.

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/launcher.h"
#include "platform/runtimerandom.h"
#include "play/songplayer.h"
#include "support/libraryfixture.h"

namespace {

// Waits up to `seconds` for `done` to hold.
template <typename Done>
bool WaitFor(Done done, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int CountZombieChildren() {
    int zombies = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) {
            continue;
        }
        char state = 0;
        int parent = 0;
        std::istringstream(line.substr(line.rfind(')') + 1)) >> state >> parent;
        zombies += state == 'Z' && parent == getpid() ? 1 : 0;
    }
    return zombies;
}

class RealPlayerTest : public LibraryFixture {
protected:
    void AddSongs(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            SongRecord song;
            song.filePath = path;
            m_db->FindOrAddSong(song);
        }
    }

    CTempDir m_temporary;
    CScopedEnv m_runtimeFolder{"XDG_RUNTIME_DIR", m_temporary.Path()};
    CSpawnLauncher m_launcher;
    CRuntimeRandom m_random;
    CSongPlayer m_player{*m_db, m_launcher, m_random, m_messages};
};

TEST_F(RealPlayerTest, ThePlayerReceivesItsArgumentsAndPlaylistByteForByte) {
    const std::string folder = m_dir.File("my \"player\" $HOME;x");
    std::filesystem::create_directory(folder);
    const std::string player = folder + "/rec";
    // Records its arguments, each ended by a NUL, then the playlist it was given (the last).
    WriteFile(player,
              "#!/bin/sh\n"
              "for last; do :; done\n"
              "{ for a; do printf '%s\\0' \"$a\"; done; cat \"$last\"; } > \"$(dirname \"$0\")/record.tmp\"\n"
              "mv \"$(dirname \"$0\")/record.tmp\" \"$(dirname \"$0\")/record\"\n");
    chmod(player.c_str(), 0755);
    const std::string temporary = m_temporary.File("t m p;$USER");
    std::filesystem::create_directory(temporary);
    const CScopedEnv runtimeFolder("XDG_RUNTIME_DIR", temporary);
    AddSongs({"/m/a b.mp3", "/m/it's \"q\" $x;y.mp3", "/m/caf\xE9\\z.ogg"});

    PlayChoices choices;
    choices.player = player;
    choices.enqueue = true;
    choices.enqueueFlag = " --enqueue ";
    ASSERT_TRUE(m_player.PlayQuery("SELECT ID, FilePath FROM Songs ORDER BY ID", choices));
    const std::string record = folder + "/record";
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(record); }, 20));
    const std::string received = ReadFile(record);
    const std::size_t playlistEnd = received.find('\0', 10);
    ASSERT_NE(playlistEnd, std::string::npos);
    EXPECT_EQ(received.substr(0, 10), std::string("--enqueue\0", 10));
    EXPECT_TRUE(received.substr(10, playlistEnd - 10).starts_with(temporary + "/cadenzo-")) << received;
    EXPECT_EQ(received.substr(playlistEnd + 1), "#EXTM3U\n/m/a b.mp3\n/m/it's \"q\" $x;y.mp3\n/m/caf\xE9\\z.ogg\n");
}

TEST(LauncherTest, StartedProgramsAreReapedAndBadPlayersFailQuietly) {
    CSpawnLauncher launcher;
    for (int play = 0; play < 40; ++play) {
        ASSERT_EQ(launcher.Launch({"true"}), 0);
    }
    EXPECT_TRUE(WaitFor([] { return CountZombieChildren() == 0; }, 20)) << CountZombieChildren() << " zombies";

    CTempDir dir;
    WriteFile(dir.File("not-executable"), "#!/bin/sh\n");
    for (const std::string& player : {dir.File("missing"), dir.Path(), dir.File("not-executable"), std::string()}) {
        EXPECT_NE(launcher.Launch({player, "list.m3u"}), 0) << player;
    }
}

TEST_F(RealPlayerTest, MpvPlaysOurPlaylist) {
    ASSERT_EQ(std::system("command -v mpv >/dev/null"), 0) << "mpv is installed by the test command";
    std::vector<std::string> songs;
    for (const char* name : {"Caf\xC3\xA9 \xE2\x80\x94 1.mp3", "\xE6\x97\xA5\xE6\x9C\xAC.ogg",
                             "b\xE9"
                             "d.mp3"}) {
        songs.push_back(m_dir.File(name));
        const bool ogg = songs.back().ends_with(".ogg");
        std::filesystem::copy_file(std::string(CADENZO_TEST_DATA) + (ogg ? "/silent.ogg" : "/silent.mp3"),
                                   songs.back());
    }
    AddSongs(songs);
    const std::string log = m_dir.File("mpv.log");
    PlayChoices choices;
    choices.player = "mpv";
    choices.enqueue = true;
    choices.enqueueFlag = " --ao=null --vo=null --no-config --really-quiet --end=0.05 --log-file=" + log + " ";
    ASSERT_TRUE(m_player.PlayQuery("SELECT ID, FilePath FROM Songs ORDER BY ID", choices));
    ASSERT_TRUE(WaitFor([&] { return ReadFile(log).find("[cplayer] Exiting") != std::string::npos; }, 60))
        << ReadFile(log);
    const std::string output = ReadFile(log);
    for (const std::string& song : songs) {
        EXPECT_NE(output.find("Opening done: " + song + "\n"), std::string::npos) << song << "\n" << output;
    }
}

}  // namespace
