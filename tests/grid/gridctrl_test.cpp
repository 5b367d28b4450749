#include "grid/gridctrl.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "grid/gridcell.h"
#include "grid/gridcellcheck.h"
#include "grid/gridcellcombo.h"
#include "grid/gridcellnumeric.h"
#include "grid/gridowner.h"
#include "grid/gridrowsource.h"

namespace {

// Records notifications and answers the edit questions as told.
class CRecordingOwner : public CGridOwner {
public:
    int OnGridNotify(CGridCtrl& /*grid*/, int code, int row, int column) override {
        codes.push_back(code);
        cells.emplace_back(row, column);
        if (code == kGridBeginEdit) {
            return allowEdit ? 0 : -1;
        }
        return code == kGridEndEdit && !acceptText ? -1 : 0;
    }
    void OnGridCommand(CGridCtrl& /*grid*/) override { ++commands; }

    std::vector<int> codes;
    std::vector<std::pair<int, int>> cells;
    bool allowEdit = true;
    bool acceptText = true;
    int commands = 0;
};

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        m_grid.SetOwner(&m_owner);
        m_grid.resize(500, 300);
        m_grid.SetColumnTotal(4);
        m_grid.SetFixedRowTotal(1);
        m_grid.SetFixedColumnTotal(1);
        for (int row = 1; row <= 5; ++row) {
            m_grid.AppendRow(std::to_string(row));
            for (int column = 1; column < 4; ++column) {
                m_grid.SetCellText(row, column, "r" + std::to_string(row) + "c" + std::to_string(column));
            }
        }
        m_grid.show();
        QApplication::setActiveWindow(&m_grid);
        m_grid.setFocus();
        QApplication::processEvents();
    }

    QPoint Centre(int row, int column) { return m_grid.CellRect(row, column).center(); }

    void Click(int row, int column) {
        QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, Centre(row, column));
    }

    void DoubleClick(int row, int column) {
        QTest::mouseDClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, Centre(row, column));
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = m_grid.GetEditor() != nullptr ? m_grid.GetEditor() : static_cast<QWidget*>(&m_grid);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < m_grid.GetRowTotal(); ++row) {
            texts.push_back(m_grid.GetCellText(row, column));
        }
        return texts;
    }

    CRecordingOwner m_owner;
    CGridCtrl m_grid;
};

TEST(GridShapeTest, FixedRowsAndColumnsCarryTheirFlags) {
    CGridCtrl grid;
    grid.SetColumnTotal(3);
    EXPECT_TRUE(grid.SetFixedRowTotal(1));
    ASSERT_EQ(grid.GetRowTotal(), 1);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(grid.GetCellState(0, column), kCellFixed | kCellFixedRow);
    }
    grid.SetRowTotal(3);
    grid.SetCellBackColour(1, 0, 0x123456);
    grid.SetFixedColumnTotal(1);
    EXPECT_EQ(grid.GetCellState(0, 0), kCellFixed | kCellFixedRow | kCellFixedColumn);
    EXPECT_EQ(grid.GetCellState(1, 0), kCellFixed | kCellFixedColumn);
    EXPECT_EQ(grid.GetCellObject(1, 0)->GetBackColour(), kUseDefaultColour) << "a cell turned fixed loses its colour";
    EXPECT_EQ(grid.GetCellState(1, 1), 0u);
    grid.SetFixedColumnTotal(0);
    EXPECT_EQ(grid.GetCellState(1, 0), 0u);
    EXPECT_TRUE(grid.SetFixedRowTotal(5));
    EXPECT_EQ(grid.GetRowTotal(), 5) << "the grid grows to hold its fixed rows";
}

