// The library grid on a real library, offscreen: fill, sort, rate, switch, drill down, Back.

#include <QAccessible>
#include <QComboBox>
#include <QTest>

#include <cmath>

#include <gtest/gtest.h>

#include "app/commandguard.h"
#include "browse/librarygrid.h"
#include "browse/librarywindow.h"
#include "db/dbtable.h"
#include "grid/gridcellcheck.h"
#include "grid/gridcellcombo.h"
#include "support/libraryfixture.h"

namespace {

class CFakeLibraryWindow : public CLibraryWindow {
public:
    ViewFilters CurrentFilters() const override { return filters; }
    void UpdateControls(const DisplayMode& view) override { updated.push_back(view); }
    void SelectTreeEntry(int entry) override { treeEntries.push_back(entry); }
    bool IsReadOnly() const override { return readOnly; }
    CMessageBox& Messages() override { return messages; }
    void RunCommand(const std::function<void()>& command) override { RunGuarded(messages, command); }
    bool PlayQuery(const std::string& sql) override {
        queries.push_back(sql);
        return true;
    }
    bool PlaySong(std::int32_t id) override {
        played.push_back(id);
        return true;
    }
    bool PlayListedSongs() override {
        ++listedPlays;
        return true;
    }
    bool EditItem(ItemKind kind, std::int32_t id) override {
        edited.emplace_back(kind, id);
        return true;
    }

    ViewFilters filters;
    bool readOnly = false;
    CRecordingMessageBox messages;
    std::vector<DisplayMode> updated;
    std::vector<int> treeEntries;
    std::vector<std::int32_t> played;
    std::vector<std::string> queries;
    int listedPlays = 0;
    std::vector<std::pair<int, std::int32_t>> edited;
};

class LibraryGridTest : public LibraryFixture {
protected:
    LibraryGridTest() {
        m_beatles = m_db->FindOrAddArtist({0, "The Beatles", 0, 0.0});
        m_loner = m_db->FindOrAddArtist({0, "Loner", 0, 0.0});
        m_abbey = m_db->FindOrAddAlbum({0, m_beatles, "Abbey Road", 0, 0.0, "/m/abbey"});
        m_help = m_db->FindOrAddAlbum({0, m_beatles, "Help!", 7, 0.0, "/m/help"});
        AddSong("Come Together", m_beatles, m_abbey, "1", "4:20", 6, false);
        AddSong("Something", m_beatles, m_abbey, "2", "10:02", 0, false);
        AddSong("Octopus", m_beatles, m_abbey, "10", "9:59", 3, false);
        AddSong("Yesterday", m_beatles, m_help, "3", "2:05", 5, false);
        m_lonely = AddSong("Alone", m_loner, 0, "1", "3:00", 2, true);
        m_grid = std::make_unique<CLibraryGrid>(m_window, *m_db, m_dir.File("Cadenzo.ini"));
        m_grid->resize(900, 500);
        m_grid->SetupGrid();
        m_grid->show();
    }

    std::int32_t AddSong(const std::string& name, std::int32_t artist, std::int32_t album, const char* track,
                         const char* length, int rating, bool unsorted) {
        SongRecord song;
        song.name = name;
        song.artistId = artist;
        song.albumId = album;
        song.track = track;
        song.length = length;
        song.userRating = static_cast<std::int16_t>(rating);
        song.unsorted = unsorted;
        song.filePath = "/m/" + name + ".mp3";
        return m_db->FindOrAddSong(song);
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int row = 1; row < m_grid->GetRowTotal(); ++row) {
            texts.push_back(m_grid->GetCellText(row, column));
        }
        return texts;
    }

