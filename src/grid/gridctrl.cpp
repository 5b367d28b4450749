#include "grid/gridctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <charconv>

#include "grid/gridcell.h"
#include "grid/gridowner.h"

namespace {

constexpr int kResizeMargin = 3;
constexpr int kDragScrollMilliseconds = 25;
const QColor kGridLineColour(192, 192, 192);

int Index(bool fixedRow, bool fixedColumn) {
    return (fixedRow ? 1 : 0) + (fixedColumn ? 2 : 0);
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The number a text starts with (after blanks, with one sign); 0 when there is none.
long long LeadingNumber(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && (*begin == ' ' || *begin == '\t')) {
        ++begin;
    }
    if (begin != end && *begin == '+') {
        ++begin;
    }
    long long value = 0;
    std::from_chars(begin, end, value);
    return value;
}

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    const QPalette colours = palette();
    const QFont font = this->font();
    m_defaultCells[0] =
        std::make_unique<CGridDefaultCell>(colours.color(QPalette::Text), colours.color(QPalette::Base), font, 3);
    for (const int group : {1, 2, 3}) {
        m_defaultCells[static_cast<std::size_t>(group)] = std::make_unique<CGridDefaultCell>(
            colours.color(QPalette::ButtonText), colours.color(QPalette::Button), font, 3);
    }
    m_defaultRowHeight = QFontMetrics(font).height() + 6;
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    m_dragTimer.setInterval(kDragScrollMilliseconds);
    connect(&m_dragTimer, &QTimer::timeout, this, &CGridCtrl::OnDragTimer);
}

CGridCtrl::~CGridCtrl() = default;

// ---- Shape ----

bool CGridCtrl::IsValid(int row, int column) const {
    return row >= 0 && column >= 0 && row < GetRowTotal() && column < GetColumnTotal();
}

std::unique_ptr<CGridCellBase> CGridCtrl::NewCell(int row, int column) const {
    auto cell = std::make_unique<CGridCell>();
    const bool fixedRow = row < m_fixedRows;
    const bool fixedColumn = column < m_fixedColumns;
    if (fixedRow || fixedColumn) {
        cell->SetState(kCellFixed | (fixedRow ? kCellFixedRow : 0) | (fixedColumn ? kCellFixedColumn : 0));
    }
    return cell;
}

bool CGridCtrl::SetRowTotal(int rows) {
    if (rows < 0) {
        return false;
    }
    EndEdit(false);
    ClearSelection();
    const int old = GetRowTotal();
    m_rows.resize(static_cast<std::size_t>(rows));
    for (int row = old; row < rows; ++row) {
        Row& added = m_rows[static_cast<std::size_t>(row)];
        added.height = m_defaultRowHeight;
        added.cells.reserve(m_columnWidths.size());
        for (int column = 0; column < GetColumnTotal(); ++column) {
            added.cells.push_back(NewCell(row, column));
        }
    }
    m_fixedRows = std::min(m_fixedRows, rows);
    RowsChanged();
    return true;
}

bool CGridCtrl::SetColumnTotal(int columns) {
    if (columns < 0) {
        return false;
    }
    EndEdit(false);
    ClearSelection();
    const int old = GetColumnTotal();
    m_columnWidths.resize(static_cast<std::size_t>(columns), m_defaultColumnWidth);
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        auto& cells = m_rows[row].cells;
        cells.resize(static_cast<std::size_t>(columns));
        for (int column = old; column < columns; ++column) {
            cells[static_cast<std::size_t>(column)] = NewCell(static_cast<int>(row), column);
        }
    }
    m_fixedColumns = std::min(m_fixedColumns, columns);
    m_columnEdgesValid = false;
    RowsChanged();
    return true;
}

bool CGridCtrl::SetFixedRowTotal(int rows) {
    if (rows < 0 || (rows > GetRowTotal() && !SetRowTotal(rows))) {
        return false;
    }
    m_fixedRows = rows;
    UpdateFixedFlags();
    return true;
}

bool CGridCtrl::SetFixedColumnTotal(int columns) {
    if (columns < 0 || (columns > GetColumnTotal() && !SetColumnTotal(columns))) {
        return false;
    }
    m_fixedColumns = columns;
    UpdateFixedFlags();
    return true;
}

void CGridCtrl::UpdateFixedFlags() {
    ClearSelection();
    constexpr std::uint32_t fixedFlags = kCellFixed | kCellFixedRow | kCellFixedColumn;
    for (int row = 0; row < GetRowTotal(); ++row) {
        for (int column = 0; column < GetColumnTotal(); ++column) {
            CGridCellBase& cell = *m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
            const bool fixedRow = row < m_fixedRows;
            const bool fixedColumn = column < m_fixedColumns;
            const std::uint32_t wanted = (fixedRow || fixedColumn ? kCellFixed : 0) | (fixedRow ? kCellFixedRow : 0) |
                                         (fixedColumn ? kCellFixedColumn : 0);
            if ((cell.GetState() & fixedFlags) != wanted) {
                cell.SetState((cell.GetState() & ~fixedFlags) | wanted);
                cell.SetTextColour(kUseDefaultColour);
                cell.SetBackColour(kUseDefaultColour);
            }
        }
    }
    RowsChanged();
}

