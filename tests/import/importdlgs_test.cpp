// The import questions and the progress window offscreen.

#include "import/importdlgs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "import/songfile.h"

namespace {

std::vector<CSongFile> Songs(const std::vector<std::string>& paths) {
    std::vector<CSongFile> songs(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        songs[i].Assign(paths[i], SongTags{});
    }
    return songs;
}

template <typename Widget>
Widget* Find(QWidget& dialog, const char* name) {
    return dialog.findChild<Widget*>(QString::fromLatin1(name));
}

TEST(ImportDialogsTest, TheUntaggedQuestionEnablesAndReadsOnlyTheChosenOption) {
    UntaggedAnswer given;
    given.artistName = "Art";
    given.albumName = given.collectionName = "R&B";
    CImportUntaggedDlg dialog("/m/R&B", Songs({"/m/R&B/b.mp3", "/m/R&B/A.ogg", "/m/R&B/c.mp3"}),
                              "Cadenzo found untagged songs", given);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Import Untagged Files"));
    EXPECT_TRUE(Find<QRadioButton>(dialog, "oneCollectionOption")->isChecked());
    auto* list = Find<QListWidget>(dialog, "songList");
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("A.ogg"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("c.mp3"));

    QTest::mouseClick(Find<QRadioButton>(dialog, "oneAlbumOption"), Qt::LeftButton);
    EXPECT_TRUE(Find<QLineEdit>(dialog, "artistNameEdit")->isEnabled());
    Find<QCheckBox>(dialog, "updateTagsCheck")->setChecked(true);
    QTest::mouseClick(Find<QRadioButton>(dialog, "unsortedOption"), Qt::LeftButton);
    for (const char* name : {"oneAlbumOption", "oneCollectionOption", "doNotAddOption"}) {
        EXPECT_FALSE(Find<QRadioButton>(dialog, name)->isChecked()) << name;
    }
    for (const char* name : {"artistNameEdit", "albumNameEdit", "collectionNameEdit"}) {
        EXPECT_FALSE(Find<QLineEdit>(dialog, name)->isEnabled()) << name;
    }
    EXPECT_FALSE(Find<QCheckBox>(dialog, "updateTagsCheck")->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.Answer().option, kUntaggedUnsortedFiles);
    EXPECT_FALSE(dialog.Answer().updateTags);
}

TEST(ImportDialogsTest, TheUnknownQuestionReturnsTheChosenOptionsName) {
    UnknownAnswer given;
    given.option = kUnknownOneAlbum;
    given.name = "Caf\xE9";
    CImportUnknownDlg dialog("Artist", "/m/x", Songs({"/m/x/a.mp3"}),
                             "Cadenzo found only a few songs in this directory", given);
    dialog.show();
    QTest::keyClicks(Find<QLineEdit>(dialog, "albumNameEdit"), QStringLiteral(" typed"));
    Find<QCheckBox>(dialog, "updateTagsCheck")->setChecked(true);
    QTest::mouseClick(Find<QRadioButton>(dialog, "oneCollectionOption"), Qt::LeftButton);
    EXPECT_FALSE(Find<QCheckBox>(dialog, "updateTagsCheck")->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.Answer().option, kUnknownOneCollection);
    EXPECT_EQ(dialog.Answer().name, "Caf\xE9") << "the collection edit, as given, byte for byte";
    EXPECT_FALSE(dialog.Answer().updateTags);
    // For a screen reader: one choice of radio buttons, and fields named after what they hold.
    EXPECT_EQ(Find<QRadioButton>(dialog, "oneAlbumOption")->group(),
              Find<QRadioButton>(dialog, "doNotAddOption")->group());
    EXPECT_TRUE(Find<QRadioButton>(dialog, "oneAlbumOption")->group()->exclusive());
    EXPECT_EQ(Find<QLineEdit>(dialog, "collectionNameEdit")->accessibleName(), QStringLiteral("Collection name"));
}

TEST(ImportDialogsTest, TheProgressWindowShowsAmpersandsAndCancelStopsTheWalk) {
    QWidget parent;
    CImportDialogs dialogs([](QDialog&) { return QDialog::Rejected; }, &parent);
    dialogs.ShowProgress("Importing /m/R&B");
    dialogs.FolderTotal(4);
    dialogs.FolderDone(12);
    CProcessingDlg& progress = dialogs.Progress();
    UnknownAnswer answer;
    EXPECT_FALSE(dialogs.AskUnknown("A", "/m", {}, "?", answer)) << "closed without OK";
    // Shown at the latest when a question comes.
    EXPECT_EQ(Find<QProgressBar>(progress, "progressBar")->value(), 1);
    EXPECT_EQ(Find<QProgressBar>(progress, "progressBar")->maximum(), 4);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(Find<QLabel>(progress, "progressTitle")->text(), QStringLiteral("Importing Files"));
    EXPECT_EQ(Find<QLabel>(progress, "progressLine")->text(), QStringLiteral("Importing /m/R&B"));
    EXPECT_EQ(Find<QLabel>(progress, "progressCounts")->text(), QStringLiteral("1 folder, 12 songs imported so far"));
    EXPECT_FALSE(dialogs.StopRequested());
    QTest::mouseClick(Find<QPushButton>(progress, "cancelImportButton"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.StopRequested());
}

}  // namespace
