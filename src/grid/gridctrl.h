#pragma once

#include <QAbstractScrollArea>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "grid/gridaxis.h"
#include "grid/gridcellbase.h"
#include "grid/griddefaultcell.h"

class CGridOwner;
class CGridRowSource;
class CGridTitleTip;

// A grid of cells in rows and columns: fixed (header) rows at the top and fixed columns at the
// left that do not scroll, exchangeable cell classes, in-place editing that the owner may
// refuse, whole-row selection, column resizing, sorting and notifications to its owner (the
// one set, else the nearest parent that is one). The owner may rebuild the grid inside any
// notification. Only the visible cells are painted. Operations given a row or column outside
// the grid do nothing and report failure.
class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Compares two cells of the sort column: <0, 0 or >0. `callerValue` is SortRows' own.
    using CompareFunction = std::function<int(const CGridCellBase&, const CGridCellBase&, std::intptr_t callerValue)>;
    // Makes a new cell of some class, for SetCellClass.
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;
    using CellRow = std::vector<std::unique_ptr<CGridCellBase>>;

    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // ---- Shape ----
    bool SetRowTotal(int rows);
    bool SetColumnTotal(int columns);
    bool SetFixedRowTotal(int rows);
    bool SetFixedColumnTotal(int columns);
    int GetRowTotal() const { return m_rows.Count(); }
    int GetColumnTotal() const { return m_columns.Count(); }
    int GetFixedRowTotal() const { return m_rows.FixedCount(); }
    int GetFixedColumnTotal() const { return m_columns.FixedCount(); }
    // Adds a row at the end whose first cell holds `heading`; its index, or -1.
    int AppendRow(const std::string& heading);
    // Adds a row at the end made of `cells` (one per column, any classes), which take the
    // fixed flags of their place; its index, or -1 for a wrong number of cells.
    int AppendCells(CellRow cells);
    // Adds a row at the end for each record of `source`, whose cells are made when they are
    // first needed (drawn, edited, asked for); the index of the first, or -1. The rows of an
    // earlier source get their cells first.
    int AppendRecords(std::shared_ptr<const CGridRowSource> source);
    // Whether the row's cells exist yet; a row of records has none until they are needed.
    bool HasCells(int row) const;
    // Deletes every row below the fixed rows.
    void ClearNonFixedRows();

    // ---- Cells ----
    // Replaces one cell by a new object from `factory`, keeping its text, data, state and look.
    bool SetCellClass(int row, int column, const CellFactory& factory);
    template <typename Cell>
    bool SetCellClass(int row, int column) {
        return SetCellClass(row, column, [] { return std::make_unique<Cell>(); });
    }
    // The cell; a row of records gets its cells here.
    CGridCellBase* GetCellObject(int row, int column) const;
    // Text and data are read from the record of a row that has no cells yet, without making them.
    bool SetCellText(int row, int column, const std::string& text);
    std::string GetCellText(int row, int column) const;
    bool SetCellData(int row, int column, std::int32_t value);
    std::int32_t GetCellData(int row, int column) const;
    bool SetCellFormat(int row, int column, std::uint32_t format);
    bool SetCellBackColour(int row, int column, std::uint32_t colour);
    bool SetCellState(int row, int column, std::uint32_t state);
    std::uint32_t GetCellState(int row, int column) const;

    // ---- Sizes ----
    bool SetColumnWidthAt(int column, int width);
    int GetColumnWidthAt(int column) const { return m_columns.Size(column); }
    bool SetRowHeightAt(int row, int height);
    int GetRowHeightAt(int row) const { return m_rows.Size(row); }
    // The height that rows added from now on take.
    void SetDefaultRowHeight(int height) { m_rows.SetDefaultSize(height); }
    // Widths as designed for a small 8-point font, scaled to the grid's font (never below the
    // designed size) and back; a width that goes through both comes back unchanged.
    int FromDesignWidth(int designWidth) const;
    int ToDesignWidth(int width) const;
    // Sizes the column to its widest text (header and data).
    bool AutoSizeColumn(int column);
    // Sizes every visible column so; hidden (zero-width) columns stay hidden.
    void AutoSizeColumns();
    // Sizes the row to its tallest text.
    bool AutoSizeRow(int row);

    // ---- Switches ----
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }
    // List mode: clicks select whole rows. Clears the selection and the sort column.
    void SetWholeRowSelection(bool on);
    bool IsWholeRowSelection() const { return m_wholeRowSelection; }
    void SetSingleRowSelection(bool on) { m_singleRowSelection = on; }
    void SetColumnResize(bool on) { m_columnResize = on; }
    void SetRowResize(bool on) { m_rowResize = on; }
    // A click on a header cell selects its column; on a fixed-column cell, its row.
    void SetFixedRowSelection(bool on) { m_fixedRowSelection = on; }
    void SetFixedColumnSelection(bool on) { m_fixedColumnSelection = on; }
    // A click on a header cell sorts by its column through SortByHeader: ascending, or the
    // other way round when that column is sorted ascending already.
    void SetHeaderSort(bool on) { m_headerSort = on; }
    void SetRedraw(bool on);
    void SetOwner(CGridOwner* owner) { m_owner = owner; }

    // ---- Focus, selection and sorting ----
    bool SetFocusCell(int row, int column);
    std::pair<int, int> GetFocusCell() const { return m_focus; }
    bool IsCellSelected(int row, int column) const;
    bool HasSelection() const { return m_selection.has_value(); }
    // Selects the cells of the rectangle (whole rows in list mode); fixed cells never.
    void SetSelectedRange(int firstRow, int firstColumn, int lastRow, int lastColumn);
    void ClearSelection();
    void SelectAll();
    void SetSortColumnIndex(int column);
    int GetSortColumnIndex() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_sortAscending; }
    // Sorts the rows below the fixed rows by `column` (the sort is not stable; rows that compare
    // equal may change places) and shows the column and direction in its header. Clears the
    // selection and the focus.
    bool SortRows(const CompareFunction& compare, int column, bool ascending, std::intptr_t callerValue);
    // The same as SortRows with CompareNumbers (CompareText), faster.
    bool SortRowsByNumbers(int column, bool ascending);
    bool SortRowsByText(int column, bool ascending);
    // Byte order of the texts, and order of their leading numbers.
    static int CompareText(const CGridCellBase& a, const CGridCellBase& b, std::intptr_t);
    static int CompareNumbers(const CGridCellBase& a, const CGridCellBase& b, std::intptr_t);

    // ---- Editing and the clipboard ----
    // Opens the cell's editor (F2, a double-click) unless the owner refuses.
    bool BeginEdit(int row, int column);
    // Closes an open editor, keeping its text (unless `keep` is false).
    void EndEdit(bool keep = true);
    QWidget* GetEditor() const { return m_editor; }
    // Sets a cell's text on the user's behalf (Delete, Paste): the owner may refuse.
    bool SetTextAsUser(int row, int column, const std::string& text);
    // The selected range as text (see FormatClipboardText); hidden rows and columns left out.
    std::string SelectedText() const;
    void Copy() const;
    void Cut();
    void Paste();
    // Writes `text` (rows of tab- or comma-separated pieces) from the focus cell on.
    void PasteText(const std::string& text);

    // ---- Drawing ----
    void RedrawCell(int row, int column);
    void RedrawRow(int row);
    void RepaintAll();
    // The defaults of the cell group that `state` belongs to.
    const CGridDefaultCell& DefaultCellOf(std::uint32_t state) const;
    CGridDefaultCell& GetDefaultCell(bool fixedRow, bool fixedColumn);
    // The font a cell is drawn in.
    const QFont& FontOf(const CGridCellBase& cell) const;
    // The cell's rectangle in viewport coordinates (empty when it is out of view or hidden).
    QRect CellRect(int row, int column) const;
    // The cell under a viewport point, or (-1, -1).
    std::pair<int, int> CellAt(const QPoint& point) const;
    void EnsureVisible(int row, int column);
    // Scrolls so that `row` is the first row below the fixed rows.
    void ScrollToRow(int row);

    // ---- For assistive technology: what the pointer would do, without one ----
    // Moves the focus and the selection to the cell, telling the owner.
    void SelectCellAsUser(int row, int column) { MoveFocusTo(row, column, false); }
    // A click (or double-click) at the cell's centre: the focus moves to it, its own reaction
    // runs and the owner is told.
    void ActivateCell(int row, int column, bool doubleClick);

