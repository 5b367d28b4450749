#include "app/commands.h"

#include <gtest/gtest.h>

#include "app/commandguard.h"
#include "app/startup.h"
#include "engine/engineerror.h"
#include "support/recordingmessagebox.h"

namespace {

TEST(CommandsTest, EnableRulesFollowTheLibraryTheViewAndTheSelection) {
    struct Case {
        int command;
        CommandState state;
        bool enabled;
    };
    const CommandState songs{false, true, false, false};
    const CommandState readOnlySongs{true, true, true, true};
    const CommandState selectedArtists{false, false, true, false};
    const Case cases[] = {
        {kCmdChangeAlbum, songs, true},
        {kCmdChangeArtist, readOnlySongs, false},
        {kCmdAddToCollection, selectedArtists, false},
        {kCmdRemove, songs, false},
        {kCmdRemove, selectedArtists, true},
        {kCmdRemove, readOnlySongs, false},
        {kCmdManageGenres, readOnlySongs, false},
        {kCmdRecalcRatings, songs, true},
        {kCmdDeleteDatabase, readOnlySongs, false},
        {kCmdExportM3u, readOnlySongs, true},
        {kCmdExportM3u, selectedArtists, false},
        {kCmdEditItems, readOnlySongs, true},
        {kCmdEditItems, songs, false},
        {kCmdAbout, readOnlySongs, true},
        {kCmdEditIni, readOnlySongs, true},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(IsCommandEnabled(test.command, test.state), test.enabled) << test.command;
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
}

TEST(CommandsTest, AMissingRuntimePartIsNamed) {
    EXPECT_EQ(MissingRuntimePart("libnosuchtag.so.9", "/bin/true"), "libnosuchtag.so.9 could not be found");
    EXPECT_EQ(MissingRuntimePart(kTagLibrarySoname, "/no/cadenzo-tagworker"),
              "/no/cadenzo-tagworker could not be found");
    EXPECT_EQ(MissingRuntimePart(kTagLibrarySoname, "/bin/true"), std::nullopt);
}

}  // namespace