int CGridCtrl::AppendRow(const std::string& heading) {
    try {
        Row row;
        row.height = m_defaultRowHeight;
        row.cells.reserve(m_columnWidths.size());
        const int index = GetRowTotal();
        for (int column = 0; column < GetColumnTotal(); ++column) {
            row.cells.push_back(NewCell(index, column));
        }
        if (!row.cells.empty()) {
            row.cells[0]->SetText(heading);
        }
        m_rows.push_back(std::move(row));
        if (m_rowEdgesValid) {
            m_rowEdges.push_back(m_rowEdges.back() + m_defaultRowHeight);
        }
        UpdateScrollBars();
        return index;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

void CGridCtrl::ClearNonFixedRows() {
    ClearSelection();
    m_focus = {-1, -1};
    SetRowTotal(m_fixedRows);
}

void CGridCtrl::RowsChanged() {
    m_rowEdgesValid = false;
    if (!IsValid(m_focus.first, m_focus.second)) {
        m_focus = {-1, -1};
    }
    UpdateScrollBars();
    RepaintAll();
}

// ---- Cells ----

CGridCellBase* CGridCtrl::GetCellObject(int row, int column) const {
    return IsValid(row, column) ? m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)].get()
                                : nullptr;
}

bool CGridCtrl::SetCellClass(int row, int column, const CellFactory& factory) {
    CGridCellBase* old = GetCellObject(row, column);
    if (old == nullptr) {
        return false;
    }
    std::unique_ptr<CGridCellBase> cell = factory();
    if (!cell) {
        return false;
    }
    cell->TakeOver(*old);
    cell->SetGrid(this);
    m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = std::move(cell);
    RedrawCell(row, column);
    return true;
}

template <typename Change>
bool CGridCtrl::ChangeCell(int row, int column, Change change) {
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr) {
        return false;
    }
    change(*cell);
    RedrawCell(row, column);
    return true;
}

bool CGridCtrl::SetCellText(int row, int column, const std::string& text) {
    return ChangeCell(row, column, [&](CGridCellBase& cell) { cell.SetText(text); });
}

std::string CGridCtrl::GetCellText(int row, int column) const {
    const CGridCellBase* cell = GetCellObject(row, column);
    return cell != nullptr ? cell->GetText() : std::string();
}

bool CGridCtrl::SetCellData(int row, int column, std::int32_t value) {
    return ChangeCell(row, column, [&](CGridCellBase& cell) { cell.SetData(value); });
}

std::int32_t CGridCtrl::GetCellData(int row, int column) const {
    const CGridCellBase* cell = GetCellObject(row, column);
    return cell != nullptr ? cell->GetData() : 0;
}

bool CGridCtrl::SetCellFormat(int row, int column, std::uint32_t format) {
    return ChangeCell(row, column, [&](CGridCellBase& cell) { cell.SetFormat(format); });
}

bool CGridCtrl::SetCellBackColour(int row, int column, std::uint32_t colour) {
    return ChangeCell(row, column, [&](CGridCellBase& cell) { cell.SetBackColour(colour); });
}

bool CGridCtrl::SetCellState(int row, int column, std::uint32_t state) {
    return ChangeCell(row, column, [&](CGridCellBase& cell) { cell.SetState(state); });
}

std::uint32_t CGridCtrl::GetCellState(int row, int column) const {
    const CGridCellBase* cell = GetCellObject(row, column);
    return cell != nullptr ? cell->GetState() : 0;
}

// ---- Sizes ----

bool CGridCtrl::SetColumnWidthAt(int column, int width) {
    if (column < 0 || column >= GetColumnTotal()) {
        return false;
    }
    m_columnWidths[static_cast<std::size_t>(column)] = std::max(width, 0);
    m_columnEdgesValid = false;
    UpdateScrollBars();
    RepaintAll();
    return true;
}

int CGridCtrl::GetColumnWidthAt(int column) const {
    return column >= 0 && column < GetColumnTotal() ? m_columnWidths[static_cast<std::size_t>(column)] : -1;
}

bool CGridCtrl::SetRowHeightAt(int row, int height) {
    if (row < 0 || row >= GetRowTotal()) {
        return false;
    }
    m_rows[static_cast<std::size_t>(row)].height = std::max(height, 0);
    m_rowEdgesValid = false;
    UpdateScrollBars();
    RepaintAll();
    return true;
}

int CGridCtrl::GetRowHeightAt(int row) const {
    return row >= 0 && row < GetRowTotal() ? m_rows[static_cast<std::size_t>(row)].height : -1;
}

bool CGridCtrl::AutoSizeColumn(int column) {
    if (column < 0 || column >= GetColumnTotal()) {
        return false;
    }
    int widest = 0;
    for (const Row& row : m_rows) {
        widest = std::max(widest, row.cells[static_cast<std::size_t>(column)]->TextExtent(*this).width());
    }
    return SetColumnWidthAt(column, widest);
}

bool CGridCtrl::AutoSizeRow(int row) {
    if (row < 0 || row >= GetRowTotal()) {
        return false;
    }
    int tallest = 0;
    for (const auto& cell : m_rows[static_cast<std::size_t>(row)].cells) {
        tallest = std::max(tallest, cell->TextExtent(*this).height());
    }
    return SetRowHeightAt(row, tallest);
}