protected:
    // What a click on the header of `column` runs when header sorting is on; sorts by text.
    virtual void SortByHeader(int column, bool ascending);

    // ---- Qt overrides ----
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    using CellId = std::pair<int, int>;
    struct Range {
        int firstRow;
        int firstColumn;
        int lastRow;
        int lastColumn;
    };
    enum class MouseMode { None, SelectingCells, SizingColumn, SizingRow, PressedOnCell };
    enum class Reaction { Handled, Ignored, CellsGone };

    // Sorts the rows below the fixed rows by a key made once for each from its cell of `column`,
    // compared by `compare` (<0, 0, >0).
    template <typename KeyOf, typename Compare>
    bool SortRowsByKey(int column, bool ascending, const KeyOf& keyOf, const Compare& compare);

    bool IsValid(int row, int column) const { return m_rows.Contains(row) && m_columns.Contains(column); }
    // The record behind a row whose cells are not made yet.
    std::optional<std::size_t> UnmadeRecord(int row) const;
    // The row's cells, made from its record when it has no cells yet.
    CellRow& MadeRow(int row) const;
    void MakeAllRows();
    // Drops the source once no row refers to a record of it.
    void ForgetUnusedSource();
    // Changes one cell and repaints it; false for a cell outside the grid.
    template <typename Change>
    bool ChangeCell(int row, int column, Change change);
    std::uint32_t FixedStateOf(int row, int column) const;
    std::unique_ptr<CGridCellBase> NewCell(int row, int column) const;
    CellRow NewRow(int row) const;
    void UpdateFixedFlags();
    void CellsReplaced();
    void RowsChanged();
    int ColumnBorderAt(const QPoint& point) const;
    int RowBorderAt(const QPoint& point) const;
    void UpdateScrollBars();
    // Rows were added: the scroll bars follow once, not once per row (each change of their
    // range posts an event).
    void RowsAppended();
    void SyncScrollBars();
    // Tells the owner; its answer, or 0 without one.
    int Notify(int code, int row, int column);
    CGridOwner* Owner() const;
    // True while no call out to the owner or a cell has replaced cells since `generation`.
    bool CellsUnchangedSince(std::uint64_t generation) const { return m_generation == generation; }
    void MoveFocusTo(int row, int column, bool extend);
    void ExtendSelectionTo(int row, int column);
    void SelectFixedCell(int row, int column);
    bool MoveFocusByKey(int key, Qt::KeyboardModifiers modifiers);
    void BeginEditWith(int row, int column, const QString& firstCharacter);
    void ClearSelectedTexts();
    bool ReleasedOnHeader(int row, int column);
    // Runs the cell's own reaction to a click or double-click at `point` and tells the owner.
    Reaction React(int row, int column, const QPoint& point, bool doubleClick);
    void PaintRegion(QPainter& painter, const QRect& area, int firstRow, int lastRow, int firstColumn, int lastColumn);
    void PaintSortHeader(QPainter& painter, const QRect& rect, const CGridCellBase& cell) const;
    void OnDragTimer();
    bool ShowTitleTip(const QPoint& point);

    CGridAxis m_rows;
    CGridAxis m_columns;
    mutable std::vector<CellRow> m_cells;  // by row, then column; empty while a record's cells are not made
    // For each row, the record of m_source behind it or kNoRecord; empty without a source.
    std::vector<std::uint32_t> m_records;
    std::shared_ptr<const CGridRowSource> m_source;
    static constexpr std::uint32_t kNoRecord = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t m_generation = 0;  // counts every deletion, replacement or move of cells
    bool m_scrollBarsStale = false;

    std::array<std::unique_ptr<CGridDefaultCell>, 4> m_defaultCells;  // normal, fixed row, fixed column, both
    CellId m_focus{-1, -1};
    std::optional<Range> m_selection;
    CellId m_selectionAnchor{-1, -1};
    bool m_editable = true;
    bool m_wholeRowSelection = false;
    bool m_singleRowSelection = false;
    bool m_columnResize = true;
    bool m_rowResize = true;
    bool m_fixedRowSelection = false;
    bool m_fixedColumnSelection = false;
    bool m_headerSort = false;
    bool m_redraw = true;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    CGridOwner* m_owner = nullptr;

    QWidget* m_editor = nullptr;
    CellId m_editCell{-1, -1};
    std::string m_editorInitialText;

    MouseMode m_mouseMode = MouseMode::None;
    CellId m_pressCell{-1, -1};
    bool m_editOnRelease = false;
    int m_sizingColumn = -1;
    int m_sizingRow = -1;
    QTimer m_dragTimer;
    CGridTitleTip* m_titleTip;
};
