#include "platform/privateprofile.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/asuser.h"
#include "support/tempdir.h"

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
    std::string Read(const std::string& section, const std::string& key, std::size_t buffer = 1024) {
        return ReadProfileString(section, key, "x", buffer, m_path);
    }

    CTempDir m_dir;
    std::string m_path = m_dir.File("test.ini");
};

TEST_F(PrivateProfileTest, ReadsLfCrlfAndByteOrderMarkAlike) {
    for (const std::string& text :
         {std::string("[A]\nkey = value \nother=1\n"), std::string("[A]\r\nkey = value \r\nother=1\r\n"),
          std::string("\xEF\xBB\xBF[A]\r\nkey = value \r\nother=1")}) {
        WriteFile(m_path, text);
        EXPECT_EQ(Read("A", "key"), "value");
        EXPECT_EQ(Read("a", "KEY"), "value") << "names ignore letter case";
        EXPECT_EQ(Read("A", "other"), "1");
        EXPECT_EQ(Read("A", "missing"), "x");
        EXPECT_EQ(Read("B", "key"), "x");
    }
}

TEST_F(PrivateProfileTest, MissingFileGivesTheDefault) {
    EXPECT_EQ(ReadProfileString("A", "key", "fallback", 1024, m_path), "fallback");
}

TEST_F(PrivateProfileTest, OddLinesAndDuplicatesDoNotConfuseLookups) {
    WriteFile(m_path,
              "junk before any section\n[A]\nno equals sign\n; key=commented\nkey=first\nkey=second\n"
              "[A]\nlater=here\nempty=\n[B]\nkey=b");
    EXPECT_EQ(Read("A", "key"), "first");
    EXPECT_EQ(Read("A", "later"), "here") << "a repeated section is searched too";
    EXPECT_EQ(Read("A", "empty"), "");
    EXPECT_EQ(Read("A", "no equals sign"), "x");
    EXPECT_EQ(Read("B", "key"), "b") << "last line without a line end";
}

TEST_F(PrivateProfileTest, ValuesAreCutToTheBufferWithoutSplittingCharacters) {
    WriteFile(m_path, "[A]\nlong=" + std::string(2000, 'a') + "\nutf8=" + std::string(253, 'b') + "\xC3\xA9\n" +
                          "nul=ab" + std::string(1, '\0') + "cd\n");
    EXPECT_EQ(Read("A", "long").size(), 1023u);
    EXPECT_EQ(Read("A", "long", 255).size(), 254u);
    EXPECT_EQ(Read("A", "utf8", 255), std::string(253, 'b')) << "the two-byte letter does not fit whole";
    EXPECT_EQ(Read("A", "nul"), "ab");
}

TEST_F(PrivateProfileTest, BinaryJunkReadsAsMissingKeys) {
    std::string junk;
    for (int i = 0; i < 70000; ++i) {
        junk += static_cast<char>((i * 7919) % 256);
    }
    WriteFile(m_path, junk);
    EXPECT_EQ(Read("Database", "Database"), "x");
    ASSERT_TRUE(WriteProfileString("Database", "Database", "lib.mdb", m_path));
    EXPECT_EQ(Read("Database", "Database"), "lib.mdb");
    EXPECT_EQ(ReadFile(m_path).substr(0, junk.size()), junk) << "the junk stays";
}

TEST_F(PrivateProfileTest, WriteCreatesFileSectionAndKey) {
    ASSERT_TRUE(WriteProfileString("A", "key", "", m_path));
    EXPECT_EQ(ReadFile(m_path), "[A]\nkey=\n");
    ASSERT_TRUE(WriteProfileString("A", "second", "2", m_path));
    ASSERT_TRUE(WriteProfileString("B", "key", "b", m_path));
    ASSERT_TRUE(WriteProfileString("A", "key", "changed", m_path));
    EXPECT_EQ(ReadFile(m_path), "[A]\nkey=changed\nsecond=2\n[B]\nkey=b\n");
}

