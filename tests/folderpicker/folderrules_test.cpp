// The folder picker's rules on real folders.

#include "folderpicker/folderrules.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/asuser.h"
#include "support/tempdir.h"

namespace {

class FolderRulesTest : public ::testing::Test {
protected:
    FolderRulesTest() {
        for (const char* folder : {"Music", "Movies", "PODCASTS", "caf\xE9", "Shared/Jazz"}) {
            std::filesystem::create_directories(m_dir.File(folder));
        }
        WriteFile(m_dir.File("Podcast list.txt"), "");
        WriteFile(m_dir.File("Notes"), "");
    }

    CTempDir m_dir;
    CFolderRules m_rules{m_dir.Path()};
};

TEST(CompletionCaseTest, CapitalsBecomeOneCapitalAndTheLastTypedLetterSetsTheCase) {
    EXPECT_EQ(CompletionCase("PODCASTS", "po"), "Podcasts");
    EXPECT_EQ(CompletionCase("PODCASTS", "p"), "podcasts");
    EXPECT_EQ(CompletionCase("PODCASTS", "P"), "Podcasts");
    EXPECT_EQ(CompletionCase("MY MUSIC", "M"), "MY MUSIC") << "a blank keeps the capitals";
    EXPECT_EQ(CompletionCase("Music", "mU"), "MUSIC");
    EXPECT_EQ(CompletionCase("Music", "Mu"), "Music");
    EXPECT_EQ(CompletionCase("music", "M"), "MUSIC");
}

TEST_F(FolderRulesTest, OneMatchingFolderCompletesTheTypedName) {
    const std::string root = m_dir.Path() + "/";
    auto completion = m_rules.Complete(root + "Mus");
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, root + "Music");
    EXPECT_EQ(completion->addedFrom, root.size() + 3);
    completion = m_rules.Complete("mus");
    ASSERT_TRUE(completion) << "relative to the folder shown, letter case ignored";
    EXPECT_EQ(completion->text, "Music") << "the typed part takes the folder's own name where case counts";
    EXPECT_EQ(completion->addedFrom, 3u);
    completion = m_rules.Complete(root + "Po");
    ASSERT_TRUE(completion) << "the file does not count";
    EXPECT_EQ(completion->text, root + "PODCASTS");
    completion = m_rules.Complete(root + "caf");
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, root + "caf\xE9") << "bytes that are not UTF-8 stay";

    EXPECT_FALSE(m_rules.Complete(root + "M")) << "two folders match";
    EXPECT_FALSE(m_rules.Complete(root + "No")) << "only a file matches";
    EXPECT_FALSE(m_rules.Complete(root + "Shared/")) << "nothing typed";
    EXPECT_FALSE(m_rules.Complete(root + "Shared/.."));
}

TEST_F(FolderRulesTest, TypedPathsAreReadAgainstTheFolderShown) {
    const CScopedEnv home("HOME", m_dir.File("Shared"));
    EXPECT_EQ(m_rules.Resolve("~/Jazz/"), m_dir.File("Shared/Jazz"));
    EXPECT_EQ(m_rules.Resolve("Shared/Jazz/../../Music"), m_dir.File("Music"));
    EXPECT_EQ(m_rules.Resolve("Music "), m_dir.File("Music ")) << "a trailing blank is part of a name";
    EXPECT_TRUE(m_rules.OpensWhileTyping("Shared/"));
    EXPECT_TRUE(m_rules.OpensWhileTyping("/"));
    EXPECT_FALSE(m_rules.OpensWhileTyping("Shared"));
    EXPECT_FALSE(m_rules.OpensWhileTyping("Notes/"));
    ASSERT_TRUE(m_rules.NavigateTo("Shared"));
    EXPECT_EQ(m_rules.FolderPath(), m_dir.File("Shared") + "/");
    EXPECT_FALSE(m_rules.NavigateTo("../Notes"));
    EXPECT_EQ(m_rules.Subfolders(), std::vector<std::string>{"Jazz"});
}

TEST_F(FolderRulesTest, HiddenFoldersListAfterTheOthersAndCompleteOnlyFromADot) {
    std::filesystem::create_directories(m_dir.File(".config"));
    std::filesystem::create_directories(m_dir.File(".Mail"));
    EXPECT_EQ(m_rules.Subfolders(),
              (std::vector<std::string>{"caf\xE9", "Movies", "Music", "PODCASTS", "Shared", ".config", ".Mail"}));
    EXPECT_FALSE(m_rules.Complete("Ma"));
    const auto completion = m_rules.Complete(".m");
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, ".Mail");
}

TEST_F(FolderRulesTest, OpenAcceptsFoldersRefusesFilesAndAsksToCreateTheRest) {
    OpenCheck check = m_rules.CheckOpen("");
    EXPECT_EQ(check.outcome, OpenCheck::kAccept);
    EXPECT_EQ(check.folder, m_dir.Path()) << "the folder shown";
    check = m_rules.CheckOpen("Music/");
    EXPECT_EQ(check.outcome, OpenCheck::kAccept);
    EXPECT_EQ(check.folder, m_dir.File("Music"));
    check = m_rules.CheckOpen("Notes");
    EXPECT_EQ(check.outcome, OpenCheck::kRefuse);
    EXPECT_EQ(check.message, "Notes\nThis is a file not a directory.");
    check = m_rules.CheckOpen("New/Deeper/");
    EXPECT_EQ(check.outcome, OpenCheck::kAskCreate);
    EXPECT_EQ(check.message, "New/Deeper\nThis folder does not exist.\n\nDo you want to create it?");
    std::string reason;
    ASSERT_TRUE(CreateFolderPath(check.folder + "/", reason));
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.File("New/Deeper")));
    EXPECT_EQ(m_rules.CheckEnter("New/Deeper/").outcome, OpenCheck::kAccept);

    EXPECT_FALSE(CreateFolderPath(m_dir.File("Notes/Sub/"), reason));
    EXPECT_EQ(CreateFailedMessage("Notes/Sub", reason),
              "Notes/Sub\nThis folder could not be created: Not a directory.");
    chmod(m_dir.File("Shared").c_str(), 0555);
    EXPECT_EQ(RunAsUnprivileged([&] {
                  std::string why;
                  return CreateFolderPath(m_dir.File("Shared/Blues/"), why) ? "created" : why;
              }),
              "Permission denied");
}

}  // namespace

namespace {

TEST(FolderPlacesTest, TheUsualPlacesThatExistComeFirst) {
    CTempDir home;
    std::filesystem::create_directory(home.File("Music"));
    const std::vector<FolderPlace> places = UsualPlaces(home.Path(), home.File("Music"));
    ASSERT_GE(places.size(), 2u);
    EXPECT_EQ(places[0].folder, home.Path());
    EXPECT_EQ(places[1].name, "Music");
    EXPECT_EQ(UsualPlaces(home.Path(), home.File("Gone")).front().name, "Home");
    EXPECT_TRUE(UsualPlaces(home.Path(), "").size() == places.size() - 1) << "no music folder, no entry";
}

}  // namespace
