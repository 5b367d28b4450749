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
        return std::string(workers.Read({{path, 1}}).front().parsed ? "readable, " : "unreadable, ") +
               (song.WriteTags(workers) ? "written" : "refused");
    });
    EXPECT_EQ(readOnly, "readable, refused");
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_tree.Root()), {}), 1) << "no copy left behind";
}

TEST(TagWorkersTest, AWorkerThatHangsCostsOnlyItsTimeLimit) {
    CTagWorkers workers({"/bin/sleep", "60"}, 2, 200);
    const auto started = std::chrono::steady_clock::now();
    const std::vector<SongTags> tags = workers.Read({{"/a.mp3", 1}, {"/b.mp3", 1}, {"/c.ogg", 2}});
    ASSERT_EQ(tags.size(), 3u);
    for (const SongTags& song : tags) {
        EXPECT_FALSE(song.parsed);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(workers.Write("/a.mp3", 1, SongTags()));
}

TEST(TagWorkersTest, AMissingOrDyingWorkerReadsNothing) {
    CTagWorkers missing({"/no/such/worker"}, 1, 200);
    EXPECT_FALSE(missing.Read({{"/a.mp3", 1}}).front().parsed);
    CTagWorkers dying({"/bin/sh", "-c", "exit 3"}, 2, 2000);
    const std::vector<SongTags> tags = dying.Read({{"/a.mp3", 1}, {"/b.mp3", 1}, {"/c.mp3", 1}});
    EXPECT_EQ(tags.size(), 3u);
    EXPECT_FALSE(tags[2].parsed);
}

TEST(TagWorkersTest, AHostileFileIsStoppedAndASlowOneIsReadWhole) {
    CTagWorkers workers;
    CSongTree tree(workers);
    const std::string before = tree.AddSong("before.ogg", CSongTree::Tags("Before", "A", "B"));
    const std::string hostile = tree.Path("hostile.ogg");
    MakeWrappingCommentOgg(hostile, FixturePath(2), workers);
    const std::string after = tree.AddSong("after.mp3", CSongTree::Tags("After", "A", "B"));
    // A worker whose first answer comes late, as from a slow disk: it starts 1.5 s late.
    const std::string worker = CTagWorkers::DefaultTagWorkerCommand().front();
    CTagWorkers slow({"/bin/sh", "-c", "sleep 1.5; exec \"$0\"", worker}, 1);
    const std::vector<SongTags> tags = slow.Read({{before, 2}, {hostile, 2}, {after, 1}});
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].title, "Before");
    EXPECT_FALSE(tags[0].stopped);
    EXPECT_FALSE(tags[1].parsed);
    EXPECT_TRUE(tags[1].stopped);
    EXPECT_EQ(tags[2].title, "After") << "the new worker reads the rest";
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

TEST(TagWorkersTest, ManyWritesAreAnsweredTruthfullyAndInOrderAlsoWhenWorkersEnd) {
    CTagWorkers workers;
    CSongTree tree(workers);
    std::vector<CTagWorkers::TagWrite> writes;
    for (int i = 0; i < 40; ++i) {
        const int type = i % 2 == 0 ? 1 : 2;
        const std::string path =
            tree.AddSong(std::to_string(i) + (type == 1 ? ".mp3" : ".ogg"), CSongTree::Tags("Old", "A", "B"));
        writes.push_back({path, type, CSongTree::Tags("New " + std::to_string(i), "A", "B")});
    }
    writes[10].path = tree.Path("hostile.ogg");
    MakeWrappingCommentOgg(writes[10].path, FixturePath(2), workers);
    const std::string hostileBefore = ReadFile(writes[10].path);
    writes[20].path = tree.Path("missing.mp3");
    std::vector<std::size_t> told;
    const std::vector<bool> written = workers.WriteAll(writes, [&](std::size_t i) { told.push_back(i); });
    ASSERT_EQ(written.size(), writes.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(told[i], i);
        if (i == 10 || i == 20) {
            EXPECT_FALSE(written[i]) << i;
            continue;
        }
        EXPECT_TRUE(written[i]) << i;
        EXPECT_EQ(workers.Read({{writes[i].path, writes[i].fileType}}).front().title, "New " + std::to_string(i));
    }
    EXPECT_EQ(ReadFile(writes[10].path), hostileBefore);

    // Workers that end after about a kilobyte of requests: each one's unanswered writes are
    // asked of the next, and every answer tells the truth.
    const std::string worker = CTagWorkers::DefaultTagWorkerCommand().front();
    CTagWorkers ending({"/bin/sh", "-c", "dd bs=4096 count=1200 iflag=count_bytes status=none | '" + worker + "'"}, 1);
    for (CTagWorkers::TagWrite& write : writes) {
        write.tags.title += " again";
    }
    const std::vector<bool> again = ending.WriteAll(writes, [](std::size_t) {});
    EXPECT_GT(std::count(again.begin(), again.end(), true), 30);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (i != 10 && i != 20) {
            const std::string title = workers.Read({{writes[i].path, writes[i].fileType}}).front().title;
            EXPECT_EQ(title, again[i] ? writes[i].tags.title : "New " + std::to_string(i)) << i;
        }
    }
}

TEST(TagWorkersTest, ReadsOverlapAndComeBackInOrder) {
    CTagWorkers workers;
    CSongTree tree(workers);
    const std::string first = tree.AddSong("first.mp3", CSongTree::Tags("First", "A", "B"));
    const std::string second = tree.AddSong("second.ogg", CSongTree::Tags("Second", "A", "B"));
    const CTagWorkers::Ticket one = workers.Request({{first, 1}, {second, 2}});
    const CTagWorkers::Ticket two = workers.Request({{second, 2}});
    EXPECT_THROW(workers.Collect(two), std::logic_error) << "the older read comes first";
    SongTags changed = CSongTree::Tags("Changed", "A", "B");
    EXPECT_TRUE(workers.Write(first, 1, changed)) << "a write while reads are under way";
    EXPECT_EQ(workers.Collect(one).at(1).title, "Second");
    EXPECT_EQ(workers.Collect(two).at(0).title, "Second");
    EXPECT_EQ(workers.Read({{first, 1}}).at(0).title, "Changed");
    EXPECT_TRUE(workers.Read({}).empty());
}

TEST(TagWorkersTest, ResultsComeInTheOrderAsked) {
    CTagWorkers workers;
    CSongTree tree(workers);
    std::vector<std::pair<std::string, int>> files;
    for (int i = 0; i < 40; ++i) {
        const std::string name = std::to_string(i) + (i % 3 == 0 ? ".ogg" : ".mp3");
        if (i % 5 == 0) {
            tree.AddFile(name, "broken");
        } else {
            tree.AddSong(name, CSongTree::Tags("Song " + std::to_string(i), "A", "B"));
        }
        files.emplace_back(tree.Path(name), FileTypeFromPath(name));
    }
    const std::vector<SongTags> tags = workers.Read(files);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(tags[static_cast<std::size_t>(i)].parsed, i % 5 != 0) << i;
        if (i % 5 != 0) {
            EXPECT_EQ(tags[static_cast<std::size_t>(i)].title, "Song " + std::to_string(i));
        }
    }
}

}  // namespace