void CGridCtrl::AutoSizeColumns() {
    for (int column = 0; column < GetColumnTotal(); ++column) {
        if (GetColumnWidthAt(column) > 0) {
            AutoSizeColumn(column);
        }
    }
}

// ---- Geometry ----

const std::vector<int>& CGridCtrl::RowEdges() const {
    if (!m_rowEdgesValid) {
        m_rowEdges.assign(1, 0);
        m_rowEdges.reserve(m_rows.size() + 1);
        for (const Row& row : m_rows) {
            m_rowEdges.push_back(m_rowEdges.back() + row.height);
        }
        m_rowEdgesValid = true;
    }
    return m_rowEdges;
}

const std::vector<int>& CGridCtrl::ColumnEdges() const {
    if (!m_columnEdgesValid) {
        m_columnEdges.assign(1, 0);
        for (const int width : m_columnWidths) {
            m_columnEdges.push_back(m_columnEdges.back() + width);
        }
        m_columnEdgesValid = true;
    }
    return m_columnEdges;
}

int CGridCtrl::FixedHeight() const {
    return RowEdges()[static_cast<std::size_t>(m_fixedRows)];
}

int CGridCtrl::FixedWidth() const {
    return ColumnEdges()[static_cast<std::size_t>(m_fixedColumns)];
}

// The row whose span holds `y` (viewport coordinates), or -1.
int CGridCtrl::RowAtY(int y) const {
    const std::vector<int>& edges = RowEdges();
    const int content = y < FixedHeight() ? y : y + verticalScrollBar()->value();
    if (y < 0 || content >= edges.back()) {
        return -1;
    }
    const auto first = y < FixedHeight() ? edges.begin() : edges.begin() + m_fixedRows;
    return static_cast<int>(std::upper_bound(first, edges.end(), content) - edges.begin()) - 1;
}

int CGridCtrl::ColumnAtX(int x) const {
    const std::vector<int>& edges = ColumnEdges();
    const int content = x < FixedWidth() ? x : x + horizontalScrollBar()->value();
    if (x < 0 || content >= edges.back()) {
        return -1;
    }
    const auto first = x < FixedWidth() ? edges.begin() : edges.begin() + m_fixedColumns;
    return static_cast<int>(std::upper_bound(first, edges.end(), content) - edges.begin()) - 1;
}

std::pair<int, int> CGridCtrl::CellAt(const QPoint& point) const {
    const int row = RowAtY(point.y());
    const int column = ColumnAtX(point.x());
    return row >= 0 && column >= 0 ? CellId{row, column} : CellId{-1, -1};
}

QRect CGridCtrl::CellRect(int row, int column) const {
    if (!IsValid(row, column)) {
        return {};
    }
    const std::vector<int>& rows = RowEdges();
    const std::vector<int>& columns = ColumnEdges();
    const int top = rows[static_cast<std::size_t>(row)] - (row < m_fixedRows ? 0 : verticalScrollBar()->value());
    const int left =
        columns[static_cast<std::size_t>(column)] - (column < m_fixedColumns ? 0 : horizontalScrollBar()->value());
    return {left, top, m_columnWidths[static_cast<std::size_t>(column)], m_rows[static_cast<std::size_t>(row)].height};
}

// The column whose right border is within reach of a point in a fixed row, or -1.
int CGridCtrl::ColumnBorderAt(const QPoint& point) const {
    if (!m_columnResize || point.y() >= FixedHeight()) {
        return -1;
    }
    const int column = ColumnAtX(point.x());
    for (const int candidate : {column, column - 1}) {
        const QRect rect = CellRect(0, candidate);
        if (candidate >= 0 && !rect.isNull() && std::abs(point.x() - rect.right() - 1) <= kResizeMargin) {
            return candidate;
        }
    }
    return -1;
}

// The row whose bottom border is within reach of a point in a fixed column, or -1.
int CGridCtrl::RowBorderAt(const QPoint& point) const {
    if (!m_rowResize || point.x() >= FixedWidth()) {
        return -1;
    }
    const int row = RowAtY(point.y());
    for (const int candidate : {row, row - 1}) {
        const QRect rect = CellRect(candidate, 0);
        if (candidate >= 0 && !rect.isNull() && std::abs(point.y() - rect.bottom() - 1) <= kResizeMargin) {
            return candidate;
        }
    }
    return -1;
}

void CGridCtrl::UpdateScrollBars() {
    const QSize area = viewport()->size();
    const int bodyHeight = RowEdges().back() - FixedHeight();
    const int bodyWidth = ColumnEdges().back() - FixedWidth();
    const int visibleHeight = std::max(area.height() - FixedHeight(), 0);
    const int visibleWidth = std::max(area.width() - FixedWidth(), 0);
    verticalScrollBar()->setRange(0, std::max(bodyHeight - visibleHeight, 0));
    verticalScrollBar()->setPageStep(visibleHeight);
    verticalScrollBar()->setSingleStep(m_defaultRowHeight);
    horizontalScrollBar()->setRange(0, std::max(bodyWidth - visibleWidth, 0));
    horizontalScrollBar()->setPageStep(visibleWidth);
    horizontalScrollBar()->setSingleStep(m_defaultColumnWidth / 4);
}

