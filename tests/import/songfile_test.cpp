#include "import/songfile.h"
#include "hostilefiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <gtest/gtest.h>

#include "import/tagworkers.h"
#include "platform/filedescriptor.h"
#include "support/asuser.h"
#include "support/songtree.h"

namespace {

TEST(SongPathsTest, FileTypesComeFromTheExtension) {
    EXPECT_EQ(FileTypeFromPath("/m/Song.Mp3"), 1);
    EXPECT_EQ(FileTypeFromPath("/m/song.MP3"), 1);
    EXPECT_EQ(FileTypeFromPath("/m/song.mp3 "), 1);
    EXPECT_EQ(FileTypeFromPath("/m/song.ogg"), 2);
    EXPECT_EQ(FileTypeFromPath("/m/song.mp3.bak"), 0);
    EXPECT_EQ(FileTypeFromPath("/m/song"), 0);
    EXPECT_EQ(FileTypeFromPath("/m/song.wav"), 0);
}

TEST(SongPathsTest, NamesAndFoldersOfPaths) {
    EXPECT_EQ(FileNamePart("/music/Artist/Album/"), "Album");
    EXPECT_EQ(FileNamePart("/music/Artist/Album/01 Song.mp3"), "01 Song.mp3");
    EXPECT_EQ(DirectoryPart("/music/Artist/Album/"), "/music/Artist");
    EXPECT_EQ(FileNamePart("/"), "");
    EXPECT_EQ(FileNamePart("no slash"), "");
    EXPECT_EQ(TextBeforeLast("a.b.c..", '.'), "a.b");
    EXPECT_EQ(FormatLength(0), "0:00");
    EXPECT_EQ(FormatLength(5), "0:05");
    EXPECT_EQ(FormatLength(65), "1:05");
    EXPECT_EQ(FormatLength(600), "10:00");
    EXPECT_EQ(FormatLength(3600), "1:00:00");
    EXPECT_EQ(FormatLength(3725), "1:02:05");
}

class SongFileTest : public ::testing::Test {
protected:
    CSongFile Load(const std::string& path) {
        CSongFile song;
        song.LoadFromPath(path, m_workers);
        return song;
    }

    CTagWorkers m_workers;
    CSongTree m_tree{m_workers};
};

TEST_F(SongFileTest, TagsOfMp3AndOggRoundTrip) {
    SongTags tags = CSongTree::Tags("Кукушка   ", "椎名林檎", "Sinéad's Album");
    tags.comment = "a comment";
    for (const char* name : {"song.mp3", "song.ogg"}) {
        const CSongFile song = Load(m_tree.AddSong(name, tags));
        EXPECT_EQ(song.GetTitle(), "Кукушка") << name << ": trailing blanks are cut";
        EXPECT_EQ(song.GetArtist(), "椎名林檎");
        EXPECT_EQ(song.GetAlbum(), "Sinéad's Album");
        EXPECT_EQ(song.GetYear(), "2001");
        EXPECT_EQ(song.GetTrack(), "1");
        EXPECT_EQ(song.GetGenre(), "Rock");
        EXPECT_EQ(song.GetComment(), "a comment");
        EXPECT_EQ(song.GetLength(), "0:02");
        EXPECT_EQ(song.GetFileType(), std::string(name).ends_with("mp3") ? 1 : 2);
    }
}

TEST_F(SongFileTest, UntaggedAndBrokenFilesGiveEmptyTexts) {
    const CSongFile untagged = Load(m_tree.AddSong("untagged.mp3", {}, false));
    EXPECT_EQ(untagged.GetTitle(), "");
    EXPECT_EQ(untagged.GetYear(), "0");
    EXPECT_EQ(untagged.GetTrack(), "0");
    EXPECT_EQ(untagged.GetLength(), "0:02");

    std::string truncated = ReadFile(FixturePath(2)).substr(0, 100);
    m_tree.AddFile("truncated.ogg", truncated);
    m_tree.AddFile("broken.mp3", std::string(5000, '\xFF'));
    m_tree.AddFile("text.mp3", "not audio at all");
    for (const char* name : {"truncated.ogg", "broken.mp3", "text.mp3"}) {
        CSongFile song = Load(m_tree.Path(name));
        EXPECT_EQ(song.GetTitle(), "") << name;
        EXPECT_EQ(song.GetYear(), "0") << name;
        EXPECT_EQ(song.GetLength(), "0:00") << name;
        EXPECT_FALSE(song.WriteTags(m_workers)) << name;
    }
    EXPECT_EQ(ReadFile(m_tree.Path("text.mp3")), "not audio at all");
}

TEST_F(SongFileTest, AFileThatIsNoSongKeepsEmptyTexts) {
    const std::string tagged = m_tree.AddSong("song.mp3", CSongTree::Tags("Title", "A", "B"));
    std::filesystem::rename(tagged, m_tree.Path("song.wav"));
    const CSongFile song = Load(m_tree.Path("song.wav"));
    EXPECT_EQ(song.GetFileType(), kNotASongFile);
    EXPECT_EQ(song.GetTitle() + song.GetYear() + song.GetTrack() + song.GetLength(), "");
}

TEST_F(SongFileTest, WritingTagsChangesOnlyTheTags) {
    const std::string path = m_tree.AddSong("song.mp3", CSongTree::Tags("Old", "A", "B"));
    SongTags other = CSongTree::Tags("New title", "Other Artist", "Other Album");
    other.year = "abc";
    CSongFile edited;
    edited.Assign(path, other);
    ASSERT_TRUE(edited.WriteTags(m_workers));
    const CSongFile reread = Load(path);
    EXPECT_EQ(reread.GetTitle(), "New title");
    EXPECT_EQ(reread.GetArtist(), "Other Artist");
    EXPECT_EQ(reread.GetYear(), "0") << "a year of abc is none";
    EXPECT_EQ(reread.GetLength(), "0:02");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_tree.Root()), {}), 1) << "no copy left behind";
}