    void DoubleClick(int row, int column) {
        m_grid->EnsureVisible(row, column);
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, Qt::NoModifier, m_grid->CellRect(row, column).center());
    }

    void Click(int row, int column) {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, Qt::NoModifier, m_grid->CellRect(row, column).center());
    }

    // Chooses `label` in the rating combo of the row, as a user would.
    void Rate(int row, const std::string& label) {
        ASSERT_TRUE(m_grid->BeginEdit(row, CLibraryGrid::kUserRatingColumn));
        auto* combo = qobject_cast<QComboBox*>(m_grid->GetEditor());
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(combo->findText(QString::fromStdString(label)));
        m_grid->EndEdit();
    }

    int RowOf(const std::string& name) const {
        const std::vector<std::string> names = Column(CLibraryGrid::kNameColumn);
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()) + 1;
    }

    std::int16_t StoredRating(const char* table, std::int32_t id) {
        return CDbTable(m_db.get(), table).LookupShort("UserRating", "ID", id);
    }

    CFakeLibraryWindow m_window;
    std::unique_ptr<CLibraryGrid> m_grid;
    std::int32_t m_beatles = 0;
    std::int32_t m_loner = 0;
    std::int32_t m_abbey = 0;
    std::int32_t m_help = 0;
    std::int32_t m_lonely = 0;
};

TEST_F(LibraryGridTest, ViewsFillTheirRowsAndSortThemByDefault) {
    m_grid->SwitchMode(0, 1, 0, 0);
    EXPECT_EQ(Column(CLibraryGrid::kNameColumn), std::vector<std::string>{"The Beatles"});
    EXPECT_EQ(m_window.treeEntries.back(), 2);
    EXPECT_EQ(m_grid->GetCellText(0, CLibraryGrid::kNameColumn), "Artist Name");

    m_grid->SwitchMode(3, 0, 0, 0);
    EXPECT_EQ(Column(CLibraryGrid::kPlaysColumn).size(), 5u);
    EXPECT_EQ(m_grid->GetCellText(RowOf("* Alone"), CLibraryGrid::kArtistColumn), "Loner") << "unsorted is marked";
    m_grid->SortByColumn(CLibraryGrid::kLengthColumn, true);
    EXPECT_EQ(Column(CLibraryGrid::kLengthColumn), (std::vector<std::string>{"2:05", "3:00", "4:20", "9:59", "10:02"}))
        << "times sort by their minutes";
    const int row = RowOf("Come Together");
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kUserRatingColumn), "6 - Great");
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kTotalRatingColumn), "6.00");
    EXPECT_EQ(m_grid->GetCellObject(row, CLibraryGrid::kPathColumn)->GetBackColour(), 0xC0C0FFu);
    const auto& first = static_cast<CGridCellCombo*>(m_grid->GetCellObject(1, CLibraryGrid::kUserRatingColumn));
    const auto& second = static_cast<CGridCellCombo*>(m_grid->GetCellObject(2, CLibraryGrid::kUserRatingColumn));
    EXPECT_EQ(&first->GetOptions(), &second->GetOptions()) << "one list of labels for every rating cell";

    m_grid->SwitchMode(1, 6, 0, 0);
    EXPECT_EQ(m_grid->GetCellText(0, CLibraryGrid::kMiscColumn), "Rank");
    EXPECT_GT(m_grid->GetColumnWidthAt(CLibraryGrid::kMiscColumn), 0);
    m_grid->SwitchMode(1, 3, 0, 0);
    EXPECT_EQ(m_window.messages.shown.back(), "Tried to switch to unsupported display mode 1/3.");
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{1, 6, 0, 0}));
}