void CGridCtrl::EnsureVisible(int row, int column) {
    if (!IsValid(row, column)) {
        return;
    }
    const std::vector<int>& rows = RowEdges();
    if (row >= m_fixedRows) {
        const int top = rows[static_cast<std::size_t>(row)] - FixedHeight();
        const int bottom = rows[static_cast<std::size_t>(row) + 1] - FixedHeight();
        const int visible = viewport()->height() - FixedHeight();
        QScrollBar* bar = verticalScrollBar();
        if (top < bar->value()) {
            bar->setValue(top);
        } else if (bottom > bar->value() + visible) {
            bar->setValue(bottom - visible);
        }
    }
    const std::vector<int>& columns = ColumnEdges();
    if (column >= m_fixedColumns) {
        const int left = columns[static_cast<std::size_t>(column)] - FixedWidth();
        const int right = columns[static_cast<std::size_t>(column) + 1] - FixedWidth();
        const int visible = viewport()->width() - FixedWidth();
        QScrollBar* bar = horizontalScrollBar();
        if (left < bar->value()) {
            bar->setValue(left);
        } else if (right > bar->value() + visible) {
            bar->setValue(std::min(left, right - visible));
        }
    }
}

void CGridCtrl::ScrollToRow(int row) {
    if (row >= m_fixedRows && row < GetRowTotal()) {
        verticalScrollBar()->setValue(RowEdges()[static_cast<std::size_t>(row)] - FixedHeight());
    }
}

// ---- Switches ----

void CGridCtrl::SetWholeRowSelection(bool on) {
    m_wholeRowSelection = on;
    ClearSelection();
    m_sortColumn = -1;
    RepaintAll();
}

void CGridCtrl::SetRedraw(bool on) {
    m_redraw = on;
    RepaintAll();
}

// ---- Focus and selection ----

int CGridCtrl::Notify(int code, int row, int column) {
    return m_owner != nullptr ? m_owner->OnGridNotify(*this, code, row, column) : 0;
}

void CGridCtrl::SelectCell(int row, int column, bool on) {
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr || (on && (cell->GetState() & kCellFixed) != 0)) {
        return;
    }
    cell->SetState(on ? cell->GetState() | kCellSelected : cell->GetState() & ~kCellSelected);
    if (on) {
        m_selected.insert({row, column});
    } else {
        m_selected.erase({row, column});
    }
    RedrawCell(row, column);
}

bool CGridCtrl::IsCellSelected(int row, int column) const {
    const CGridCellBase* cell = GetCellObject(row, column);
    return cell != nullptr && (cell->GetState() & kCellSelected) != 0;
}

void CGridCtrl::ClearSelection() {
    const std::set<CellId> selected = std::move(m_selected);
    m_selected.clear();
    for (const auto& [row, column] : selected) {
        if (CGridCellBase* cell = GetCellObject(row, column)) {
            cell->SetState(cell->GetState() & ~kCellSelected);
        }
    }
    RepaintAll();
}

void CGridCtrl::SetSelectedRange(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    ClearSelection();
    if (m_wholeRowSelection) {
        firstColumn = m_fixedColumns;
        lastColumn = GetColumnTotal() - 1;
    }
    for (int row = std::max(std::min(firstRow, lastRow), m_fixedRows); row <= std::max(firstRow, lastRow); ++row) {
        for (int column = std::max(std::min(firstColumn, lastColumn), m_fixedColumns);
             column <= std::max(firstColumn, lastColumn); ++column) {
            SelectCell(row, column, true);
        }
    }
}

void CGridCtrl::SelectAll() {
    SetSelectedRange(m_fixedRows, m_fixedColumns, GetRowTotal() - 1, GetColumnTotal() - 1);
}

bool CGridCtrl::SetFocusCell(int row, int column) {
    if (!(row == -1 && column == -1) && !IsValid(row, column)) {
        return false;
    }
    if (CGridCellBase* old = GetCellObject(m_focus.first, m_focus.second)) {
        old->SetState(old->GetState() & ~kCellFocused);
        RedrawCell(m_focus.first, m_focus.second);
    }
    m_focus = {row, column};
    if (CGridCellBase* cell = GetCellObject(row, column)) {
        cell->SetState(cell->GetState() | kCellFocused);
        RedrawCell(row, column);
    }
    return true;
}

// Moves the focus after a key or a click, selecting as the mode wants; `extend` stretches the
// selection from its anchor.
void CGridCtrl::MoveFocusTo(int row, int column, bool extend) {
    if (!IsValid(row, column)) {
        return;
    }
    Notify(kGridSelectionChanging, row, column);
    SetFocusCell(row, column);
    if (!extend || m_singleRowSelection || m_selectionAnchor.first < 0) {
        m_selectionAnchor = {row, column};
    }
    SetSelectedRange(m_selectionAnchor.first, m_selectionAnchor.second, row, column);
    EnsureVisible(row, column);
    Notify(kGridSelectionChanged, row, column);
}

void CGridCtrl::ClickSelect(int row, int column) {
    MoveFocusTo(row, column, false);
}

void CGridCtrl::ExtendSelectionTo(int row, int column) {
    if (IsValid(row, column) && CellId{row, column} != m_focus) {
        MoveFocusTo(row, column, true);
    }
}

// ---- Sorting ----

