#pragma once

#include <QAbstractScrollArea>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "grid/gridcellbase.h"
#include "grid/griddefaultcell.h"

class CGridOwner;

// A grid of cells in rows and columns: fixed (header) rows at the top and fixed columns at the
// left that do not scroll, exchangeable cell classes, in-place editing that the owner may
// refuse, whole-row selection, column resizing, sorting and notifications to its owner. Only
// the visible cells are painted; the cell under a point is found from cached row and column
// edges. Operations given a row or column outside the grid do nothing and report failure.
class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Compares two cells of the sort column: <0, 0 or >0. `callerValue` is SortRows' own.
    using CompareFunction = std::function<int(const CGridCellBase&, const CGridCellBase&, std::intptr_t callerValue)>;
    // Makes a new cell of some class, for SetCellClass.
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;

    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // ---- Shape ----
    bool SetRowTotal(int rows);
    bool SetColumnTotal(int columns);
    bool SetFixedRowTotal(int rows);
    bool SetFixedColumnTotal(int columns);
    int GetRowTotal() const { return static_cast<int>(m_rows.size()); }
    int GetColumnTotal() const { return static_cast<int>(m_columnWidths.size()); }
    int GetFixedRowTotal() const { return m_fixedRows; }
    int GetFixedColumnTotal() const { return m_fixedColumns; }
    // Adds a row at the end whose first cell holds `heading`; its index, or -1.
    int AppendRow(const std::string& heading);
    // Deletes every row below the fixed rows.
    void ClearNonFixedRows();

    // ---- Cells ----
    // Replaces one cell by a new object from `factory`, keeping its text, data, state and look.
    bool SetCellClass(int row, int column, const CellFactory& factory);
    template <typename Cell>
    bool SetCellClass(int row, int column) {
        return SetCellClass(row, column, [] { return std::make_unique<Cell>(); });
    }
    CGridCellBase* GetCellObject(int row, int column) const;
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
    int GetColumnWidthAt(int column) const;
    bool SetRowHeightAt(int row, int height);
    int GetRowHeightAt(int row) const;
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
    void SetRedraw(bool on);
    void SetOwner(CGridOwner* owner) { m_owner = owner; }

    // ---- Focus, selection and sorting ----
    bool SetFocusCell(int row, int column);
    std::pair<int, int> GetFocusCell() const { return m_focus; }
    bool IsCellSelected(int row, int column) const;
    void SetSelectedRange(int firstRow, int firstColumn, int lastRow, int lastColumn);
    void ClearSelection();
    void SelectAll();
    void SetSortColumnIndex(int column);
    int GetSortColumnIndex() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_sortAscending; }
    // Sorts the rows below the fixed rows by `column` (the sort is not stable; rows that compare
    // equal may change places). Clears the selection and the focus.
    bool SortRows(const CompareFunction& compare, int column, bool ascending, std::intptr_t callerValue);
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
    // The selected range as text: cells separated by tabs, rows by CR LF.
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
    // The cell's rectangle in viewport coordinates (empty when it is out of view or hidden).
    QRect CellRect(int row, int column) const;
    // The cell under a viewport point, or (-1, -1).
    std::pair<int, int> CellAt(const QPoint& point) const;
    void EnsureVisible(int row, int column);
    // Scrolls so that `row` is the first row below the fixed rows.
    void ScrollToRow(int row);

protected:
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

private:
    struct Row {
        int height = 0;
        std::vector<std::unique_ptr<CGridCellBase>> cells;
    };
    using CellId = std::pair<int, int>;
    enum class MouseMode { None, SelectingCells, SizingColumn, SizingRow, PressedOnCell };

    bool IsValid(int row, int column) const;
    // Changes one cell and repaints it; false for a cell outside the grid.
    template <typename Change>
    bool ChangeCell(int row, int column, Change change);
    std::unique_ptr<CGridCellBase> NewCell(int row, int column) const;
    void UpdateFixedFlags();
    void RowsChanged();
    const std::vector<int>& RowEdges() const;
    const std::vector<int>& ColumnEdges() const;
    int FixedHeight() const;
    int FixedWidth() const;
    int RowAtY(int y) const;
    int ColumnAtX(int x) const;
    int ColumnBorderAt(const QPoint& point) const;
    int RowBorderAt(const QPoint& point) const;
    void UpdateScrollBars();
    int Notify(int code, int row, int column);
    void SelectCell(int row, int column, bool on);
    void MoveFocusTo(int row, int column, bool extend);
    void ClickSelect(int row, int column);
    void ExtendSelectionTo(int row, int column);
    int NextVisibleRow(int row, int step) const;
    int NextVisibleColumn(int column, int step) const;
    bool MoveFocusByKey(int key, Qt::KeyboardModifiers modifiers);
    void BeginEditWith(int row, int column, const QString& firstCharacter);
    void PaintRegion(QPainter& painter, const QRect& area, int firstRow, int lastRow, int firstColumn,
                     int lastColumn) const;
    // The sort column's cells with the index of their row.
    using SortKeys = std::vector<std::pair<const CGridCellBase*, std::size_t>>;
    void SortRange(SortKeys& keys, const CompareFunction& compare, bool ascending, std::intptr_t callerValue, int low,
                   int high);
    void OnDragTimer();
    bool ShowTitleTip(const QPoint& point);

    std::vector<Row> m_rows;
    std::vector<int> m_columnWidths;
    int m_fixedRows = 0;
    int m_fixedColumns = 0;
    int m_defaultRowHeight;
    int m_defaultColumnWidth = 80;
    mutable std::vector<int> m_rowEdges;  // top edge of each row and the bottom of the last
    mutable bool m_rowEdgesValid = false;
    mutable std::vector<int> m_columnEdges;
    mutable bool m_columnEdgesValid = false;

    std::array<std::unique_ptr<CGridDefaultCell>, 4> m_defaultCells;  // normal, fixed row, fixed column, both
    CellId m_focus{-1, -1};
    std::set<CellId> m_selected;
    CellId m_selectionAnchor{-1, -1};
    bool m_editable = true;
    bool m_wholeRowSelection = false;
    bool m_singleRowSelection = false;
    bool m_columnResize = true;
    bool m_rowResize = true;
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
};