TEST_F(LibraryGridTest, ASearchKeepsTheRowsWhoseNamesHoldEveryWord) {
    AddSong("Jóga", m_db->FindOrAddArtist({0, "Björk", 0, 0.0}), 0, "1", "5:05", 0, false);
    AddSong("Выхода нет", m_db->FindOrAddArtist({0, "СПЛИН", 0, 0.0}), 0, "1", "4:00", 0, false);
    AddSong("50% [x]_*? Don't", m_loner, 0, "2", "1:00", 0, false);
    const auto search = [this](int mode, const char* words) {
        m_window.filters.search = words;
        m_grid->SwitchMode(mode, 0, 0, 0);
        std::vector<std::string> names = Column(CLibraryGrid::kNameColumn);
        std::sort(names.begin(), names.end());
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(search(kSongsMode, "bjork"), Names{"Jóga"}) << "the artist's name, without its accent";
    EXPECT_EQ(search(kSongsMode, "сплин"), Names{"Выхода нет"});
    EXPECT_EQ(search(kSongsMode, "  beatles   ROAD "), (Names{"Come Together", "Octopus", "Something"}));
    EXPECT_EQ(search(kSongsMode, "[x]_*? don't 50%"), Names{"50% [x]_*? Don't"}) << "wildcards are letters";
    EXPECT_EQ(search(kSongsMode, "_"), Names{"50% [x]_*? Don't"});
    EXPECT_EQ(search(kArtistsMode, "BJÖRK"), Names{"Björk"});
    EXPECT_EQ(search(kAlbumsMode, "beatles"), (Names{"Abbey Road", "Help!"}));
    EXPECT_EQ(search(kSongsMode, "beatles nothing"), Names{});
    EXPECT_EQ(search(kSongsMode, "").size(), 8u);
}

TEST_F(LibraryGridTest, ExpandingAndBackWalkThroughTheViews) {
    m_grid->SwitchMode(0, 0, 0, 0);
    DoubleClick(RowOf("The Beatles"), CLibraryGrid::kExpandColumn);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{1, 2, m_beatles, 0}));
    EXPECT_EQ(m_window.treeEntries.back(), 0) << "an artist's albums have no tree item";
    EXPECT_EQ(Column(CLibraryGrid::kNameColumn),
              (std::vector<std::string>{"(All Songs)", "(Unsorted Songs)", "Abbey Road", "Help!"}));
    Click(RowOf("Abbey Road"), CLibraryGrid::kExpandColumn);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{3, 4, 0, m_abbey}));
    EXPECT_EQ(Column(CLibraryGrid::kTrackColumn), (std::vector<std::string>{"1", "2", "10"}));
    m_grid->GoBack();
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{1, 2, m_beatles, 0}));
    Click(RowOf("(Unsorted Songs)"), CLibraryGrid::kExpandColumn);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{3, 3, m_beatles, 0}));

    m_grid->SwitchMode(0, 0, 0, 0);
    m_grid->DrillDown(m_loner);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{3, 2, m_loner, 0})) << "no albums: the artist's songs";
    EXPECT_EQ(Column(CLibraryGrid::kNameColumn), std::vector<std::string>{"* Alone"});
    m_grid->GoBack();
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{0, 0, 0, 0})) << "the empty album list is not in the history";
    m_grid->DrillDown(m_beatles + m_loner + 100);  // an artist deleted meanwhile
    EXPECT_EQ(m_grid->CurrentView().mode, kSongsMode);
}