void CGridCtrl::SetSortColumnIndex(int column) {
    const int old = m_sortColumn;
    m_sortColumn = column;
    for (int row = 0; row < m_fixedRows; ++row) {
        RedrawCell(row, old);
        RedrawCell(row, column);
    }
}

int CGridCtrl::CompareText(const CGridCellBase& a, const CGridCellBase& b, std::intptr_t) {
    return a.GetText().compare(b.GetText());
}

int CGridCtrl::CompareNumbers(const CGridCellBase& a, const CGridCellBase& b, std::intptr_t) {
    const long long x = LeadingNumber(a.GetText());
    const long long y = LeadingNumber(b.GetText());
    return x < y ? -1 : x > y ? 1 : 0;
}

bool CGridCtrl::SortRows(const CompareFunction& compare, int column, bool ascending, std::intptr_t callerValue) {
    if (column < 0 || column >= GetColumnTotal()) {
        return false;
    }
    EndEdit(false);
    ClearSelection();
    SetFocusCell(-1, -1);
    m_sortColumn = column;
    m_sortAscending = ascending;
    // The rows are exchanged as entries of the sort column, which carry their row along; the
    // rows themselves are put in that order once at the end.
    SortKeys keys;
    keys.reserve(m_rows.size());
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        keys.emplace_back(m_rows[row].cells[static_cast<std::size_t>(column)].get(), row);
    }
    SortRange(keys, compare, ascending, callerValue, m_fixedRows, GetRowTotal() - 1);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(m_rows[key.second]));
    }
    m_rows = std::move(sorted);
    m_rowEdgesValid = false;
    RepaintAll();
    return true;
}

// Quicksort with the middle entry as pivot: equal rows may trade places, as users of the
// grid have always seen. The smaller part is sorted by recursion, the larger in the loop, so
// the depth stays logarithmic; the order the parts are sorted in does not change the result.
void CGridCtrl::SortRange(SortKeys& keys, const CompareFunction& compare, bool ascending, std::intptr_t callerValue,
                          int low, int high) {
    const auto cellOf = [&](int row) -> const CGridCellBase& { return *keys[static_cast<std::size_t>(row)].first; };
    while (low < high) {
        const CGridCellBase* pivot = &cellOf((low + high) / 2);
        int i = low;
        int j = high;
        while (i <= j) {
            if (ascending) {
                while (i < high && compare(cellOf(i), *pivot, callerValue) < 0) {
                    ++i;
                }
                while (j > low && compare(cellOf(j), *pivot, callerValue) > 0) {
                    --j;
                }
            } else {
                while (i < high && compare(cellOf(i), *pivot, callerValue) > 0) {
                    ++i;
                }
                while (j > low && compare(cellOf(j), *pivot, callerValue) < 0) {
                    --j;
                }
            }
            if (j < i) {
                break;
            }
            if (compare(cellOf(i), cellOf(j), callerValue) != 0) {
                std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
            }
            ++i;
            --j;
        }
        if (j - low < high - i) {
            SortRange(keys, compare, ascending, callerValue, low, j);
            low = i;
        } else {
            SortRange(keys, compare, ascending, callerValue, i, high);
            high = j;
        }
    }
}

// ---- Editing ----

bool CGridCtrl::BeginEdit(int row, int column) {
    BeginEditWith(row, column, QString());
    return m_editor != nullptr;
}

void CGridCtrl::BeginEditWith(int row, int column, const QString& firstCharacter) {
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr || !m_editable || (cell->GetState() & (kCellReadOnly | kCellFixed)) != 0) {
        return;
    }
    EndEdit();
    EnsureVisible(row, column);
    if (Notify(kGridBeginEdit, row, column) < 0) {
        return;
    }
    m_editor = cell->CreateEditor(viewport(), cell->GetText());
    m_editCell = {row, column};
    m_editorInitialText = cell->EditorText(m_editor);
    if (auto* line = qobject_cast<QLineEdit*>(m_editor); line != nullptr && !firstCharacter.isEmpty()) {
        line->setText(firstCharacter);
    }
    m_editor->setGeometry(CellRect(row, column).adjusted(0, 0, -1, -1));
    m_editor->installEventFilter(this);
    m_editor->show();
    m_editor->setFocus();
}

void CGridCtrl::EndEdit(bool keep) {
    if (m_editor == nullptr) {
        return;
    }
    QWidget* editor = m_editor;
    m_editor = nullptr;  // a focus change while closing must not close it twice
    const auto [row, column] = m_editCell;
    CGridCellBase* cell = GetCellObject(row, column);
    const std::string text = cell != nullptr ? cell->EditorText(editor) : std::string();
    editor->removeEventFilter(this);
    editor->hide();
    editor->deleteLater();
    setFocus();
    // An editor shows a text that is not UTF-8 as well as it can: only a change by the user counts.
    if (!keep || cell == nullptr || text == m_editorInitialText || text == cell->GetText()) {
        return;
    }
    const std::string old = cell->GetText();
    cell->SetText(text);
    if (Notify(kGridEndEdit, row, column) < 0) {
        cell->SetText(old);
    }
    RedrawCell(row, column);
}