TEST(GridShapeTest, OutOfRangeOperationsFail) {
    CGridCtrl grid;
    grid.SetColumnTotal(2);
    grid.SetRowTotal(2);
    EXPECT_FALSE(grid.SetCellText(2, 0, "x"));
    EXPECT_FALSE(grid.SetCellText(0, -1, "x"));
    EXPECT_EQ(grid.GetCellText(5, 5), "");
    EXPECT_EQ(grid.GetCellObject(-1, 0), nullptr);
    EXPECT_EQ(grid.GetColumnWidthAt(2), -1);
    EXPECT_FALSE(grid.SetColumnWidthAt(-1, 10));
    EXPECT_FALSE(grid.SetCellClass<CGridCellCheck>(0, 2));
    EXPECT_FALSE(grid.SetFocusCell(3, 0));
    EXPECT_FALSE(grid.SortRows(CGridCtrl::CompareText, 9, true, 0));
    EXPECT_FALSE(grid.SetRowTotal(-1));
    EXPECT_EQ(grid.AppendRow("last"), 2);
    EXPECT_EQ(grid.GetCellText(2, 0), "last");
}

TEST(GridShapeTest, ChangingACellsClassKeepsWhatItHolds) {
    CGridCtrl grid;
    grid.SetColumnTotal(2);
    grid.SetRowTotal(2);
    grid.SetCellText(1, 1, "Abbey Road");
    grid.SetCellData(1, 1, 42);
    grid.SetCellFormat(1, 1, kFormatCentre);
    grid.SetCellBackColour(1, 1, 0xC0FFC0);
    grid.SetCellState(1, 1, kCellReadOnly);
    ASSERT_TRUE(grid.SetCellClass<CGridCellCheck>(1, 1));
    const auto* check = dynamic_cast<CGridCellCheck*>(grid.GetCellObject(1, 1));
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->GetText(), "Abbey Road");
    EXPECT_EQ(check->GetData(), 42);
    EXPECT_EQ(check->GetFormat(), kFormatCentre);
    EXPECT_EQ(check->GetBackColour(), 0xC0FFC0u);
    EXPECT_EQ(check->GetState(), kCellReadOnly);
}

TEST(GridShapeTest, TextsAreBytes) {
    CGridCtrl grid;
    grid.SetColumnTotal(1);
    grid.SetRowTotal(1);
    const std::string latin1 = "caf\xE9 \xFF\xFE";
    grid.SetCellText(0, 0, latin1);
    EXPECT_EQ(grid.GetCellText(0, 0), latin1);
    ASSERT_TRUE(grid.BeginEdit(0, 0));
    grid.EndEdit();
    EXPECT_EQ(grid.GetCellText(0, 0), latin1) << "an edit that changed nothing keeps the bytes";
}

TEST_F(GridTest, SortingMovesWholeRowsButNeverTheFixedOnes) {
    m_grid.SetCellText(0, 2, "Header");
    const std::vector<std::string> numbers = {"10", "9", "100", "9", "-1"};
    for (int row = 1; row <= 5; ++row) {
        m_grid.SetCellText(row, 2, numbers[static_cast<std::size_t>(row - 1)]);
    }
    m_grid.SetFocusCell(2, 2);
    ASSERT_TRUE(m_grid.SortRows(CGridCtrl::CompareNumbers, 2, true, 0));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Header", "-1", "9", "9", "10", "100"}));
    EXPECT_EQ(m_grid.GetCellText(1, 1), "r5c1") << "the row moved whole";
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(-1, -1));
    m_grid.SortRows(CGridCtrl::CompareText, 2, false, 0);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Header", "9", "9", "100", "10", "-1"}));
    EXPECT_EQ(m_grid.GetSortColumnIndex(), 2);
    EXPECT_FALSE(m_grid.GetSortAscending());
}

TEST_F(GridTest, SortingManyRowsGivesAnOrder) {
    for (int i = 0; i < 2000; ++i) {
        m_grid.AppendRow(std::to_string((i * 7919) % 1000));
    }
    m_grid.SortRows(CGridCtrl::CompareNumbers, 0, true, 0);
    for (int row = 2; row < m_grid.GetRowTotal(); ++row) {
        EXPECT_LE(std::atoi(m_grid.GetCellText(row - 1, 0).c_str()), std::atoi(m_grid.GetCellText(row, 0).c_str()));
    }
    EXPECT_EQ(m_grid.GetCellText(0, 1), "") << "the header row stays on top";
}

