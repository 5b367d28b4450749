// The pool of tag worker processes: order of answers, limits, workers that hang, die or are missing.

#include "import/tagworkers.h"
#include "hostilefiles.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include <gtest/gtest.h>

#include "import/songfile.h"
#include "support/songtree.h"

namespace {

TEST(TagWorkersTest, AWorkerThatHangsCostsOnlyItsTimeLimit) {
    CTagWorkers workers({"/bin/sleep", "60"}, 2, 200);
    const auto started = std::chrono::steady_clock::now();
    const std::vector<SongTags> tags = workers.Read({{"/a.mp3", kMp3File}, {"/b.mp3", kMp3File}, {"/c.ogg", kOggFile}});
    ASSERT_EQ(tags.size(), 3u);
    for (const SongTags& song : tags) {
        EXPECT_FALSE(song.parsed);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(workers.Write("/a.mp3", kMp3File, SongTags()));
}

TEST(TagWorkersTest, AMissingOrDyingWorkerReadsNothing) {
    CTagWorkers missing({"/no/such/worker"}, 1, 200);
    EXPECT_FALSE(missing.Read({{"/a.mp3", kMp3File}}).front().parsed);
    CTagWorkers dying({"/bin/sh", "-c", "exit 3"}, 2, 2000);
    const std::vector<SongTags> tags = dying.Read({{"/a.mp3", kMp3File}, {"/b.mp3", kMp3File}, {"/c.mp3", kMp3File}});
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
    const std::vector<SongTags> tags = slow.Read({{before, kOggFile}, {hostile, kOggFile}, {after, kMp3File}});
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].title, "Before");
    EXPECT_FALSE(tags[0].stopped);
    EXPECT_FALSE(tags[1].parsed);
    EXPECT_TRUE(tags[1].stopped);
    EXPECT_EQ(tags[2].title, "After") << "the new worker reads the rest";
}

TEST(TagWorkersTest, ManyWritesAreAnsweredTruthfullyAndInOrderAlsoWhenWorkersEnd) {
    CTagWorkers workers;
    CSongTree tree(workers);
    std::vector<CTagWorkers::TagWrite> writes;
    for (int i = 0; i < 40; ++i) {
        const SongFileType type = i % 2 == 0 ? kMp3File : kOggFile;
        const std::string path =
            tree.AddSong(std::to_string(i) + (type == kMp3File ? ".mp3" : ".ogg"), CSongTree::Tags("Old", "A", "B"));
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
    const CTagWorkers::Ticket one = workers.Request({{first, kMp3File}, {second, kOggFile}});
    const CTagWorkers::Ticket two = workers.Request({{second, kOggFile}});
    EXPECT_THROW(workers.Collect(two), std::logic_error) << "the older read comes first";
    SongTags changed = CSongTree::Tags("Changed", "A", "B");
    EXPECT_TRUE(workers.Write(first, kMp3File, changed)) << "a write while reads are under way";
    EXPECT_EQ(workers.Collect(one).at(1).title, "Second");
    EXPECT_EQ(workers.Collect(two).at(0).title, "Second");
    EXPECT_EQ(workers.Read({{first, kMp3File}}).at(0).title, "Changed");
    EXPECT_TRUE(workers.Read({}).empty());
}

TEST(TagWorkersTest, ResultsComeInTheOrderAsked) {
    CTagWorkers workers;
    CSongTree tree(workers);
    CTagWorkers::Files files;
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

namespace {

TEST(TagWorkersTest, ARatingsWriteLeavesTheTextsAndOtherPlayersReadTheRatingAndPlays) {
    CTagWorkers workers;
    CSongTree tree(workers);
    for (const auto& [name, type] : {std::pair{"a.mp3", kMp3File}, {"b.ogg", kOggFile}}) {
        const std::string path = tree.AddSong(name, CSongTree::Tags("Title", "Artist", "Album"));
        SongTags ratings;
        SongTags read;
        for (ratings.rating = 1; ratings.rating <= 7; ++ratings.rating) {
            ratings.playCount = 10 + ratings.rating;
            ASSERT_EQ(workers.WriteAll({{path, type, ratings, TagWriteMode::RatingsOnly}}, [](std::size_t) {}),
                      std::vector<bool>{true});
            read = workers.Read({{path, type}}).front();
            EXPECT_EQ(read.rating, ratings.rating) << name << ": each step reads back as itself";
            EXPECT_EQ(read.playCount, ratings.playCount) << name;
        }
        EXPECT_EQ(read.title, "Title") << name;
        EXPECT_EQ(read.album, "Album") << name;
        ratings.rating = 0;
        ratings.playCount = 13;
        ASSERT_EQ(workers.WriteAll({{path, type, ratings, TagWriteMode::RatingsOnly}}, [](std::size_t) {}),
                  std::vector<bool>{true});
        read = workers.Read({{path, type}}).front();
        EXPECT_EQ(read.rating, 0) << name << ": unrated again";
        EXPECT_EQ(read.playCount, 13) << name;
    }
}

}  // namespace

namespace {

TEST(TagWorkersTest, AnOggsAudioKeyStaysWhenItsCommentsGrowLargerThanWhatIsReadAtOnce) {
    CTagWorkers workers;
    CSongTree tree(workers);
    tree.AddFile("tone.ogg", ReadFile(std::string(CADENZO_TEST_DATA) + "/tone.ogg"));
    const std::string path = tree.Path("tone.ogg");
    const std::string key = workers.Read({{path, kOggFile}}).front().audioKey;
    ASSERT_FALSE(key.empty());
    SongTags tags = CSongTree::Tags("Title", "Artist", "Album");
    tags.comment = std::string(300000, 'x');  // several Ogg pages of comments before the audio
    ASSERT_TRUE(workers.Write(path, kOggFile, tags));
    EXPECT_EQ(workers.Read({{path, kOggFile}}).front().audioKey, key);
}

}  // namespace