TEST_F(SongFileTest, ASongTooLargeToTagInMemoryIsTaggedInItsCopy) {
    const std::string tagged = ReadFile(m_tree.AddSong("small.mp3", CSongTree::Tags("Old", "A", "B")));
    const std::string tail(33 << 20, '\x55');  // beyond what the worker tags in memory
    m_tree.AddFile("long.mp3", tagged + tail);
    // Limits no machine reaches: the test is of the copy, not of the machine's speed.
    constexpr int kHour = 3600 * 1000;
    CTagWorkers patient({CTagWorkers::DefaultTagWorkerCommand().front(), "--cpu-ms=" + std::to_string(kHour)}, 1,
                        kHour);
    CSongFile song;
    song.LoadFromPath(m_tree.Path("long.mp3"), patient);
    song.SetTitle("New");
    ASSERT_TRUE(song.WriteTags(patient));
    song.LoadFromPath(m_tree.Path("long.mp3"), patient);
    EXPECT_EQ(song.GetTitle(), "New");
    const std::string written = ReadFile(m_tree.Path("long.mp3"));
    EXPECT_NE(written.find(tail), std::string::npos) << "the audio is kept";
    // Reading the song costs TagLib a search through its 33 MiB for the last frame: far more than a
    // millisecond of processor time, so this worker is stopped on it.
    CTagWorkers hasty({CTagWorkers::DefaultTagWorkerCommand().front(), "--cpu-ms=1"}, 1);
    EXPECT_TRUE(hasty.Read({{m_tree.Path("long.mp3"), kMp3File}}).front().stopped);
}

TEST_F(SongFileTest, AFailedWriteLeavesTheFileAsItWas) {
    const std::string path = m_tree.AddSong("song.mp3", CSongTree::Tags("Title", "A", "B"));
    const std::string before = ReadFile(path);
    CSongFile song = Load(path);
    song.SetTitle(std::string(20000, 'x'));

    const std::string full = RunWithFileSizeLimit(static_cast<long>(before.size()) + 100, [&] {
        CTagWorkers workers;
        return song.WriteTags(workers) ? "written" : "refused";
    });
    EXPECT_EQ(full, "refused");
    EXPECT_EQ(ReadFile(path), before);

    chmod(path.c_str(), 0444);
    CTempDir programs;
    const std::vector<std::string> worker = WorkerCommandIn(programs.Path());
    const std::string readOnly = RunAsUnprivileged([&] {
        CTagWorkers workers(worker);
        return std::string(workers.Read({{path, kMp3File}}).front().parsed ? "readable, " : "unreadable, ") +
               (song.WriteTags(workers) ? "written" : "refused");
    });
    EXPECT_EQ(readOnly, "readable, refused");
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_tree.Root()), {}), 1) << "no copy left behind";
}

TEST_F(SongFileTest, AWriteRequestWithFieldsMissingIsRefused) {
    const std::string path = m_tree.AddSong("song.mp3", CSongTree::Tags("Title", "A", "B"));
    const std::string requests = m_tree.Path("requests");
    {
        const CFileDescriptor file(open(requests.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        ASSERT_TRUE(WriteMessage(file.Get(), EncodeFields({"W", "1", path, "0"})));
    }
    const std::string answers = m_tree.Path("answers");
    const std::string worker = CTagWorkers::DefaultTagWorkerCommand().front();
    ASSERT_EQ(std::system(("'" + worker + "' < '" + requests + "' > '" + answers + "'").c_str()), 0);
    CMessageReader reader;
    std::string answer;
    std::vector<std::string> fields;
    const CFileDescriptor file(open(answers.c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(reader.Read(file.Get(), answer, 0) && DecodeFields(answer, fields));
    EXPECT_EQ(fields, std::vector<std::string>{"0"});
    EXPECT_EQ(Load(path).GetTitle(), "Title");
}

}  // namespace
