#include "app/settings.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    CTempDir m_dir;
    CWorkingDirectory m_cwd{m_dir.Path()};
    std::string m_ini = m_dir.File("Cadenzo.ini");
};

TEST_F(SettingsTest, FirstRunWritesTheDefaultsInOrder) {
    const CSettings settings;
    EXPECT_EQ(settings.GetIniPath(), m_ini);
    EXPECT_EQ(ReadFile(m_ini),
              "[Media Players]\nMP3 Player=\nEnqueue Flag=/ADD\n"
              "[Database]\nDatabase=Cadenzo.mdb\nExclusive=0\n"
              "[Filenames]\nUse Song Network Translation=0\nSong Network Translation 1 From=C:\\Music\n"
              "Song Network Translation 1 To=M:\\\n"
              "[Editors]\nText Editor=xdg-open\n"
              "[Settings]\nTreat Unrated Songs As Rating=3\nMinimum Song Ask Threshold=3\n");
    EXPECT_EQ(settings.GetPlayerPath(), "");
    EXPECT_EQ(settings.GetEnqueueFlag(), " /ADD ");
    EXPECT_EQ(settings.GetDatabasePath(), "Cadenzo.mdb");
    EXPECT_FALSE(settings.IsExclusive());
    EXPECT_FALSE(settings.UseNetworkTranslation());
    EXPECT_EQ(settings.GetTranslationFrom(), "C:\\Music");
    EXPECT_EQ(settings.GetTranslationTo(), "M:\\");
    EXPECT_EQ(settings.GetTextEditor(), "xdg-open");
    EXPECT_EQ(settings.GetUnratedAsRating(), 3);
    EXPECT_EQ(settings.GetMinSongAskThreshold(), 3);
    EXPECT_FALSE(settings.IgnoreSplash());
}

TEST_F(SettingsTest, UserValuesSurviveTheDefaults) {
    WriteFile(m_ini,
              "; my player\r\n[Media Players]\r\nMP3 Player=/usr/bin/mpv\r\nEnqueue Flag=\r\n"
              "[Database]\r\nDatabase=x\r\nExclusive=\r\n[Settings]\r\nIgnore Splash=1\r\n"
              "Treat Unrated Songs As Rating=abc\r\nMy Own Key=kept\r\n[Extra]\r\nfoo=bar\r\n");
    const CSettings settings;
    const std::string text = ReadFile(m_ini);
    EXPECT_EQ(settings.GetPlayerPath(), "/usr/bin/mpv");
    EXPECT_EQ(settings.GetEnqueueFlag(), "  ") << "an empty string value is not overwritten";
    EXPECT_EQ(settings.GetDatabasePath(), "Cadenzo.mdb") << "a value of x counts as missing";
    EXPECT_NE(text.find("Exclusive=0\r\n"), std::string::npos) << "an empty boolean gets its default";
    EXPECT_TRUE(settings.IgnoreSplash());
    EXPECT_EQ(settings.GetUnratedAsRating(), 0);
    EXPECT_NE(text.find("; my player\r\n"), std::string::npos);
    EXPECT_NE(text.find("My Own Key=kept\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Extra]\r\nfoo=bar\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\n', 0), text.find("\r\n", 0) + 1) << "the file keeps its CRLF line ends";
}

TEST_F(SettingsTest, ReadsBooleansAndNumbersAsDefined) {
    const CSettings settings;
    CIniFile ini(m_ini, false);
    int value = -1;
    for (const auto& [text, expected] : {std::pair{"yes", true}, {"1", true}, {"0", false}, {"00", false}}) {
        ini.WriteString("Exclusive", "Database", text);
        EXPECT_EQ(settings.IsExclusive(), expected) << text;
    }
    for (const auto& [text, expected] :
         {std::pair{" -12abc", -12}, {"+7", 7}, {"abc", 0}, {"99999999999", 2147483647}}) {
        ini.WriteString("N", "S", text);
        EXPECT_TRUE(ini.ReadInt("N", "S", value));
        EXPECT_EQ(value, expected) << text;
    }
    EXPECT_FALSE(ini.ReadInt("Missing", "S", value));
    EXPECT_EQ(value, 0);
}

TEST_F(SettingsTest, TheFileStaysWhereTheProgramStarted) {
    CSettings().WriteString("Database", "Database", "moved.mdb");
    CTempDir elsewhere;
    std::filesystem::current_path(elsewhere.Path());  // as a walk of music folders might
    EXPECT_EQ(CSettings().GetDatabasePath(), "moved.mdb");
    EXPECT_FALSE(std::filesystem::exists(elsewhere.File("Cadenzo.ini")));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenReadsAsMissing) {
    CIniFile ini(m_dir.File("no such folder/Cadenzo.ini"), false);
    EXPECT_FALSE(ini.WriteString("Database", "Database", "lib.mdb"));
    std::string value = "untouched";
    EXPECT_FALSE(ini.ReadString("Database", "Database", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(ini.ReadBool("Exclusive", "Database"));
}

}  // namespace