TEST_F(PrivateProfileTest, WriteKeepsEverythingElseAndTheLineEnds) {
    const std::string original = "\xEF\xBB\xBF; my settings\r\n[A]\r\nkey=old\r\nmine=kept\r\n\r\n[Other]\r\nx=1\r\n";
    WriteFile(m_path, original);
    ASSERT_TRUE(WriteProfileString("A", "key", "new", m_path));
    ASSERT_TRUE(WriteProfileString("A", "added", "3", m_path));
    ASSERT_TRUE(WriteProfileString("C", "k", "v", m_path));
    EXPECT_EQ(ReadFile(m_path),
              "\xEF\xBB\xBF; my settings\r\n[A]\r\nkey=new\r\nmine=kept\r\nadded=3\r\n\r\n[Other]\r\nx=1\r\n"
              "[C]\r\nk=v\r\n");
}

TEST_F(PrivateProfileTest, WriteToAFileWithoutFinalLineEnd) {
    WriteFile(m_path, "[A]\nkey=1");
    ASSERT_TRUE(WriteProfileString("A", "other", "2", m_path));
    ASSERT_TRUE(WriteProfileString("B", "k", "v", m_path));
    EXPECT_EQ(ReadFile(m_path), "[A]\nkey=1\nother=2\n[B]\nk=v\n");
}

TEST_F(PrivateProfileTest, RefusesTextsThatWouldInjectLines) {
    WriteFile(m_path, "[A]\nkey=1\n");
    EXPECT_FALSE(WriteProfileString("A", "key", "2\n[Database]\nDatabase=/etc/passwd", m_path));
    EXPECT_FALSE(WriteProfileString("A", "k=ey", "1", m_path));
    EXPECT_FALSE(WriteProfileString("A]\n[B", "key", "1", m_path));
    EXPECT_EQ(ReadFile(m_path), "[A]\nkey=1\n");
}

TEST_F(PrivateProfileTest, KeepsPermissionsAndFollowsLinks) {
    WriteFile(m_path, "[A]\nkey=1\n");
    chmod(m_path.c_str(), 0640);
    const std::string link = m_dir.File("link.ini");
    ASSERT_EQ(symlink(m_path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(WriteProfileString("A", "key", "2", link));
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
    ASSERT_EQ(stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(Read("A", "key"), "2");
}

TEST_F(PrivateProfileTest, FailedWritesLeaveTheFileAsItWas) {
    const std::string original = "[A]\nkey=" + std::string(10000, 'v') + "\n";
    WriteFile(m_path, original);

    const std::string full = RunWithFileSizeLimit(
        8, [&] { return WriteProfileString("A", "key", "short", m_path) ? "written" : "refused"; });
    EXPECT_EQ(full, "refused");
    EXPECT_EQ(ReadFile(m_path), original);

    chmod(m_dir.Path().c_str(), 0555);
    const std::string readOnlyFolder =
        RunAsUnprivileged([&] { return WriteProfileString("A", "key", "short", m_path) ? "written" : "refused"; });
    chmod(m_dir.Path().c_str(), 0777);
    EXPECT_EQ(readOnlyFolder, "refused");
    EXPECT_EQ(ReadFile(m_path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1) << "no temporary file left";

    // What a killed save left behind goes at the next save; a live save's file, and others, stay.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const char* name : {".cadenzo-Ab12Cd", ".cadenzo-Young1", ".cadenzo-toolong", ".backup"}) {
        WriteFile(m_path + name, "x");
        std::filesystem::last_write_time(m_path + name, old);
    }
    std::filesystem::last_write_time(m_path + ".cadenzo-Young1", std::filesystem::file_time_type::clock::now());
    ASSERT_TRUE(WriteProfileString("A", "key", "short", m_path));
    EXPECT_FALSE(std::filesystem::exists(m_path + ".cadenzo-Ab12Cd"));
    for (const char* kept : {".cadenzo-Young1", ".cadenzo-toolong", ".backup"}) {
        EXPECT_TRUE(std::filesystem::exists(m_path + kept)) << kept;
    }
}

TEST_F(PrivateProfileTest, LargeFilesWork) {
    std::string big = "[Big]\n";
    while (big.size() < 50u * 1024 * 1024) {
        big += "filler" + std::to_string(big.size()) + "=some value that takes room\n";
    }
    WriteFile(m_path, big + "[A]\nkey=1\n");
    EXPECT_EQ(Read("A", "key"), "1");
    ASSERT_TRUE(WriteProfileString("A", "key", "2", m_path));
    EXPECT_EQ(Read("A", "key"), "2");
    EXPECT_EQ(ReadFile(m_path).size(), big.size() + 10);
}

}  // namespace