TEST_F(GridTest, TheFastSortsLeaveTiesWhereTheComparingSortsDo) {
    for (int i = 0; i < 500; ++i) {
        m_grid.AppendRow(std::to_string((i * 7919) % 37));
        m_grid.SetCellText(m_grid.GetRowTotal() - 1, 1, std::to_string(i));  // tells tied rows apart
    }
    // Each sort starts from the same order: by column 1, whose texts all differ.
    const auto sorted = [this](const std::function<void()>& sort) {
        m_grid.SortRows(CGridCtrl::CompareText, 1, true, 0);
        sort();
        return Column(1);
    };
    for (const bool ascending : {true, false}) {
        EXPECT_EQ(sorted([&] { m_grid.SortRowsByNumbers(0, ascending); }),
                  sorted([&] { m_grid.SortRows(CGridCtrl::CompareNumbers, 0, ascending, 0); }));
        EXPECT_EQ(sorted([&] { m_grid.SortRowsByText(0, ascending); }),
                  sorted([&] { m_grid.SortRows(CGridCtrl::CompareText, 0, ascending, 0); }));
    }
}

// Records whose column 1 is a name and column 2 a number; the cells are check boxes in column 3.
class CNumberedRecords : public CGridRowSource {
public:
    std::size_t RecordCount() const override { return 1000; }
    std::vector<std::unique_ptr<CGridCellBase>> MakeCells(std::size_t record) const override {
        ++made;
        std::vector<std::unique_ptr<CGridCellBase>> cells;
        for (int column = 0; column < 4; ++column) {
            cells.push_back(column == 3 ? std::make_unique<CGridCellCheck>() : std::make_unique<CGridCell>());
            cells.back()->SetText(CellText(record, column));
            cells.back()->SetData(CellData(record, column));
        }
        return cells;
    }
    std::string CellText(std::size_t record, int column) const override {
        return column == 1 ? "name" + std::to_string(record % 10) : column == 2 ? std::to_string(record) : "";
    }
    std::int32_t CellData(std::size_t record, int /*column*/) const override { return static_cast<int>(record); }
    std::optional<std::string_view> StoredText(std::size_t record, int column) const override {
        return column == 1 ? std::optional<std::string_view>(m_names[record % 10]) : std::nullopt;
    }

    mutable int made = 0;

private:
    std::array<std::string, 10> m_names{"name0", "name1", "name2", "name3", "name4",
                                        "name5", "name6", "name7", "name8", "name9"};
};

TEST_F(GridTest, RowsOfRecordsGetCellsOnlyWhenNeeded) {
    auto source = std::make_shared<CNumberedRecords>();
    EXPECT_EQ(m_grid.AppendRecords(source), 6);
    m_grid.viewport()->repaint();
    EXPECT_GT(source->made, 0) << "the rows in view are drawn";
    EXPECT_LT(source->made, 30);
    EXPECT_FALSE(m_grid.HasCells(1005));
    EXPECT_EQ(m_grid.GetCellText(1005, 2), "999");
    EXPECT_EQ(m_grid.GetCellData(1005, 2), 999);
    EXPECT_FALSE(m_grid.HasCells(1005)) << "texts and data are read from the record";

    // A row whose cell changed sorts by what its cell shows now.
    m_grid.SetCellText(500, 1, "zzz");
    const std::int32_t changed = m_grid.GetCellData(500, 2);
    m_grid.SortRowsByText(1, true);
    EXPECT_EQ(m_grid.GetCellData(m_grid.GetRowTotal() - 1, 2), changed);
    const std::vector<std::string> names = Column(1);
    EXPECT_TRUE(std::is_sorted(names.begin() + 1, names.end()));
    m_grid.SortRowsByNumbers(2, false);
    EXPECT_EQ(m_grid.GetCellText(1, 2), "999");
    EXPECT_EQ(m_grid.GetCellText(999, 2), "1");
    EXPECT_LT(source->made, 40) << "sorting makes no cells";

    auto* check = dynamic_cast<CGridCellCheck*>(m_grid.GetCellObject(700, 3));
    ASSERT_NE(check, nullptr) << "a cell asked for is made by its source";
    EXPECT_EQ(m_grid.GetCellState(700, 0) & kCellFixedColumn, kCellFixedColumn);
    m_grid.ClearNonFixedRows();
    EXPECT_EQ(m_grid.GetRowTotal(), 1);
    m_grid.AppendRow("after");
    EXPECT_TRUE(m_grid.HasCells(1));
}