bool CGridCtrl::SetTextAsUser(int row, int column, const std::string& text) {
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr || !m_editable || (cell->GetState() & (kCellReadOnly | kCellFixed)) != 0) {
        return false;
    }
    if (Notify(kGridBeginEdit, row, column) < 0) {
        return false;
    }
    const std::string old = cell->GetText();
    if (text == old) {
        return true;
    }
    cell->SetText(text);
    const bool accepted = Notify(kGridEndEdit, row, column) >= 0;
    if (!accepted) {
        cell->SetText(old);
    }
    RedrawCell(row, column);
    return accepted;
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor) {
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut && !m_editor->isAncestorOf(QApplication::focusWidget())) {
        EndEdit();
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Escape:
            EndEdit(false);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EndEdit();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            if (qobject_cast<QLineEdit*>(m_editor) == nullptr &&
                (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
                return false;  // a list editor uses the arrows itself
            }
            EndEdit();
            MoveFocusByKey(key->key(), key->modifiers());
            return true;
        }
        default:
            return false;
    }
}

// ---- Clipboard ----

std::string CGridCtrl::SelectedText() const {
    if (m_selected.empty()) {
        return {};
    }
    int firstRow = m_selected.begin()->first;
    int lastRow = m_selected.rbegin()->first;
    int firstColumn = GetColumnTotal();
    int lastColumn = -1;
    for (const auto& [row, column] : m_selected) {
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
    }
    std::string text;
    bool firstLine = true;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (GetRowHeightAt(row) <= 0) {
            continue;
        }
        text += firstLine ? "" : "\r\n";
        firstLine = false;
        bool firstCell = true;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (GetColumnWidthAt(column) <= 0) {
                continue;
            }
            text += firstCell ? "" : "\t";
            firstCell = false;
            if (IsCellSelected(row, column)) {
                text += GetCellText(row, column);
            }
        }
    }
    return text;
}