TEST_F(LibraryGridTest, ARatingIsStoredAndRecolouredOrRefused) {
    m_grid->SwitchMode(3, 4, 0, m_abbey);
    const int row = RowOf("Something");
    Rate(row, "7 - Favorite");
    EXPECT_EQ(StoredRating("Songs", 2), 7);
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kTotalRatingColumn), "7.00");
    EXPECT_EQ(m_grid->GetCellObject(row, CLibraryGrid::kNameColumn)->GetBackColour(), 0xFFC0FFu);
    EXPECT_GT(CDbTable(m_db.get(), "Artists").LookupDouble("AutoRating", "ID", m_beatles), 0.0)
        << "the artist's AutoRating is computed again";
    Rate(row, "0 - Not Rated");
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kTotalRatingColumn), "0.00");
    EXPECT_EQ(m_grid->GetCellObject(row, CLibraryGrid::kNameColumn)->GetBackColour(), kUseDefaultColour);

    // From the keyboard, as with the mouse: Ctrl+digit, Plus and Minus on the focused row.
    m_grid->SetFocusCell(row, CLibraryGrid::kNameColumn);
    QTest::keyClick(m_grid.get(), Qt::Key_7, Qt::ControlModifier);
    EXPECT_EQ(StoredRating("Songs", 2), 7);
    EXPECT_EQ(m_grid->GetCellObject(row, CLibraryGrid::kNameColumn)->GetBackColour(), 0xFFC0FFu);
    QTest::keyClick(m_grid.get(), Qt::Key_Minus);
    QTest::keyClick(m_grid.get(), Qt::Key_Plus);
    QTest::keyClick(m_grid.get(), Qt::Key_Plus);
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kUserRatingColumn), "7 - Favorite") << "no step past the top";
    QTest::keyClick(m_grid.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(StoredRating("Songs", 2), 0);
    m_grid->SetFocusCell(row, CLibraryGrid::kUserRatingColumn);
    QTest::keyClick(m_grid.get(), Qt::Key_Space);
    EXPECT_NE(qobject_cast<QComboBox*>(m_grid->GetEditor()), nullptr) << "Space opens the list";
    m_grid->EndEdit(false);
    // A screen reader finds the rating as a combo box whose action opens the same list.
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(m_grid.get());
    QAccessibleInterface* rating = nullptr;
    for (int column = 0; column < grid->tableInterface()->columnCount() && rating == nullptr; ++column) {
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(row - 1, column);
        rating = cell->role() == QAccessible::ComboBox ? cell : nullptr;
    }
    ASSERT_NE(rating, nullptr);
    EXPECT_EQ(rating->text(QAccessible::Name), QStringLiteral("0 - Not Rated"));
    rating->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_NE(qobject_cast<QComboBox*>(m_grid->GetEditor()), nullptr);
    m_grid->EndEdit(false);

    m_window.readOnly = true;
    Rate(row, "5 - Good");
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kUserRatingColumn), "0 - Not Rated");
    EXPECT_EQ(StoredRating("Songs", 2), 0);

    m_window.readOnly = false;
    m_db->Execute("CREATE TRIGGER Refuse BEFORE UPDATE ON Artists BEGIN SELECT RAISE(ABORT, 'disk trouble'); END",
                  dbFailOnError);
    Rate(row, "5 - Good");
    ASSERT_EQ(m_window.messages.shown.size(), 1u);
    EXPECT_NE(m_window.messages.shown[0].find("disk trouble"), std::string::npos);
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kUserRatingColumn), "0 - Not Rated");
    EXPECT_EQ(StoredRating("Songs", 2), 0) << "the song's rating went back with the failed recalculation";
    EXPECT_FALSE(m_grid->BeginEdit(row, CLibraryGrid::kNameColumn)) << "only ratings are edited";
}

TEST_F(LibraryGridTest, AnUnratedAlbumTakesTheColourOfItsStoredAutoRating) {
    CDbTable(m_db.get(), "Albums").UpdateDouble("AutoRating", "ID", m_help, 2.4951);  // shown as "2.50"
    m_grid->SwitchMode(1, 0, 0, 0);
    const int row = RowOf("Help!");
    Rate(row, "0 - Not Rated");
    EXPECT_EQ(m_grid->GetCellObject(row, CLibraryGrid::kNameColumn)->GetBackColour(), 0xA0A0A0u) << "rating 2";
    EXPECT_EQ(m_grid->GetCellText(row, CLibraryGrid::kTotalRatingColumn), "2.50");
}

TEST_F(LibraryGridTest, RowButtonsPlayEditAndSwitch) {
    m_grid->SwitchMode(3, 0, 0, 0);
    const int row = RowOf("Yesterday");
    DoubleClick(row, CLibraryGrid::kPlayColumn);
    EXPECT_EQ(m_window.played, std::vector<std::int32_t>{4});
    DoubleClick(RowOf("Yesterday"), CLibraryGrid::kNumberColumn);
    EXPECT_EQ(m_window.edited, (std::vector<std::pair<int, std::int32_t>>{{kSongsMode, 4}}));
    DoubleClick(RowOf("Yesterday"), CLibraryGrid::kAlbumColumn);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{3, 4, 0, m_help}));
    DoubleClick(RowOf("Yesterday"), CLibraryGrid::kArtistColumn);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{1, 2, m_beatles, 0}));
    DoubleClick(RowOf("(All Songs)"), CLibraryGrid::kPlayColumn);
    EXPECT_EQ(m_window.played.size(), 1u) << "the special rows play nothing";

    // A screen reader hears what the buttons do, not the glyphs they are drawn with.
    m_grid->SwitchMode(kArtistsMode, kAllArtists, 0, 0);
    QAccessibleTableInterface* cells = QAccessible::queryAccessibleInterface(m_grid.get())->tableInterface();
    QStringList names;
    for (int column = 0; column < cells->columnCount(); ++column) {
        names << cells->cellAt(0, column)->text(QAccessible::Name);
    }
    for (const char* button : {"Show albums", "Play", "Tick"}) {
        EXPECT_TRUE(names.contains(QString::fromLatin1(button))) << button << " in " << names.join(u',').toStdString();
    }
    EXPECT_FALSE(names.contains(QStringLiteral("|>")));
}