TEST_F(GridTest, ARefusedEditNeverOpens) {
    m_owner.allowEdit = false;
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_F2);
    EXPECT_EQ(m_grid.GetEditor(), nullptr);
    Key(Qt::Key_A);
    EXPECT_EQ(m_grid.GetEditor(), nullptr);
    DoubleClick(2, 2);
    EXPECT_EQ(m_grid.GetEditor(), nullptr);
    Click(2, 2);
    Click(2, 2);
    EXPECT_EQ(m_grid.GetEditor(), nullptr);
    EXPECT_NE(std::count(m_owner.codes.begin(), m_owner.codes.end(), kGridBeginEdit), 0);
}

TEST_F(GridTest, TypingEditsTheFocusCell) {
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_7);
    ASSERT_NE(m_grid.GetEditor(), nullptr);
    EXPECT_EQ(qobject_cast<QLineEdit*>(m_grid.GetEditor())->text(), QStringLiteral("7")) << "the key starts the text";
    Key(Qt::Key_Return);
    EXPECT_EQ(m_grid.GetEditor(), nullptr);
    EXPECT_EQ(m_grid.GetCellText(1, 1), "7");
    EXPECT_EQ(m_owner.codes.back(), kGridEndEdit);
    EXPECT_EQ(m_owner.cells.back(), std::make_pair(1, 1));
}

TEST_F(GridTest, ARefusedTextIsPutBack) {
    m_owner.acceptText = false;
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_F2);
    ASSERT_NE(m_grid.GetEditor(), nullptr);
    qobject_cast<QLineEdit*>(m_grid.GetEditor())->setText(QStringLiteral("refused"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_grid.GetCellText(1, 1), "r1c1");
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(1, 2)) << "the closing key still moves the focus";
    Key(Qt::Key_Delete);
    EXPECT_EQ(m_grid.GetCellText(1, 2), "r1c2") << "Delete asks too";
}

