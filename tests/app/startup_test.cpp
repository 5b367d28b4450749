#include "app/startup.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "support/asuser.h"
#include "support/recordingmessagebox.h"
#include "support/tempdir.h"

namespace {

class StartupTest : public ::testing::Test {
protected:
    // Opens the library as start-up does, in a child process running as an unprivileged user;
    // tells what happened.
    std::string OpenAsUser() {
        return RunAsUnprivileged([] {
            CRecordingMessageBox messages;
            const CSettings settings;
            const COpenedLibrary library = OpenLibrary(settings, messages);
            std::string outcome = library.IsUsable() ? "open" : "closed";
            outcome += library.readOnly ? " read-only" : " writable";
            for (const std::string& message : messages.shown) {
                outcome += " | " + message;
            }
            return outcome;
        });
    }

    CTempDir m_dir;
    CWorkingDirectory m_cwd{m_dir.Path()};
};

TEST_F(StartupTest, FirstRunCreatesAWritableLibrary) {
    CRecordingMessageBox messages;
    const CSettings settings;
    const COpenedLibrary library = OpenLibrary(settings, messages);
    EXPECT_TRUE(library.IsUsable());
    EXPECT_FALSE(library.readOnly);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(library.db->GetVersion(), 1);
}

TEST_F(StartupTest, AnEmptyDatabasePathIsReported) {
    CSettings().WriteString("Database", "Database", "");
    CRecordingMessageBox messages;
    const CSettings settings;
    const COpenedLibrary library = OpenLibrary(settings, messages);
    EXPECT_FALSE(library.IsUsable());
    EXPECT_EQ(library.db, nullptr);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Error: Couldn't find directory at path \"\""});
}

TEST_F(StartupTest, ReadOnlyFilesAndFoldersOpenReadOnly) {
    CRecordingMessageBox messages;
    OpenLibrary(CSettings(), messages);
    chmod(m_dir.File("Cadenzo.ini").c_str(), 0666);
    chmod(m_dir.File("Cadenzo.mdb").c_str(), 0444);
    EXPECT_EQ(OpenAsUser(), "open read-only");

    chmod(m_dir.File("Cadenzo.mdb").c_str(), 0666);
    chmod(m_dir.Path().c_str(), 0555);
    EXPECT_EQ(OpenAsUser(), "open read-only") << "the folder has no room for a journal";

    chmod(m_dir.Path().c_str(), 0777);
    EXPECT_EQ(OpenAsUser(), "open writable");
}

TEST_F(StartupTest, ExclusiveCreatesAMissingFileButCountsAsReadOnly) {
    CSettings().WriteString("Exclusive", "Database", "1");
    CRecordingMessageBox messages;
    const CSettings settings;
    const COpenedLibrary library = OpenLibrary(settings, messages);
    EXPECT_TRUE(library.IsUsable());
    EXPECT_TRUE(library.readOnly);
    EXPECT_EQ(library.db->GetVersion(), 1);
}

}  // namespace