TEST_F(LibraryGridTest, PlayingAViewTakesTheSongsViewItLeadsToAndStaysWhereItIs) {
    m_window.filters.genreId = 3;
    m_window.filters.playPosition = 4;
    const auto songsQuery = [this](int submode, std::int32_t artistId, std::int32_t itemId) {
        return BuildViewQuery(*MakeView(3, submode, artistId, itemId), m_window.filters, true);
    };
    m_grid->SwitchMode(1, 2, m_beatles, 0);
    const std::size_t depth = m_grid->History().Count();
    DoubleClick(RowOf("Help!"), CLibraryGrid::kPlayColumn);
    EXPECT_TRUE(m_grid->PlayAll());
    m_grid->SwitchMode(0, 1, 0, 0);
    const int rows = m_grid->GetRowTotal();
    EXPECT_TRUE(m_grid->PlayItem(m_loner));
    EXPECT_TRUE(m_grid->PlayAll());
    EXPECT_EQ(m_window.queries, (std::vector<std::string>{songsQuery(4, 0, m_help), songsQuery(2, m_beatles, 0),
                                                          songsQuery(2, m_loner, 0), songsQuery(1, 0, 0)}));
    EXPECT_EQ(m_grid->History().Count(), depth + 1);
    EXPECT_EQ(m_grid->CurrentView(), (DisplayMode{0, 1, 0, 0}));
    EXPECT_EQ(m_grid->GetRowTotal(), rows) << "the rows were not refilled";

    m_grid->SwitchMode(3, 0, 0, 0);
    EXPECT_TRUE(m_grid->PlayAll());
    EXPECT_EQ(m_window.listedPlays, 1);
    static_cast<CGridCellCheck*>(m_grid->GetCellObject(RowOf("* Alone"), CLibraryGrid::kCheckColumn))->SetCheck(true);
    static_cast<CGridCellCheck*>(m_grid->GetCellObject(RowOf("Octopus"), CLibraryGrid::kCheckColumn))->SetCheck(true);
    NameList paths;
    IdList ids;
    m_grid->GetListedSongs(paths, ids);
    EXPECT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], m_grid->GetCellText(std::min(RowOf("* Alone"), RowOf("Octopus")), CLibraryGrid::kPathColumn))
        << "in grid order";
    m_grid->CheckAll();
    m_grid->CheckAll();
    m_grid->GetListedSongs(paths, ids);
    EXPECT_EQ(ids.size(), 5u) << "nothing ticked: every row";
}

TEST_F(LibraryGridTest, CheckAllTicksEveryRowOrNone) {
    m_grid->SwitchMode(3, 0, 0, 0);
    m_grid->CheckAll();
    EXPECT_EQ(m_grid->CountCheckedRows(), 5);
    static_cast<CGridCellCheck*>(m_grid->GetCellObject(1, CLibraryGrid::kCheckColumn))->SetCheck(false);
    m_grid->CheckAll();
    EXPECT_EQ(m_grid->CountCheckedRows(), 5) << "one unchecked row: all are checked";
    m_grid->CheckAll();
    EXPECT_EQ(m_grid->GetFirstCheckedId(), 0);
    m_grid->SwitchMode(0, 0, 0, 0);
    m_grid->CheckAll();
    EXPECT_EQ(m_grid->CountCheckedRows(), 0) << "only Songs views have check boxes";
}