TEST_F(GridTest, EscapeAndReadOnlyCellsKeepTheirText) {
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_F2);
    qobject_cast<QLineEdit*>(m_grid.GetEditor())->setText(QStringLiteral("dropped"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(m_grid.GetCellText(1, 1), "r1c1");
    m_grid.SetCellState(1, 1, kCellReadOnly);
    EXPECT_FALSE(m_grid.BeginEdit(1, 1));
    EXPECT_FALSE(m_grid.BeginEdit(0, 1)) << "fixed cells are never edited";
    m_grid.SetEditable(false);
    EXPECT_FALSE(m_grid.BeginEdit(2, 2));
}

TEST_F(GridTest, ComboCellsEditThroughTheirList) {
    m_grid.SetCellClass<CGridCellCombo>(2, 3);
    auto* combo = static_cast<CGridCellCombo*>(m_grid.GetCellObject(2, 3));
    combo->SetOptions({"0 - Not Rated", "5 - Good", "7 - Favorite"});
    m_grid.SetCellText(2, 3, "5 - Good");
    ASSERT_TRUE(m_grid.BeginEdit(2, 3));
    auto* editor = qobject_cast<QComboBox*>(m_grid.GetEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->currentIndex(), 1);
    editor->setCurrentIndex(2);
    Key(Qt::Key_Return);
    EXPECT_EQ(m_grid.GetCellText(2, 3), "7 - Favorite");

    m_grid.SetCellClass<CGridCellNumeric>(3, 3);
    ASSERT_TRUE(m_grid.BeginEdit(3, 3));
    auto* numeric = qobject_cast<QLineEdit*>(m_grid.GetEditor());
    numeric->clear();
    QTest::keyClicks(numeric, QStringLiteral("4x2"));
    EXPECT_EQ(numeric->text(), QStringLiteral("42"));
    m_grid.EndEdit(false);
}

TEST_F(GridTest, ClicksSelectWholeRowsAndNotifyInOrder) {
    m_grid.SetWholeRowSelection(true);
    m_grid.SetSingleRowSelection(true);
    Click(3, 2);
    EXPECT_TRUE(m_grid.IsCellSelected(3, 1));
    EXPECT_TRUE(m_grid.IsCellSelected(3, 3));
    EXPECT_FALSE(m_grid.IsCellSelected(3, 0)) << "fixed cells are never selected";
    EXPECT_EQ(m_owner.codes, (std::vector<int>{kGridSelectionChanging, kGridSelectionChanged, kGridClick}));
    EXPECT_EQ(m_owner.commands, 1);
    Click(4, 1);
    EXPECT_FALSE(m_grid.IsCellSelected(3, 1));
    EXPECT_TRUE(m_grid.IsCellSelected(4, 3));
    m_owner.codes.clear();
    DoubleClick(1, 1);
    EXPECT_NE(std::find(m_owner.codes.begin(), m_owner.codes.end(), kGridDoubleClick), m_owner.codes.end());
}

TEST_F(GridTest, DraggingStretchesTheSelection) {
    QTest::mousePress(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, Centre(1, 1));
    QMouseEvent move(QEvent::MouseMove, QPointF(Centre(3, 2)), m_grid.viewport()->mapToGlobal(QPointF(Centre(3, 2))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_grid.viewport(), &move);
    QTest::mouseRelease(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, Centre(3, 2));
    EXPECT_TRUE(m_grid.IsCellSelected(1, 1));
    EXPECT_TRUE(m_grid.IsCellSelected(2, 2));
    EXPECT_TRUE(m_grid.IsCellSelected(3, 2));
    EXPECT_FALSE(m_grid.IsCellSelected(3, 3));
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(3, 2));
    EXPECT_EQ(m_grid.SelectedText(), "r1c1\tr1c2\r\nr2c1\tr2c2\r\nr3c1\tr3c2");
}

TEST_F(GridTest, CheckBoxesToggleOnAClick) {
    m_grid.SetCellClass<CGridCellCheck>(2, 1);
    const QRect cell = m_grid.CellRect(2, 1);
    const QPoint box = CGridCellCheck::BoxRect(cell).center();
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, box);
    const auto* check = static_cast<CGridCellCheck*>(m_grid.GetCellObject(2, 1));
    EXPECT_TRUE(check->GetCheck());
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, box);
    EXPECT_FALSE(check->GetCheck());
    EXPECT_EQ(m_grid.GetEditor(), nullptr) << "a click on the box of the focus cell does not edit";
}

TEST_F(GridTest, KeysSkipHiddenRowsAndColumns) {
    m_grid.SetColumnWidthAt(2, 0);
    m_grid.SetRowHeightAt(2, 0);
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(1, 3));
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(3, 3));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(1, 1));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(5, 3));
    Key(Qt::Key_Tab);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(5, 3)) << "the last cell has nowhere to go";
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(5, 1));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(4, 3)) << "Shift+Tab wraps to the row above";
}

