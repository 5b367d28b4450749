// The grid's shape, cells, sizes, selection, sorting and painting. Editing, the keyboard and
// the mouse are in gridinput.cpp.

#include "grid/gridctrl.h"

#include <QAccessible>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

#include "grid/gridaccessible.h"
#include "grid/gridcell.h"
#include "grid/gridowner.h"
#include "grid/gridrowsource.h"
#include "grid/gridtitletip.h"

namespace {

constexpr int kResizeMargin = 3;
constexpr int kDragScrollMilliseconds = 25;
constexpr int kDefaultColumnWidth = 80;
// The average letter width of the 8-point font the designed column widths were made for.
constexpr double kDesignLetterWidth = 6.0;
const QColor kGridLineColour(192, 192, 192);

int Index(bool fixedRow, bool fixedColumn) {
    return (fixedRow ? 1 : 0) + (fixedColumn ? 2 : 0);
}

// The grid's font width over the design font's, never below 1.
double WidthScale(const QFont& font) {
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const double letterWidth = QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
    return std::max(1.0, letterWidth / kDesignLetterWidth);
}

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_rows(QFontMetrics(font()).height() + 6),
      m_columns(kDefaultColumnWidth),
      m_titleTip(new CGridTitleTip(this)) {
    const QPalette colours = palette();
    const QFont font = this->font();
    m_defaultCells[0] =
        std::make_unique<CGridDefaultCell>(colours.color(QPalette::Text), colours.color(QPalette::Base), font, 3);
    for (const int group : {1, 2, 3}) {
        m_defaultCells[static_cast<std::size_t>(group)] = std::make_unique<CGridDefaultCell>(
            colours.color(QPalette::ButtonText), colours.color(QPalette::Button), font, 3);
    }
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    m_dragTimer.setInterval(kDragScrollMilliseconds);
    connect(&m_dragTimer, &QTimer::timeout, this, &CGridCtrl::OnDragTimer);
    QAccessible::installFactory(GridAccessibleFactory);
}

CGridCtrl::~CGridCtrl() = default;

// ---- Shape ----

std::uint32_t CGridCtrl::FixedStateOf(int row, int column) const {
    const bool fixedRow = m_rows.IsFixed(row);
    const bool fixedColumn = m_columns.IsFixed(column);
    return (fixedRow || fixedColumn ? kCellFixed : 0) | (fixedRow ? kCellFixedRow : 0) |
           (fixedColumn ? kCellFixedColumn : 0);
}

std::unique_ptr<CGridCellBase> CGridCtrl::NewCell(int row, int column) const {
    auto cell = std::make_unique<CGridCell>();
    cell->SetState(FixedStateOf(row, column));
    return cell;
}

CGridCtrl::CellRow CGridCtrl::NewRow(int row) const {
    CellRow cells;
    cells.reserve(static_cast<std::size_t>(GetColumnTotal()));
    for (int column = 0; column < GetColumnTotal(); ++column) {
        cells.push_back(NewCell(row, column));
    }
    return cells;
}

// Cells were deleted, replaced or moved: what pointed at them is stale.
void CGridCtrl::CellsReplaced() {
    ++m_generation;
    m_titleTip->hide();
}

bool CGridCtrl::SetRowTotal(int rows) {
    if (rows < 0) {
        return false;
    }
    EndEdit(false);
    ClearSelection();
    CellsReplaced();
    const int old = GetRowTotal();
    m_cells.resize(static_cast<std::size_t>(rows));
    m_rows.Resize(rows);
    for (int row = old; row < rows; ++row) {
        m_cells[static_cast<std::size_t>(row)] = NewRow(row);
    }
    if (!m_records.empty()) {
        m_records.resize(static_cast<std::size_t>(rows), kNoRecord);
        ForgetUnusedSource();
    }
    RowsChanged();
    return true;
}

bool CGridCtrl::SetColumnTotal(int columns) {
    if (columns < 0) {
        return false;
    }
    EndEdit(false);
    ClearSelection();
    CellsReplaced();
    const int old = GetColumnTotal();
    m_columns.Resize(columns);
    for (std::size_t row = 0; row < m_cells.size(); ++row) {
        CellRow& cells = m_cells[row];
        if (UnmadeRecord(static_cast<int>(row))) {
            continue;  // made with every column when they are needed
        }
        cells.resize(static_cast<std::size_t>(columns));
        for (int column = old; column < columns; ++column) {
            cells[static_cast<std::size_t>(column)] = NewCell(static_cast<int>(row), column);
        }
    }
    RowsChanged();
    return true;
}

bool CGridCtrl::SetFixedRowTotal(int rows) {
    if (rows < 0 || (rows > GetRowTotal() && !SetRowTotal(rows))) {
        return false;
    }
    m_rows.SetFixedCount(rows);
    UpdateFixedFlags();
    return true;
}

bool CGridCtrl::SetFixedColumnTotal(int columns) {
    if (columns < 0 || (columns > GetColumnTotal() && !SetColumnTotal(columns))) {
        return false;
    }
    m_columns.SetFixedCount(columns);
    UpdateFixedFlags();
    return true;
}

void CGridCtrl::UpdateFixedFlags() {
    ClearSelection();
    constexpr std::uint32_t fixedFlags = kCellFixed | kCellFixedRow | kCellFixedColumn;
    for (int row = 0; row < GetRowTotal(); ++row) {
        if (!HasCells(row)) {
            continue;  // made with the flags of their place
        }
        for (int column = 0; column < GetColumnTotal(); ++column) {
            CGridCellBase& cell = *GetCellObject(row, column);
            const std::uint32_t wanted = FixedStateOf(row, column);
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
    const int index = GetRowTotal();
    try {
        CellRow cells = NewRow(index);
        if (!cells.empty()) {
            cells[0]->SetText(heading);
        }
        m_cells.push_back(std::move(cells));
        m_rows.Append();
        if (!m_records.empty()) {
            m_records.push_back(kNoRecord);
        }
    } catch (const std::bad_alloc&) {
        m_cells.resize(static_cast<std::size_t>(index));
        m_rows.Resize(index);
        return -1;
    }
    RowsAppended();
    return index;
}

int CGridCtrl::AppendCells(CellRow cells) {
    if (static_cast<int>(cells.size()) != GetColumnTotal()) {
        return -1;
    }
    const int index = GetRowTotal();
    for (int column = 0; column < GetColumnTotal(); ++column) {
        CGridCellBase& cell = *cells[static_cast<std::size_t>(column)];
        cell.SetState(cell.GetState() | FixedStateOf(index, column));
        cell.SetGrid(this);
    }
    m_cells.push_back(std::move(cells));
    m_rows.Append();
    if (!m_records.empty()) {
        m_records.push_back(kNoRecord);
    }
    RowsAppended();
    return index;
}

void CGridCtrl::ClearNonFixedRows() {
    SetFocusCell(-1, -1);
    SetRowTotal(GetFixedRowTotal());
}

void CGridCtrl::RowsChanged() {
    if (!IsValid(m_focus.first, m_focus.second)) {
        m_focus = {-1, -1};
    }
    UpdateScrollBars();
    RepaintAll();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&change);
    }
}

// ---- Cells ----

CGridCellBase* CGridCtrl::GetCellObject(int row, int column) const {
    return IsValid(row, column) ? MadeRow(row)[static_cast<std::size_t>(column)].get() : nullptr;
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
    if (m_editCell == CellId{row, column}) {
        EndEdit(false);  // its editor belongs to the old class
    }
    cell->TakeOver(*old);
    cell->SetGrid(this);
    CellsReplaced();
    m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(cell);
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
    if (const std::optional<std::size_t> record = UnmadeRecord(row); record && IsValid(row, column)) {
        return m_source->CellText(*record, column);
    }
    const CGridCellBase* cell = GetCellObject(row, column);
    return cell != nullptr ? cell->GetText() : std::string();
}

bool CGridCtrl::SetCellData(int row, int column, std::int32_t value) {
    return ChangeCell(row, column, [&](CGridCellBase& cell) { cell.SetData(value); });
}

std::int32_t CGridCtrl::GetCellData(int row, int column) const {
    if (const std::optional<std::size_t> record = UnmadeRecord(row); record && IsValid(row, column)) {
        return m_source->CellData(*record, column);
    }
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
    if (cell == nullptr) {
        return 0;
    }
    return (cell->GetState() & ~kCellSelected) | (IsCellSelected(row, column) ? kCellSelected : 0);
}

// ---- Sizes ----

bool CGridCtrl::SetColumnWidthAt(int column, int width) {
    if (!m_columns.SetSize(column, width)) {
        return false;
    }
    UpdateScrollBars();
    RepaintAll();
    return true;
}

bool CGridCtrl::SetRowHeightAt(int row, int height) {
    if (!m_rows.SetSize(row, height)) {
        return false;
    }
    UpdateScrollBars();
    RepaintAll();
    return true;
}

int CGridCtrl::FromDesignWidth(int designWidth) const {
    return static_cast<int>(std::lround(designWidth * WidthScale(font())));
}

int CGridCtrl::ToDesignWidth(int width) const {
    return static_cast<int>(std::lround(width / WidthScale(font())));
}

bool CGridCtrl::AutoSizeColumn(int column) {
    if (!m_columns.Contains(column)) {
        return false;
    }
    int widest = 0;
    for (int row = 0; row < GetRowTotal(); ++row) {
        widest = std::max(widest, GetCellObject(row, column)->TextExtent(*this).width());
    }
    return SetColumnWidthAt(column, widest);
}

bool CGridCtrl::AutoSizeRow(int row) {
    if (!m_rows.Contains(row)) {
        return false;
    }
    int tallest = 0;
    for (const auto& cell : MadeRow(row)) {
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

std::pair<int, int> CGridCtrl::CellAt(const QPoint& point) const {
    const int row = m_rows.IndexAt(point.y(), verticalScrollBar()->value());
    const int column = m_columns.IndexAt(point.x(), horizontalScrollBar()->value());
    return row >= 0 && column >= 0 ? CellId{row, column} : CellId{-1, -1};
}

QRect CGridCtrl::CellRect(int row, int column) const {
    if (!IsValid(row, column)) {
        return {};
    }
    return {m_columns.ScreenStart(column, horizontalScrollBar()->value()),
            m_rows.ScreenStart(row, verticalScrollBar()->value()), m_columns.Size(column), m_rows.Size(row)};
}

// The column whose right border is within reach of a point in a fixed row, or -1.
int CGridCtrl::ColumnBorderAt(const QPoint& point) const {
    if (!m_columnResize || point.y() >= m_rows.FixedExtent()) {
        return -1;
    }
    const int column = m_columns.IndexAt(point.x(), horizontalScrollBar()->value());
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
    if (!m_rowResize || point.x() >= m_columns.FixedExtent()) {
        return -1;
    }
    const int row = m_rows.IndexAt(point.y(), verticalScrollBar()->value());
    for (const int candidate : {row, row - 1}) {
        const QRect rect = CellRect(candidate, 0);
        if (candidate >= 0 && !rect.isNull() && std::abs(point.y() - rect.bottom() - 1) <= kResizeMargin) {
            return candidate;
        }
    }
    return -1;
}

void CGridCtrl::RowsAppended() {
    if (!m_scrollBarsStale) {
        m_scrollBarsStale = true;
        QTimer::singleShot(0, this, [this] { SyncScrollBars(); });
    }
}

void CGridCtrl::SyncScrollBars() {
    if (m_scrollBarsStale) {
        UpdateScrollBars();
    }
}

void CGridCtrl::UpdateScrollBars() {
    m_scrollBarsStale = false;
    const QSize area = viewport()->size();
    const int visibleHeight = std::max(area.height() - m_rows.FixedExtent(), 0);
    const int visibleWidth = std::max(area.width() - m_columns.FixedExtent(), 0);
    verticalScrollBar()->setRange(0, std::max(m_rows.Total() - m_rows.FixedExtent() - visibleHeight, 0));
    verticalScrollBar()->setPageStep(visibleHeight);
    verticalScrollBar()->setSingleStep(m_rows.DefaultSize());
    horizontalScrollBar()->setRange(0, std::max(m_columns.Total() - m_columns.FixedExtent() - visibleWidth, 0));
    horizontalScrollBar()->setPageStep(visibleWidth);
    horizontalScrollBar()->setSingleStep(kDefaultColumnWidth / 4);
}

// Scrolls `bar` so that [start, end) of the scrolling part lies within `visible`.
static void ScrollIntoView(QScrollBar* bar, int start, int end, int visible) {
    if (start < bar->value()) {
        bar->setValue(start);
    } else if (end > bar->value() + visible) {
        bar->setValue(std::min(start, end - visible));
    }
}

void CGridCtrl::EnsureVisible(int row, int column) {
    if (!IsValid(row, column)) {
        return;
    }
    SyncScrollBars();
    if (!m_rows.IsFixed(row)) {
        const int fixed = m_rows.FixedExtent();
        ScrollIntoView(verticalScrollBar(), m_rows.Start(row) - fixed, m_rows.Start(row + 1) - fixed,
                       viewport()->height() - fixed);
    }
    if (!m_columns.IsFixed(column)) {
        const int fixed = m_columns.FixedExtent();
        ScrollIntoView(horizontalScrollBar(), m_columns.Start(column) - fixed, m_columns.Start(column + 1) - fixed,
                       viewport()->width() - fixed);
    }
}

void CGridCtrl::ScrollToRow(int row) {
    SyncScrollBars();
    if (!m_rows.IsFixed(row) && m_rows.Contains(row)) {
        verticalScrollBar()->setValue(m_rows.Start(row) - m_rows.FixedExtent());
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

CGridOwner* CGridCtrl::Owner() const {
    if (m_owner != nullptr) {
        return m_owner;
    }
    for (QWidget* parent = parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (auto* owner = dynamic_cast<CGridOwner*>(parent)) {
            return owner;
        }
    }
    return nullptr;
}

int CGridCtrl::Notify(int code, int row, int column) {
    CGridOwner* owner = Owner();
    return owner != nullptr ? owner->OnGridNotify(*this, code, row, column) : 0;
}

// ---- Focus and selection ----

bool CGridCtrl::IsCellSelected(int row, int column) const {
    if (!m_selection || !IsValid(row, column) || m_rows.IsFixed(row) || m_columns.IsFixed(column)) {
        return false;
    }
    const Range& range = *m_selection;
    return row >= range.firstRow && row <= range.lastRow && column >= range.firstColumn && column <= range.lastColumn;
}

void CGridCtrl::ClearSelection() {
    if (m_selection) {
        m_selection.reset();
        RepaintAll();
    }
}

void CGridCtrl::SetSelectedRange(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    if (m_wholeRowSelection) {
        firstColumn = GetFixedColumnTotal();
        lastColumn = GetColumnTotal() - 1;
    }
    const Range range{std::max(std::min(firstRow, lastRow), GetFixedRowTotal()),
                      std::max(std::min(firstColumn, lastColumn), GetFixedColumnTotal()),
                      std::min(std::max(firstRow, lastRow), GetRowTotal() - 1),
                      std::min(std::max(firstColumn, lastColumn), GetColumnTotal() - 1)};
    m_selection.reset();
    if (range.firstRow <= range.lastRow && range.firstColumn <= range.lastColumn) {
        m_selection = range;
    }
    RepaintAll();
    if (QAccessible::isActive()) {
        QAccessibleEvent change(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&change);
    }
}

void CGridCtrl::SelectAll() {
    SetSelectedRange(GetFixedRowTotal(), GetFixedColumnTotal(), GetRowTotal() - 1, GetColumnTotal() - 1);
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
        if (QAccessible::isActive() && hasFocus()) {
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(GridAccessibleChildIndex(*this, row, column));
            QAccessible::updateAccessibility(&focus);
        }
    }
    return true;
}

// Moves the focus after a key or a click, selecting as the mode wants; `extend` stretches the
// selection from its anchor. The owner may rebuild the grid when told.
void CGridCtrl::MoveFocusTo(int row, int column, bool extend) {
    if (!IsValid(row, column)) {
        return;
    }
    const std::uint64_t generation = m_generation;
    Notify(kGridSelectionChanging, row, column);
    if (!CellsUnchangedSince(generation)) {
        return;
    }
    SetFocusCell(row, column);
    if (!extend || m_singleRowSelection || m_selectionAnchor.first < 0) {
        m_selectionAnchor = {row, column};
    }
    SetSelectedRange(m_selectionAnchor.first, m_selectionAnchor.second, row, column);
    EnsureVisible(row, column);
    Notify(kGridSelectionChanged, row, column);
}

void CGridCtrl::ExtendSelectionTo(int row, int column) {
    if (IsValid(row, column) && CellId{row, column} != m_focus) {
        MoveFocusTo(row, column, true);
    }
}

// A click on a fixed cell selects its column or row where the switches say so.
void CGridCtrl::SelectFixedCell(int row, int column) {
    if (m_rows.IsFixed(row) && m_fixedRowSelection && !m_columns.IsFixed(column)) {
        SetSelectedRange(GetFixedRowTotal(), column, GetRowTotal() - 1, column);
    } else if (m_columns.IsFixed(column) && m_fixedColumnSelection && !m_rows.IsFixed(row)) {
        SetFocusCell(row, GetFixedColumnTotal() < GetColumnTotal() ? GetFixedColumnTotal() : -1);
        SetSelectedRange(row, GetFixedColumnTotal(), row, GetColumnTotal() - 1);
    }
}

// ---- Painting ----

const CGridDefaultCell& CGridCtrl::DefaultCellOf(std::uint32_t state) const {
    return *m_defaultCells[static_cast<std::size_t>(
        Index((state & kCellFixedRow) != 0, (state & kCellFixedColumn) != 0))];
}

CGridDefaultCell& CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedColumn) {
    return *m_defaultCells[static_cast<std::size_t>(Index(fixedRow, fixedColumn))];
}

const QFont& CGridCtrl::FontOf(const CGridCellBase& cell) const {
    return cell.GetFont() != nullptr ? *cell.GetFont() : DefaultCellOf(cell.GetState()).Font();
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
    if (m_redraw && m_rows.Contains(row)) {
        const QRect first = CellRect(row, 0);
        viewport()->update(QRect(0, first.top(), viewport()->width(), first.height()));
    }
}

void CGridCtrl::RepaintAll() {
    if (m_redraw) {
        viewport()->update();
    }
}

// The header of the sort column: its look, its text beside the arrow, the arrow.
void CGridCtrl::PaintSortHeader(QPainter& painter, const QRect& rect, const CGridCellBase& cell) const {
    const int side = std::min(rect.height() / 2, 10);
    cell.DrawAsHeader(painter, rect, *this, side + 8);
    QStyleOptionHeader arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(rect.right() - side - 4, rect.top() + (rect.height() - side) / 2, side, side);
    arrow.sortIndicator = m_sortAscending ? QStyleOptionHeader::SortUp : QStyleOptionHeader::SortDown;
    style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &arrow, &painter, this);
}

void CGridCtrl::PaintRegion(QPainter& painter, const QRect& area, int firstRow, int lastRow, int firstColumn,
                            int lastColumn) {
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
            CGridCellBase& cell = *GetCellObject(row, column);
            cell.SetState(GetCellState(row, column));  // cells draw their selection from their state
            if (m_rows.IsFixed(row) && column == m_sortColumn && cell.GetBackColour() == kUseDefaultColour) {
                PaintSortHeader(painter, rect, cell);
                continue;
            }
            const bool header = (cell.GetState() & kCellFixed) != 0;
            cell.Draw(painter, header ? rect : rect.adjusted(0, 0, -1, -1), *this);
            if (header) {
                continue;  // the header look draws its own borders
            }
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
    SyncScrollBars();
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    const int fixedHeight = std::min(m_rows.FixedExtent(), area.height());
    const int fixedWidth = std::min(m_columns.FixedExtent(), area.width());
    const int rowScroll = verticalScrollBar()->value();
    const int columnScroll = horizontalScrollBar()->value();
    // The first and last row and column in view below or right of the fixed ones.
    const int firstRow = m_rows.IndexAt(fixedHeight, rowScroll);
    const int firstColumn = m_columns.IndexAt(fixedWidth, columnScroll);
    const int bottom = m_rows.IndexAt(area.bottom(), rowScroll);
    const int right = m_columns.IndexAt(area.right(), columnScroll);
    const int lastRow = bottom >= 0 ? bottom : (firstRow >= 0 ? GetRowTotal() - 1 : -1);
    const int lastColumn = right >= 0 ? right : (firstColumn >= 0 ? GetColumnTotal() - 1 : -1);
    const int fixedRows = GetFixedRowTotal();
    const int fixedColumns = GetFixedColumnTotal();
    PaintRegion(painter, QRect(fixedWidth, fixedHeight, area.width() - fixedWidth, area.height() - fixedHeight),
                firstRow, lastRow, firstColumn, lastColumn);
    PaintRegion(painter, QRect(fixedWidth, 0, area.width() - fixedWidth, fixedHeight), 0, fixedRows - 1, firstColumn,
                lastColumn);
    PaintRegion(painter, QRect(0, fixedHeight, fixedWidth, area.height() - fixedHeight), firstRow, lastRow, 0,
                fixedColumns - 1);
    PaintRegion(painter, QRect(0, 0, fixedWidth, fixedHeight), 0, fixedRows - 1, 0, fixedColumns - 1);
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGridCtrl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    if (m_editor != nullptr) {
        m_editor->setGeometry(CellRect(m_editCell.first, m_editCell.second).adjusted(0, 0, -1, -1));
    }
    m_titleTip->hide();
    viewport()->update();
}
