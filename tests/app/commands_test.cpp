#include "app/commands.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "app/commandguard.h"
#include "app/commandline.h"
#include "app/startup.h"
#include "engine/engineerror.h"
#include "support/recordingmessagebox.h"

namespace {

TEST(CommandsTest, EnableRulesFollowTheLibraryTheViewAndTheSelection) {
    struct Case {
        Command command;
        CommandState state;
        bool enabled;
    };
    const CommandState songs{false, true, false, false};
    const CommandState readOnlySongs{true, true, true, true};
    const CommandState selectedArtists{false, false, true, false};
    const Case cases[] = {
        {Command::ChangeAlbum, songs, true},
        {Command::ChangeArtist, readOnlySongs, false},
        {Command::AddToCollection, selectedArtists, false},
        {Command::Remove, songs, false},
        {Command::Remove, selectedArtists, true},
        {Command::Remove, readOnlySongs, false},
        {Command::ManageGenres, readOnlySongs, false},
        {Command::RecalcRatings, songs, true},
        {Command::DeleteDatabase, readOnlySongs, false},
        {Command::ExportM3u, readOnlySongs, true},
        {Command::ExportM3u, selectedArtists, false},
        {Command::EditItems, readOnlySongs, true},
        {Command::EditItems, songs, false},
        {Command::About, readOnlySongs, true},
        {Command::EditIni, readOnlySongs, true},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(IsCommandEnabled(test.command, test.state), test.enabled) << static_cast<int>(test.command);
    }
}

TEST(CommandsTest, AFailingCommandShowsItsDescriptionAndEnds) {
    CRecordingMessageBox messages;
    bool after = false;
    EXPECT_FALSE(RunGuarded(messages, [&] {
        throw CEngineError("disk I/O error");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"disk I/O error"});
    EXPECT_TRUE(RunGuarded(messages, [] {}));
    EXPECT_FALSE(RunGuarded(messages, [] { std::filesystem::current_path("/no/such/folder"); }));
    EXPECT_EQ(messages.shown.back().rfind("Error: filesystem error", 0), 0U) << messages.shown.back();
}

TEST(CommandsTest, TheCommandLineAsksForHelpTheVersionOrAFolder) {
    using Action = CommandLine::Action;
    EXPECT_EQ(ReadCommandLine({}).action, Action::Run);
    EXPECT_EQ(ReadCommandLine({"/music lib"}).folder, "/music lib");
    EXPECT_EQ(ReadCommandLine({"-platform", "offscreen", "--help"}).action, Action::Help);
    EXPECT_EQ(ReadCommandLine({"-h"}).action, Action::Help);
    EXPECT_EQ(ReadCommandLine({"--version"}).action, Action::Version);
    EXPECT_EQ(ReadCommandLine({"--bogus"}).problem, "unknown option '--bogus'");
    EXPECT_EQ(ReadCommandLine({"a", "b"}).action, Action::Refuse);
    EXPECT_EQ(ReadCommandLine({"-"}).folder, "-") << "a folder named '-'";
    EXPECT_EQ(VersionText(), "Cadenzo 0.55\n");
}

TEST(CommandsTest, AMissingRuntimePartIsNamed) {
    EXPECT_EQ(MissingRuntimePart("libnosuchtag.so.9", "/bin/true"), "libnosuchtag.so.9 could not be found");
    EXPECT_EQ(MissingRuntimePart(kTagLibrarySoname, "/no/cadenzo-tagworker"),
              "/no/cadenzo-tagworker could not be found");
    EXPECT_EQ(MissingRuntimePart(kTagLibrarySoname, "/bin/true"), std::nullopt);
}

}  // namespace