TEST_F(GridTest, ClipboardTextHasTabsAndLineEnds) {
    m_grid.SetSelectedRange(1, 1, 2, 3);
    m_grid.SetColumnWidthAt(2, 0);
    EXPECT_EQ(m_grid.SelectedText(), "r1c1\tr1c3\r\nr2c1\tr2c3");
    m_grid.Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r1c1\tr1c3\r\nr2c1\tr2c3"));

    m_grid.SetColumnWidthAt(2, 80);
    m_grid.SetFocusCell(4, 2);
    m_grid.PasteText(" a , b\tc,overflow\r\n\td\n");
    EXPECT_EQ(m_grid.GetCellText(4, 2), "a");
    EXPECT_EQ(m_grid.GetCellText(4, 3), "b") << "pieces beyond the last column are dropped";
    EXPECT_EQ(m_grid.GetCellText(5, 2), "");
    EXPECT_EQ(m_grid.GetCellText(5, 3), "d");

    m_grid.SetFocusCell(1, 3);
    m_grid.PasteText("x\r\n");
    EXPECT_EQ(m_grid.GetCellText(1, 3), "x");
    EXPECT_EQ(m_grid.GetCellText(2, 3), "r2c3") << "a final line end adds no empty line";

    m_grid.SetSelectedRange(1, 1, 1, 1);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(m_grid.GetCellText(1, 1), "");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r1c1"));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(m_grid.IsCellSelected(5, 3));
    EXPECT_FALSE(m_grid.IsCellSelected(0, 1));
}

TEST_F(GridTest, ColumnsResizeByDragAndToTheirWidestText) {
    const QRect header = m_grid.CellRect(0, 1);
    const QPoint border(header.right() + 1, header.center().y());
    QTest::mousePress(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseRelease(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(header.left() + 150, border.y()));
    EXPECT_EQ(m_grid.GetColumnWidthAt(1), 150);

    m_grid.SetCellText(3, 2, std::string(60, 'W'));
    const QRect second = m_grid.CellRect(0, 2);
    QTest::mouseDClick(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(second.right() + 1, second.center().y()));
    EXPECT_GT(m_grid.GetColumnWidthAt(2), 300);

    m_grid.SetColumnWidthAt(3, 0);
    Key(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(m_grid.GetColumnWidthAt(3), 0) << "hidden columns stay hidden";
    EXPECT_LT(m_grid.GetColumnWidthAt(1), 150);
}

TEST_F(GridTest, RowsResizeOnlyWhenAllowed) {
    const QRect cell = m_grid.CellRect(2, 0);
    const QPoint border(cell.center().x(), cell.bottom() + 1);
    QTest::mousePress(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseRelease(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(border.x(), cell.top() + 40));
    EXPECT_EQ(m_grid.GetRowHeightAt(2), 40);
    m_grid.SetRowResize(false);
    const QRect again = m_grid.CellRect(3, 0);
    QTest::mousePress(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(again.center().x(), again.bottom() + 1));
    QTest::mouseRelease(m_grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(again.center().x(), again.top() + 60));
    EXPECT_EQ(m_grid.GetRowHeightAt(3), again.height());
}

TEST_F(GridTest, CellsAreFoundUnderThePointerAfterScrolling) {
    for (int i = 0; i < 1000; ++i) {
        m_grid.AppendRow("row " + std::to_string(i));
    }
    m_grid.ScrollToRow(500);
    const QRect header = m_grid.CellRect(0, 1);
    EXPECT_EQ(m_grid.CellAt(header.center()), std::make_pair(0, 1)) << "fixed rows do not scroll";
    const QRect below(header.left(), header.bottom() + 1, header.width(), 5);
    EXPECT_EQ(m_grid.CellAt(below.center()).first, 500);
    EXPECT_EQ(m_grid.CellAt(QPoint(-5, 10)), std::make_pair(-1, -1));
}

// An owner that clears and refills the grid when it hears `rebuildOn`, as the library grid does
// after a dialog or a view switch, and answers the edit questions as told.
class CRebuildingOwner : public CRecordingOwner {
public:
    explicit CRebuildingOwner(int code) : rebuildOn(code) {}
    int OnGridNotify(CGridCtrl& grid, int code, int row, int column) override {
        const int answer = CRecordingOwner::OnGridNotify(grid, code, row, column);
        if (code == rebuildOn) {
            grid.ClearNonFixedRows();
            for (int added = 1; added <= 5; ++added) {
                grid.AppendRow(std::to_string(added));
                grid.SetCellText(added, 1, "new");
            }
        }
        return answer;
    }
    int rebuildOn;
};

TEST_F(GridTest, TheOwnerMayRebuildTheGridInsideANotification) {
    for (const int code : {kGridDoubleClick, kGridBeginEdit, kGridEndEdit}) {
        CRebuildingOwner owner(code);
        owner.acceptText = false;
        m_grid.SetOwner(&owner);
        if (code == kGridEndEdit) {
            m_grid.SetFocusCell(2, 1);
            Key(Qt::Key_F2);
            qobject_cast<QLineEdit*>(m_grid.GetEditor())->setText(QStringLiteral("refused"));
            Key(Qt::Key_Return);
        } else {
            DoubleClick(2, 1);
        }
        EXPECT_EQ(m_grid.GetEditor(), nullptr) << code << ": no editor on a cell that is gone";
        EXPECT_EQ(m_grid.GetCellText(2, 1), "new") << code;
    }
    m_grid.SetOwner(&m_owner);
}

TEST_F(GridTest, AModifierKeyAloneChangesNothing) {
    m_grid.SetFocusCell(-1, -1);
    m_grid.SetSelectedRange(3, 1, 3, 3);
    for (const Qt::Key key : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt}) {
        Key(key);
    }
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(-1, -1));
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r3c1\tr3c2\tr3c3"));
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid.GetFocusCell(), std::make_pair(1, 1)) << "a key that moves takes the focus to the first cell";
}

