// The folder picker offscreen: typing with completion, Enter, the list, Open.

#include "folderpicker/folderpickerdlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/recordingmessagebox.h"
#include "support/tempdir.h"

namespace {

TEST(FolderPickerTest, TypingCompletesOpensAndCreatesFoldersAndOnlyOpenEndsIt) {
    CTempDir dir;
    for (const char* folder : {"Music", "Movies", "caf\xE9/Jazz"}) {
        std::filesystem::create_directories(dir.File(folder));
    }
    WriteFile(dir.File("notes.txt"), "");
    CRecordingMessageBox messages;
    CFolderPickerDlg picker(dir.Path(), messages);
    picker.show();
    auto* field = picker.findChild<QLineEdit*>(QStringLiteral("folderEdit"));
    auto* list = picker.findChild<QListWidget*>(QStringLiteral("folderList"));
    const QString root = QString::fromStdString(dir.Path() + "/");
    EXPECT_EQ(field->text(), root);
    EXPECT_EQ(field->selectedText(), QString()) << field->hasFocus();
    EXPECT_EQ(list->count(), 4) << ".., caf\xC3\xA9, Movies, Music";

    QTest::keyClicks(field, QStringLiteral("M"));
    EXPECT_EQ(field->text(), root + QStringLiteral("M")) << "two folders match";
    QTest::keyClicks(field, QStringLiteral("u"));
    EXPECT_EQ(field->text(), root + QStringLiteral("Music"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("sic"));
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, QStringLiteral("/"));
    EXPECT_EQ(picker.FolderPath(), dir.File("Music") + "/") << "a trailing / opens the folder at once";
    EXPECT_EQ(list->count(), 1);

    field->setText(QString::fromStdString(dir.File("New")));
    messages.answers = {false, true};
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(std::filesystem::exists(dir.File("New")));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(messages.asked.size(), 2u);
    EXPECT_EQ(messages.asked[1], dir.File("New") + "\nThis folder does not exist.\n\nDo you want to create it?");
    EXPECT_EQ(picker.FolderPath(), dir.File("New") + "/") << "created and opened";
    EXPECT_TRUE(picker.isVisible()) << "Enter never ends the dialog";

    field->setText(QString::fromStdString(dir.File("notes.txt")));
    QTest::mouseClick(picker.findChild<QPushButton*>(QStringLiteral("openButton")), Qt::LeftButton);
    EXPECT_EQ(messages.shown, std::vector<std::string>{dir.File("notes.txt") + "\nThis is a file not a directory."});
    EXPECT_TRUE(picker.isVisible());

    field->setText(QString::fromStdString(dir.Path()));
    QTest::keyClick(field, Qt::Key_Return);
    const auto items = list->findItems(QString::fromUtf8("caf\xC3\xA9"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    list->setCurrentItem(items[0]);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(picker.FolderPath(), dir.File("caf\xE9") + "/") << "a name that is not UTF-8 comes back byte for byte";
    EXPECT_TRUE(picker.isVisible()) << "Enter in the list opens the folder, not the dialog's Open";
    field->clear();
    QTest::mouseClick(picker.findChild<QPushButton*>(QStringLiteral("openButton")), Qt::LeftButton);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.FolderPath(), dir.File("caf\xE9") + "/") << "an empty field takes the folder shown";
}

}  // namespace