void CGridCtrl::Copy() const {
    const std::string text = SelectedText();
    QApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void CGridCtrl::Cut() {
    Copy();
    const std::set<CellId> selected = m_selected;
    for (const auto& [row, column] : selected) {
        SetTextAsUser(row, column, "");
    }
}

void CGridCtrl::Paste() {
    PasteText(QApplication::clipboard()->text().toStdString());
}

void CGridCtrl::PasteText(const std::string& text) {
    const CGridCellBase* focus = GetCellObject(m_focus.first, m_focus.second);
    if (focus == nullptr || !m_editable || (focus->GetState() & kCellReadOnly) != 0) {
        return;
    }
    int row = m_focus.first;
    std::size_t lineStart = 0;
    while (lineStart < text.size() && row >= 0 && row < GetRowTotal()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        int column = m_focus.second;
        std::size_t pieceStart = 0;
        while (pieceStart <= line.size() && column >= 0 && column < GetColumnTotal()) {
            const std::size_t pieceEnd = std::min(line.find_first_of("\t,", pieceStart), line.size());
            SetTextAsUser(row, column, Trimmed(line.substr(pieceStart, pieceEnd - pieceStart)));
            pieceStart = pieceEnd + 1;
            column = NextVisibleColumn(column, 1);
        }
        lineStart = lineEnd + 1;
        row = NextVisibleRow(row, 1);
    }
}

// ---- Keyboard ----

int CGridCtrl::NextVisibleRow(int row, int step) const {
    for (int next = row + step; next >= m_fixedRows && next < GetRowTotal(); next += step) {
        if (GetRowHeightAt(next) > 0) {
            return next;
        }
    }
    return -1;
}

int CGridCtrl::NextVisibleColumn(int column, int step) const {
    for (int next = column + step; next >= m_fixedColumns && next < GetColumnTotal(); next += step) {
        if (GetColumnWidthAt(next) > 0) {
            return next;
        }
    }
    return -1;
}

bool CGridCtrl::MoveFocusByKey(int key, Qt::KeyboardModifiers modifiers) {
    auto [row, column] = m_focus;
    if (row < 0) {
        row = NextVisibleRow(m_fixedRows - 1, 1);
        column = NextVisibleColumn(m_fixedColumns - 1, 1);
        MoveFocusTo(row, column, false);
        return true;
    }
    const bool control = (modifiers & Qt::ControlModifier) != 0;
    const int page = std::max(1, (viewport()->height() - FixedHeight()) / std::max(m_defaultRowHeight, 1));
    const auto stepRows = [&](int count, int step) {
        int target = row;
        for (int next = NextVisibleRow(target, step); count > 0 && next >= 0; next = NextVisibleRow(next, step)) {
            target = next;
            --count;
        }
        return target;
    };
    switch (key) {
        case Qt::Key_Up:
            row = stepRows(1, -1);
            break;
        case Qt::Key_Down:
            row = stepRows(1, 1);
            break;
        case Qt::Key_PageUp:
            row = stepRows(page, -1);
            break;
        case Qt::Key_PageDown:
            row = stepRows(page, 1);
            break;
        case Qt::Key_Left:
            column = std::max(NextVisibleColumn(column, -1), column == m_fixedColumns ? column : -1);
            break;
        case Qt::Key_Right:
            column = std::max(NextVisibleColumn(column, 1), column);
            break;
        case Qt::Key_Home:
            column = NextVisibleColumn(m_fixedColumns - 1, 1);
            row = control ? NextVisibleRow(m_fixedRows - 1, 1) : row;
            break;
        case Qt::Key_End:
            column = NextVisibleColumn(GetColumnTotal(), -1);
            row = control ? NextVisibleRow(GetRowTotal(), -1) : row;
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const int step = key == Qt::Key_Tab ? 1 : -1;
            const int next = NextVisibleColumn(column, step);
            if (next >= 0) {
                column = next;
            } else if (NextVisibleRow(row, step) >= 0) {
                row = NextVisibleRow(row, step);
                column = NextVisibleColumn(step > 0 ? m_fixedColumns - 1 : GetColumnTotal(), step);
            }
            break;
        }
        default:
            return false;
    }
    if (row >= 0 && column >= 0) {
        MoveFocusTo(row, column, (modifiers & Qt::ShiftModifier) != 0 && key != Qt::Key_Backtab);
    }
    return true;
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    const int key = event->key();
    if (control && (key == Qt::Key_C || key == Qt::Key_Insert)) {
        Copy();
    } else if (control && key == Qt::Key_X) {
        Cut();
    } else if (control && key == Qt::Key_V) {
        Paste();
    } else if (control && key == Qt::Key_A) {
        SelectAll();
    } else if (control && key == Qt::Key_Plus && (event->modifiers() & Qt::KeypadModifier) != 0) {
        AutoSizeColumns();
    } else if (key == Qt::Key_F2) {
        BeginEdit(m_focus.first, m_focus.second);
    } else if (key == Qt::Key_Delete && m_editable) {
        const std::set<CellId> selected = m_selected;
        for (const auto& [row, column] : selected) {
            SetTextAsUser(row, column, "");
        }
    } else if (MoveFocusByKey(key, event->modifiers())) {
        // moved
    } else if (!control && key != Qt::Key_Escape && !event->text().isEmpty() && event->text().at(0).isPrint()) {
        BeginEditWith(m_focus.first, m_focus.second, event->text());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

// ---- Mouse ----

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    EndEdit();
    const QPoint point = event->position().toPoint();
    m_sizingColumn = ColumnBorderAt(point);
    m_sizingRow = m_sizingColumn < 0 ? RowBorderAt(point) : -1;
    if (m_sizingColumn >= 0 || m_sizingRow >= 0) {
        m_mouseMode = m_sizingColumn >= 0 ? MouseMode::SizingColumn : MouseMode::SizingRow;
        return;
    }
    const auto [row, column] = CellAt(point);
    m_pressCell = {row, column};
    if (row < 0) {
        m_mouseMode = MouseMode::None;
        return;
    }
    CGridCellBase* cell = GetCellObject(row, column);
    const QRect rect = CellRect(row, column);
    m_editOnRelease = m_focus == CellId{row, column} && (cell->GetState() & kCellFixed) == 0;
    cell->OnClickDown(point - rect.topLeft(), rect);
    if ((cell->GetState() & kCellFixed) == 0) {
        ClickSelect(row, column);
        m_mouseMode = MouseMode::SelectingCells;
        m_dragTimer.start();
    } else {
        m_mouseMode = MouseMode::PressedOnCell;
    }
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_mouseMode == MouseMode::None) {
        viewport()->setCursor(ColumnBorderAt(point) >= 0 ? Qt::SplitHCursor
                              : RowBorderAt(point) >= 0  ? Qt::SplitVCursor
                                                         : Qt::ArrowCursor);
    } else if (m_mouseMode == MouseMode::SelectingCells && !m_singleRowSelection) {
        const auto [row, column] = CellAt(point);
        ExtendSelectionTo(row, column);
    }
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_dragTimer.stop();
    const QPoint point = event->position().toPoint();
    const MouseMode mode = std::exchange(m_mouseMode, MouseMode::None);
    if (mode == MouseMode::SizingColumn) {
        const QRect rect = CellRect(0, m_sizingColumn);
        SetColumnWidthAt(m_sizingColumn, std::max(point.x() - rect.left(), 0));
        return;
    }
    if (mode == MouseMode::SizingRow) {
        const QRect rect = CellRect(m_sizingRow, 0);
        SetRowHeightAt(m_sizingRow, std::max(point.y() - rect.top(), 0));
        return;
    }
    const auto [row, column] = m_pressCell;
    if (mode == MouseMode::None || row < 0) {
        return;
    }
    if (CellAt(point) == m_pressCell) {
        CGridCellBase* cell = GetCellObject(row, column);
        const QRect rect = CellRect(row, column);
        const bool handled = cell->OnClick(*this, row, column, point - rect.topLeft(), rect);
        Notify(kGridClick, row, column);
        if (m_editOnRelease && !handled) {
            BeginEdit(row, column);
        }
    }
    if (m_owner != nullptr) {
        m_owner->OnGridCommand(*this);
    }
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (const int border = ColumnBorderAt(point); border >= 0) {
        AutoSizeColumn(border);
        return;
    }
    if (const int border = RowBorderAt(point); border >= 0) {
        AutoSizeRow(border);
        return;
    }
    const auto [row, column] = CellAt(point);
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr) {
        return;
    }
    const QRect rect = CellRect(row, column);
    const bool handled = cell->OnDblClick(*this, row, column, point - rect.topLeft(), rect);
    Notify(kGridDoubleClick, row, column);
    if (!handled && (cell->GetState() & kCellFixed) == 0) {
        BeginEdit(row, column);
    }
}