TEST_F(GridTest, EditorsFollowTheirCellsRules) {
    m_grid.SetCellClass<CGridCellNumeric>(1, 1);
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_X);
    ASSERT_NE(m_grid.GetEditor(), nullptr);
    EXPECT_EQ(qobject_cast<QLineEdit*>(m_grid.GetEditor())->text(), QString()) << "a letter is no number";

    m_grid.SetCellClass<CGridCellCombo>(1, 1);  // while its numeric editor is open
    EXPECT_EQ(m_grid.GetEditor(), nullptr);
    static_cast<CGridCellCombo*>(m_grid.GetCellObject(1, 1))->SetOptions({"1 - Hate", "5 - Good"});
    ASSERT_TRUE(m_grid.BeginEdit(1, 1));
    auto* combo = qobject_cast<QComboBox*>(m_grid.GetEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->view()->isVisible()) << "the list is open at once";
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    EXPECT_EQ(m_grid.GetEditor(), nullptr) << "one choice closes the editor";
    EXPECT_EQ(m_grid.GetCellText(1, 1), "5 - Good");
}

TEST_F(GridTest, PageDownScrollsAPage) {
    for (int row = 6; row <= 60; ++row) {
        m_grid.AppendRow(std::to_string(row));
    }
    m_grid.SetFocusCell(1, 1);
    Key(Qt::Key_PageDown);
    EXPECT_GE(m_grid.verticalScrollBar()->value(), m_grid.verticalScrollBar()->pageStep() - m_grid.GetRowHeightAt(1));
    EXPECT_FALSE(m_grid.CellRect(m_grid.GetFocusCell().first, 1).isNull());
}

