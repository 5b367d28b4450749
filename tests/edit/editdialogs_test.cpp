// The Manager and Edit Item dialogs offscreen on a real library, their dialogs answered by a
// script.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <functional>

#include <gtest/gtest.h>

#include "app/commandguard.h"
#include "app/settings.h"
#include "edit/edititemdlg.h"
#include "edit/managerdlg.h"
#include "import/tagworkers.h"
#include "platform/librarylock.h"
#include "support/libraryfixture.h"
#include "support/recordinglauncher.h"
#include "widgets/displaytext.h"

namespace {

class EditDialogsTest : public LibraryFixture {
protected:
    EditDialogsTest() {
        m_alpha = m_db->FindOrAddArtist({0, "Alpha", 0, 0.0});
        m_db->FindOrAddArtist({0, "beta", 0, 0.0});
        m_album = m_db->FindOrAddAlbum({0, m_alpha, "Blue", 0, 0.0, "/m"});
    }

    CCommandContext Context() {
        return {*m_db,
                m_lock,
                m_programSettings,
                m_messages,
                m_launcher,
                [this](QDialog& dialog) {
                    if (m_answers.empty()) {
                        return static_cast<int>(QDialog::Rejected);
                    }
                    const auto answer = m_answers.front();
                    m_answers.pop_front();
                    answer(dialog);
                    return dialog.result();
                },
                [this](const std::function<void()>& command) { RunGuarded(m_messages, command); },
                [this]() -> CTagWorkers& { return m_workers; },
                m_readOnly};
    }
    EditItemFunction RecordEdits() {
        return [this](int kind, std::int32_t id) { edited.emplace_back(kind, id); };
    }

    // An answer that types `text` into the New Item field and accepts.
    static std::function<void(QDialog&)> Type(const char* text) {
        return [text](QDialog& dialog) {
            auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("newItemValue"));
            field->selectAll();
            field->insert(QString::fromUtf8(text));
            dialog.accept();
        };
    }
    // An answer that picks the entry of that text in the dialog's list and accepts.
    static std::function<void(QDialog&)> Choose(const char* text) {
        return [text](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>();
            list->setCurrentItem(list->findItems(QString::fromUtf8(text), Qt::MatchExactly).value(0));
            dialog.accept();
        };
    }

    static void Click(QDialog& dialog, const char* button) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    static QStringList Entries(QDialog& dialog) {
        QStringList texts;
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("managerList"));
        for (int i = 0; i < list->count(); ++i) {
            texts << list->item(i)->text();
        }
        return texts;
    }

    std::int32_t m_alpha = 0;
    std::int32_t m_album = 0;
    std::deque<std::function<void(QDialog&)>> m_answers;
    std::vector<std::pair<int, std::int32_t>> edited;
    CTagWorkers m_workers;
    CLibraryLock m_lock;
    CSettings m_programSettings;
    CRecordingLauncher m_launcher;
    bool m_readOnly = false;
};

TEST_F(EditDialogsTest, ThePickerRenamesAndAddsInPlaceAndPreselectsIgnoringCase) {
    NameList names;
    IdList ids;
    m_db->FillNameList(names, ids, "Artists", "Name", "ID");
    CManagerDlg picker(Context(), names, ids, "ALPHA", kArtistItem, "Pick an Artist", kManagerPicker);
    EXPECT_FALSE(picker.findChild<QPushButton*>(QStringLiteral("removeButton"))->isEnabled());
    m_answers = {Type("Alfa O'Neil"), Type("Gamma")};
    Click(picker, "renameButton");
    EXPECT_EQ(m_db->GetItemName(kArtistItem, m_alpha), "Alfa O'Neil") << "the library changes at once";
    EXPECT_EQ(names[0], "Alfa O'Neil");
    Click(picker, "newButton");
    EXPECT_EQ(names.back(), "Gamma");
    EXPECT_EQ(ids.back(), m_db->FindArtistId("Gamma"));
    picker.accept();
    EXPECT_EQ(picker.ChosenName(), "Gamma") << "the new entry is selected";
}

TEST_F(EditDialogsTest, TheAlbumManagerAddsWithAnArtistAndRemovesOnlyAfterAsking) {
    CManagerDlg manager(Context(), RecordEdits(), kAlbumItem, "Manage Albums", kManagerAll);
    EXPECT_EQ(Entries(manager), (QStringList{QStringLiteral("Alpha - Blue")}));
    m_answers = {Type("Green"), Choose("beta")};
    Click(manager, "newButton");
    EXPECT_EQ(Entries(manager), (QStringList{QStringLiteral("Alpha - Blue"), QStringLiteral("beta - Green")}));
    EXPECT_NE(m_db->FindAlbumId("Green", m_db->FindArtistId("beta")), 0);
    auto* list = manager.findChild<QListWidget*>(QStringLiteral("managerList"));
    EXPECT_TRUE(list->selectedItems().isEmpty()) << "no entry equals the bare album name";
    list->setCurrentRow(1);
    Click(manager, "editButton");
    EXPECT_EQ(edited, (std::vector<std::pair<int, std::int32_t>>{{kAlbumItem, m_db->FindAlbumId("Green", 2)}}));

    list->setCurrentRow(0);
    m_messages.answers = {false, true};
    Click(manager, "deepRemoveButton");
    Click(manager, "deepRemoveButton");
    EXPECT_EQ(m_messages.asked.at(0), "Are you sure you want to remove \"Alpha - Blue\" and any subitems?");
    EXPECT_EQ(Entries(manager), (QStringList{QStringLiteral("beta - Green")}));
}

TEST_F(EditDialogsTest, SeveralSongsShowNeitherTitleNorTrackAndAReadOnlyOkWritesNothing) {
    SongRecord song;
    song.name = "Kept";
    song.artistId = m_alpha;
    song.filePath = "/m/missing.mp3";
    const std::int32_t id = m_db->FindOrAddSong(song);
    CItemEdit edit(*m_db, m_workers, kSeveralSongsItem, {id});
    m_readOnly = true;
    CEditItemDlg dialog(edit, Context());
    dialog.show();
    EXPECT_FALSE(dialog.findChild<QLineEdit*>(QStringLiteral("titleEdit"))->isVisible());
    EXPECT_FALSE(dialog.findChild<QLineEdit*>(QStringLiteral("trackEdit"))->isVisible());
    auto* artist = dialog.findChild<QLineEdit*>(QStringLiteral("artistEdit"));
    EXPECT_TRUE(artist->isReadOnly());
    m_answers = {Choose("beta")};
    Click(dialog, "artistPick");
    EXPECT_EQ(artist->text(), QStringLiteral("beta"));
    Click(dialog, "okButton");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_db->ReadSong(id).artistId, m_alpha) << "read-only: nothing written";
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST(LineEditBytesTest, AFieldHoldsWhatItShowsAndAnUntouchedOneItsBytes) {
    QLineEdit year(DisplayText("0"));
    EXPECT_EQ(LineEditBytes(&year, "0"), "0");
    year.setText(QStringLiteral("1987"));  // as the accessibility bus sets it: not typed
    EXPECT_EQ(LineEditBytes(&year, "0"), "1987");
    const std::string latin1 = "Caf\xE9";
    const QLineEdit untouched(DisplayText(latin1));
    EXPECT_EQ(LineEditBytes(&untouched, latin1), latin1) << "the stored bytes, not their display text";
}

}  // namespace