// While the button is held after a press on a cell: scroll towards the pointer and stretch
// the selection to the cell under it.
void CGridCtrl::OnDragTimer() {
    if (QApplication::mouseButtons() == Qt::NoButton) {
        m_dragTimer.stop();
        m_mouseMode = MouseMode::None;
        return;
    }
    const QPoint point = viewport()->mapFromGlobal(QCursor::pos());
    const QRect area = viewport()->rect();
    if (point.y() > area.bottom()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (point.y() < FixedHeight()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }
    if (point.x() > area.right()) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (point.x() < FixedWidth()) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }
    if (m_singleRowSelection) {
        return;
    }
    const QPoint clamped(std::clamp(point.x(), FixedWidth(), std::max(area.right(), FixedWidth())),
                         std::clamp(point.y(), FixedHeight(), std::max(area.bottom(), FixedHeight())));
    const auto [row, column] = CellAt(clamped);
    ExtendSelectionTo(row, column);
}

// ---- Painting ----

const CGridDefaultCell& CGridCtrl::DefaultCellOf(std::uint32_t state) const {
    return *m_defaultCells[static_cast<std::size_t>(
        Index((state & kCellFixedRow) != 0, (state & kCellFixedColumn) != 0))];
}

CGridDefaultCell& CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedColumn) {
    return *m_defaultCells[static_cast<std::size_t>(Index(fixedRow, fixedColumn))];
}

void CGridCtrl::RedrawCell(int row, int column) {
    if (!m_redraw || !IsValid(row, column) || !viewport()->isVisible()) {
        return;
    }
    const QRect rect = CellRect(row, column);
    if (rect.intersects(viewport()->rect())) {
        viewport()->update(rect);
    }
}

void CGridCtrl::RedrawRow(int row) {
    if (m_redraw && row >= 0 && row < GetRowTotal()) {
        const QRect first = CellRect(row, 0);
        viewport()->update(QRect(0, first.top(), viewport()->width(), first.height()));
    }
}

void CGridCtrl::RepaintAll() {
    if (m_redraw) {
        viewport()->update();
    }
}

void CGridCtrl::PaintRegion(QPainter& painter, const QRect& area, int firstRow, int lastRow, int firstColumn,
                            int lastColumn) const {
    if (firstRow < 0 || firstColumn < 0 || area.isEmpty()) {
        return;
    }
    painter.save();
    painter.setClipRect(area);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const QRect rect = CellRect(row, column);
            if (rect.width() <= 0 || rect.height() <= 0) {
                continue;
            }
            m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)]->Draw(
                painter, rect.adjusted(0, 0, -1, -1), *this);
            painter.setPen(kGridLineColour);
            painter.drawLine(rect.topRight(), rect.bottomRight());
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        }
    }
    painter.restore();
}

void CGridCtrl::paintEvent(QPaintEvent* /*event*/) {
    if (!m_redraw) {
        return;
    }
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    const int fixedHeight = std::min(FixedHeight(), area.height());
    const int fixedWidth = std::min(FixedWidth(), area.width());
    // The last visible row and column below or right of the fixed ones.
    const auto lastRowIn = [&](int fromY) {
        const int last = RowAtY(area.bottom());
        return last >= 0 ? last : (RowAtY(fromY) >= 0 ? GetRowTotal() - 1 : -1);
    };
    const auto lastColumnIn = [&](int fromX) {
        const int last = ColumnAtX(area.right());
        return last >= 0 ? last : (ColumnAtX(fromX) >= 0 ? GetColumnTotal() - 1 : -1);
    };
    const int firstRow = RowAtY(fixedHeight);
    const int firstColumn = ColumnAtX(fixedWidth);
    const int lastRow = lastRowIn(fixedHeight);
    const int lastColumn = lastColumnIn(fixedWidth);
    PaintRegion(painter, QRect(fixedWidth, fixedHeight, area.width() - fixedWidth, area.height() - fixedHeight),
                firstRow, lastRow, firstColumn, lastColumn);
    PaintRegion(painter, QRect(fixedWidth, 0, area.width() - fixedWidth, fixedHeight), 0, m_fixedRows - 1, firstColumn,
                lastColumn);
    PaintRegion(painter, QRect(0, fixedHeight, fixedWidth, area.height() - fixedHeight), firstRow, lastRow, 0,
                m_fixedColumns - 1);
    PaintRegion(painter, QRect(0, 0, fixedWidth, fixedHeight), 0, m_fixedRows - 1, 0, m_fixedColumns - 1);
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGridCtrl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    if (m_editor != nullptr) {
        m_editor->setGeometry(CellRect(m_editCell.first, m_editCell.second).adjusted(0, 0, -1, -1));
    }
    viewport()->update();
}

bool CGridCtrl::ShowTitleTip(const QPoint& point) {
    const auto [row, column] = CellAt(point);
    const CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr || QApplication::activeWindow() == nullptr) {
        return false;
    }
    const QRect rect = CellRect(row, column);
    if (cell->TextExtent(*this).width() <= rect.width()) {
        return false;
    }
    const std::string tip = " " + cell->GetTipText() + " ";
    QToolTip::showText(viewport()->mapToGlobal(rect.topLeft()),
                       QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())), viewport(), rect);
    return true;
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        if (!ShowTitleTip(static_cast<QHelpEvent*>(event)->pos())) {
            QToolTip::hideText();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