TEST_F(GridTest, HeaderClicksSortAndToggle) {
    m_grid.SetHeaderSort(true);
    m_grid.SetCellText(0, 2, "Name");
    Click(0, 2);
    EXPECT_EQ(m_grid.GetSortColumnIndex(), 2);
    EXPECT_TRUE(m_grid.GetSortAscending());
    Click(0, 2);
    EXPECT_FALSE(m_grid.GetSortAscending());
    EXPECT_EQ(m_grid.GetCellText(1, 2), "r5c2");
    Click(0, 3);
    EXPECT_TRUE(m_grid.GetSortAscending()) << "another column starts ascending";

    m_grid.SetHeaderSort(false);
    m_grid.SetFixedRowSelection(true);
    Click(0, 1);
    EXPECT_TRUE(m_grid.IsCellSelected(1, 1) && m_grid.IsCellSelected(5, 1));
    EXPECT_FALSE(m_grid.IsCellSelected(1, 2));
}

TEST_F(GridTest, ATitleTipShowsACutTextOverItsCellInItsFont) {
    QFont big = m_grid.font();
    big.setPointSize(big.pointSize() + 6);
    m_grid.SetCellText(2, 2, std::string(60, 'w'));
    m_grid.GetCellObject(2, 2)->SetFont(&big);
    QHelpEvent hover(QEvent::ToolTip, Centre(2, 2), m_grid.viewport()->mapToGlobal(Centre(2, 2)));
    QApplication::sendEvent(m_grid.viewport(), &hover);
    auto* tip = m_grid.findChild<QLabel*>(QStringLiteral("gridTitleTip"));
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->geometry().topLeft(), m_grid.viewport()->mapToGlobal(m_grid.CellRect(2, 2).topLeft()));
    EXPECT_EQ(tip->font(), big);
    EXPECT_EQ(tip->text(), QString::fromStdString(" " + std::string(60, 'w') + " "));
}

TEST(GridOwnerTest, WithoutAnOwnerTheParentThatIsOneHears) {
    class COwnerWindow : public QWidget, public CRecordingOwner {};
    COwnerWindow window;
    auto* grid = new CGridCtrl(new QWidget(&window));
    grid->SetColumnTotal(2);
    grid->SetRowTotal(3);
    grid->SetFocusCell(1, 1);
    grid->SetTextAsUser(1, 1, "typed");
    EXPECT_EQ(window.codes, (std::vector<int>{kGridBeginEdit, kGridEndEdit}));
}

TEST(GridWidthTest, DesignWidthsScaleWithTheFontAndComeBack) {
    CGridCtrl grid;
    QFont large = grid.font();
    large.setPixelSize(24);
    grid.setFont(large);
    EXPECT_GT(grid.FromDesignWidth(100), 100);
    for (const int width : {0, 20, 34, 100, 220}) {
        EXPECT_EQ(grid.ToDesignWidth(grid.FromDesignWidth(width)), width);
    }
}

TEST(GridAccessibleTest, TheGridIsATableToAssistiveTechnology) {
    CGridCtrl grid;
    grid.SetColumnTotal(3);
    grid.SetFixedRowTotal(1);
    grid.SetFixedColumnTotal(1);
    grid.SetCellText(0, 1, "Name");
    grid.SetCellText(0, 2, "Done");
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        const int row = grid.AppendRow("#");
        grid.SetCellText(row, 1, name);
        grid.SetCellClass<CGridCellCheck>(row, 2);
    }
    grid.SetWholeRowSelection(true);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(cells->rowCount(), 3);
    EXPECT_EQ(cells->columnCount(), 2);
    EXPECT_EQ(cells->columnDescription(0), QStringLiteral("Name"));
    EXPECT_EQ(cells->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("Beta"));

    cells->selectRow(2);
    EXPECT_EQ(cells->selectedRows(), QList<int>{2});
    EXPECT_EQ(grid.GetFocusCell(), std::make_pair(3, 1));
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name), QStringLiteral("Gamma"));

    QAccessibleInterface* check = cells->cellAt(0, 1);
    EXPECT_FALSE(check->state().checked);
    check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(static_cast<CGridCellCheck*>(grid.GetCellObject(1, 2))->GetCheck());
    EXPECT_TRUE(check->state().checked);
}

}  // namespace