TEST_F(LibraryGridTest, ALongViewListsAndTicksRowsNeverShown) {
    for (int song = 0; song < 400; ++song) {
        AddSong("Filler " + std::to_string(song), m_loner, 0, "1", "1:00", 0, false);
    }
    m_grid->SwitchMode(3, 0, 0, 0);
    const int last = m_grid->GetRowTotal() - 1;
    ASSERT_EQ(last, 405);
    EXPECT_FALSE(m_grid->HasCells(last)) << "a row out of view has no cells";
    EXPECT_EQ(m_grid->CountCheckedRows(), 0);
    NameList paths;
    IdList ids;
    m_grid->GetListedSongs(paths, ids);
    EXPECT_EQ(paths.size(), 405u);
    EXPECT_EQ(paths.back(), m_grid->GetCellText(last, CLibraryGrid::kPathColumn));
    EXPECT_FALSE(m_grid->HasCells(last));
    m_grid->CheckAll();
    EXPECT_EQ(m_grid->CountCheckedRows(), 405);
}

TEST_F(LibraryGridTest, OddRowsShowWhatTheyCan) {
    const std::string path = "/m/Caf\xE9 \"quoted\".mp3";
    m_db->Execute("UPDATE Songs SET UserRating = 99, Name = NULL WHERE ID = 1", dbFailOnError);
    SongRecord song = m_db->ReadSong(2);
    song.filePath = path;
    std::string cyrillic;
    for (int letter = 0; letter < 5000; ++letter) {
        cyrillic += "\xD0\x96";
    }
    song.name = "x" + cyrillic;
    m_db->UpdateSong(song);
    SongRecord latin1 = m_db->ReadSong(3);
    latin1.name = std::string(300, '\xA9');  // bytes that are no UTF-8 characters
    m_db->UpdateSong(latin1);
    CDbTable(m_db.get(), "Albums").UpdateDouble("AutoRating", "ID", m_abbey, std::nan(""));
    m_grid->SwitchMode(3, 0, 0, 0);
    const int odd = RowOf("");
    EXPECT_EQ(m_grid->GetCellText(odd, CLibraryGrid::kUserRatingColumn), "0 - Not Rated") << "99 shows as 0";
    EXPECT_EQ(m_grid->GetCellText(odd, CLibraryGrid::kTotalRatingColumn), "0.00");
    // A long name keeps the whole letters that fit in 256 bytes.
    const int longName = RowOf("x" + cyrillic.substr(0, 254) + "\xE2\x80\xA6");
    ASSERT_LT(longName, m_grid->GetRowTotal());
    EXPECT_LT(RowOf(std::string(253, '\xA9') + "\xE2\x80\xA6"), m_grid->GetRowTotal()) << "other bytes cut too";
    EXPECT_EQ(m_grid->GetCellText(longName, CLibraryGrid::kPathColumn), path) << "the path's bytes are kept";
    m_grid->SwitchMode(1, 0, 0, 0);
    EXPECT_EQ(m_grid->GetCellObject(RowOf("Abbey Road"), CLibraryGrid::kNameColumn)->GetBackColour(), kUseDefaultColour)
        << "an AutoRating that is no number colours as unrated";
    EXPECT_EQ(m_grid->GetCellObject(RowOf("Help!"), CLibraryGrid::kNameColumn)->GetBackColour(), 0xFFC0FFu);
    m_grid->SwitchMode(3, 4, 0, 999);
    EXPECT_EQ(m_grid->GetRowTotal(), 1) << "an album that is gone shows nothing";
}

TEST_F(LibraryGridTest, ColumnWidthsAreKeptPerModeAndSavedAtTheEnd) {
    m_grid->SwitchMode(3, 0, 0, 0);
    m_grid->SetColumnWidthAt(CLibraryGrid::kTrackColumn, m_grid->FromDesignWidth(77));
    m_grid->SwitchMode(0, 0, 0, 0);
    EXPECT_EQ(m_grid->GetColumnWidthAt(CLibraryGrid::kTrackColumn), 0);
    m_grid->SwitchMode(3, 0, 0, 0);
    EXPECT_EQ(m_grid->ToDesignWidth(m_grid->GetColumnWidthAt(CLibraryGrid::kTrackColumn)), 77);
    m_grid.reset();
    CIniFile settings(m_dir.File("Cadenzo.ini"), false);
    int width = 0;
    EXPECT_TRUE(settings.ReadInt("Song Track Number Width", "Grid Column Widths", width));
    EXPECT_EQ(width, 77);
    EXPECT_TRUE(settings.ReadInt("Genre Misc Width", "Grid Column Widths", width));
}

}  // namespace
