// The grid's editing, clipboard, keyboard and mouse. Every call out to the owner or to a cell's
// hook may rebuild the grid; afterwards the grid looks its cells up again and stops when they
// are gone.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

#include "grid/gridclipboard.h"
#include "grid/gridctrl.h"
#include "grid/gridowner.h"
#include "grid/gridtitletip.h"

namespace {

bool IsEditableCell(const CGridCellBase* cell, bool gridEditable) {
    return cell != nullptr && gridEditable && (cell->GetState() & (kCellReadOnly | kCellFixed)) == 0;
}

}  // namespace

// ---- Editing ----

bool CGridCtrl::BeginEdit(int row, int column) {
    BeginEditWith(row, column, QString());
    return m_editor != nullptr;
}

void CGridCtrl::BeginEditWith(int row, int column, const QString& firstCharacter) {
    if (!IsEditableCell(GetCellObject(row, column), m_editable)) {
        return;
    }
    EndEdit();
    EnsureVisible(row, column);
    const std::uint64_t generation = m_generation;
    if (Notify(kGridBeginEdit, row, column) < 0 || !CellsUnchangedSince(generation)) {
        return;
    }
    const CGridCellBase* cell = GetCellObject(row, column);
    m_editor = cell->CreateEditor(viewport(), cell->GetText());
    m_editCell = {row, column};
    m_editorInitialText = cell->EditorText(m_editor);
    if (auto* line = qobject_cast<QLineEdit*>(m_editor); line != nullptr && !firstCharacter.isEmpty()) {
        line->clear();
        line->insert(firstCharacter);  // through the editor's validator, as if typed
    }
    m_editor->setGeometry(CellRect(row, column).adjusted(0, 0, -1, -1));
    m_editor->installEventFilter(this);
    m_editor->show();
    m_editor->setFocus();
    if (auto* combo = qobject_cast<QComboBox*>(m_editor)) {
        // One click to choose: the list opens at once and a choice closes the editor.
        connect(combo, &QComboBox::activated, this, [this] { EndEdit(); });
        combo->showPopup();
    }
}

void CGridCtrl::EndEdit(bool keep) {
    if (m_editor == nullptr) {
        return;
    }
    QWidget* editor = m_editor;
    m_editor = nullptr;  // a focus change while closing must not close it twice
    const auto [row, column] = std::exchange(m_editCell, CellId{-1, -1});
    CGridCellBase* cell = GetCellObject(row, column);
    const std::string text = cell != nullptr ? cell->EditorText(editor) : std::string();
    editor->removeEventFilter(this);
    editor->disconnect(this);
    editor->hide();
    editor->deleteLater();
    setFocus();
    // An editor shows a text that is not UTF-8 as well as it can: only a change by the user counts.
    if (!keep || cell == nullptr || text == m_editorInitialText || text == cell->GetText()) {
        return;
    }
    const std::string old = cell->GetText();
    cell->SetText(text);
    const std::uint64_t generation = m_generation;
    if (Notify(kGridEndEdit, row, column) < 0 && CellsUnchangedSince(generation)) {
        cell->SetText(old);
    }
    RedrawCell(row, column);
}

bool CGridCtrl::SetTextAsUser(int row, int column, const std::string& text) {
    if (!IsEditableCell(GetCellObject(row, column), m_editable)) {
        return false;
    }
    const std::uint64_t generation = m_generation;
    if (Notify(kGridBeginEdit, row, column) < 0 || !CellsUnchangedSince(generation)) {
        return false;
    }
    CGridCellBase* cell = GetCellObject(row, column);
    const std::string old = cell->GetText();
    if (text == old) {
        return true;
    }
    cell->SetText(text);
    const bool accepted = Notify(kGridEndEdit, row, column) >= 0;
    if (!CellsUnchangedSince(generation)) {
        return accepted;
    }
    if (!accepted) {
        cell->SetText(old);
    }
    RedrawCell(row, column);
    return accepted;
}

void CGridCtrl::focusOutEvent(QFocusEvent* event) {
    m_titleTip->hide();
    QAbstractScrollArea::focusOutEvent(event);
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor) {
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut) {
        const auto* combo = qobject_cast<QComboBox*>(m_editor);
        const bool listOpen = combo != nullptr && combo->view()->isVisible();
        if (!listOpen && !m_editor->isAncestorOf(QApplication::focusWidget())) {
            EndEdit();
        }
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
            const std::uint64_t generation = m_generation;
            EndEdit();
            if (CellsUnchangedSince(generation)) {
                MoveFocusByKey(key->key(), key->modifiers());
            }
            return true;
        }
        default:
            return false;
    }
}

// ---- Clipboard ----

std::string CGridCtrl::SelectedText() const {
    if (!m_selection) {
        return {};
    }
    std::vector<std::vector<std::string>> rows;
    for (int row = m_selection->firstRow; row <= m_selection->lastRow; ++row) {
        if (GetRowHeightAt(row) <= 0) {
            continue;
        }
        std::vector<std::string>& texts = rows.emplace_back();
        for (int column = m_selection->firstColumn; column <= m_selection->lastColumn; ++column) {
            if (GetColumnWidthAt(column) > 0) {
                texts.push_back(GetCellText(row, column));
            }
        }
    }
    return FormatClipboardText(rows);
}

void CGridCtrl::Copy() const {
    const std::string text = SelectedText();
    QApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// Sets every selected cell's text to the empty text on the user's behalf (Delete, Cut).
void CGridCtrl::ClearSelectedTexts() {
    if (!m_selection) {
        return;
    }
    const Range range = *m_selection;
    const std::uint64_t generation = m_generation;
    for (int row = range.firstRow; row <= range.lastRow && CellsUnchangedSince(generation); ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn && CellsUnchangedSince(generation); ++column) {
            SetTextAsUser(row, column, "");
        }
    }
}

void CGridCtrl::Cut() {
    Copy();
    ClearSelectedTexts();
}

void CGridCtrl::Paste() {
    PasteText(QApplication::clipboard()->text().toStdString());
}

void CGridCtrl::PasteText(const std::string& text) {
    const CGridCellBase* focus = GetCellObject(m_focus.first, m_focus.second);
    if (focus == nullptr || !m_editable || (focus->GetState() & kCellReadOnly) != 0) {
        return;
    }
    const std::uint64_t generation = m_generation;
    int row = m_focus.first;
    for (const std::vector<std::string>& texts : SplitPastedText(text)) {
        int column = m_focus.second;
        for (auto piece = texts.begin(); piece != texts.end() && column >= 0; ++piece) {
            if (!CellsUnchangedSince(generation)) {
                return;
            }
            SetTextAsUser(row, column, *piece);
            column = m_columns.NextVisible(column, 1);  // pieces beyond the last column are dropped
        }
        row = m_rows.NextVisible(row, 1);
        if (row < 0) {
            return;
        }
    }
}

// ---- Keyboard ----

bool CGridCtrl::MoveFocusByKey(int key, Qt::KeyboardModifiers modifiers) {
    static constexpr int kMovingKeys[] = {Qt::Key_Up,   Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
                                          Qt::Key_Left, Qt::Key_Right,  Qt::Key_Home,   Qt::Key_End,
                                          Qt::Key_Tab,  Qt::Key_Backtab};
    if (std::find(std::begin(kMovingKeys), std::end(kMovingKeys), key) == std::end(kMovingKeys)) {
        return false;
    }
    SyncScrollBars();
    auto [row, column] = m_focus;
    if (row < 0) {
        MoveFocusTo(m_rows.FirstVisible(), m_columns.FirstVisible(), false);
        return true;
    }
    const bool control = (modifiers & Qt::ControlModifier) != 0;
    const int page = std::max(1, (viewport()->height() - m_rows.FixedExtent()) / std::max(m_rows.DefaultSize(), 1));
    const auto stepRows = [&](int count, int step) {
        int target = row;
        for (int next = m_rows.NextVisible(target, step); count > 0 && next >= 0;
             next = m_rows.NextVisible(next, step)) {
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
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
            row = stepRows(page, -1);
            break;
        case Qt::Key_PageDown:
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            row = stepRows(page, 1);
            break;
        case Qt::Key_Left:
            column = std::max(m_columns.NextVisible(column, -1), column == GetFixedColumnTotal() ? column : -1);
            break;
        case Qt::Key_Right:
            column = std::max(m_columns.NextVisible(column, 1), column);
            break;
        case Qt::Key_Home:
            column = m_columns.FirstVisible();
            row = control ? m_rows.FirstVisible() : row;
            break;
        case Qt::Key_End:
            column = m_columns.LastVisible();
            row = control ? m_rows.LastVisible() : row;
            break;
        default: {  // Tab and Shift+Tab wrap to the next or previous row
            const int step = key == Qt::Key_Tab ? 1 : -1;
            const int next = m_columns.NextVisible(column, step);
            if (next >= 0) {
                column = next;
            } else if (m_rows.NextVisible(row, step) >= 0) {
                row = m_rows.NextVisible(row, step);
                column = step > 0 ? m_columns.FirstVisible() : m_columns.LastVisible();
            }
            break;
        }
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
        ClearSelectedTexts();
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
    m_titleTip->hide();
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
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr) {
        m_mouseMode = MouseMode::None;
        return;
    }
    const QRect rect = CellRect(row, column);
    const bool fixed = (cell->GetState() & kCellFixed) != 0;
    m_editOnRelease = m_focus == CellId{row, column} && !fixed;
    const std::uint64_t generation = m_generation;
    cell->OnClickDown(point - rect.topLeft(), rect);
    if (!CellsUnchangedSince(generation)) {
        m_mouseMode = MouseMode::None;
        return;
    }
    if (fixed) {
        m_mouseMode = MouseMode::PressedOnCell;
        SelectFixedCell(row, column);
        return;
    }
    MoveFocusTo(row, column, false);
    m_mouseMode = CellsUnchangedSince(generation) ? MouseMode::SelectingCells : MouseMode::None;
    if (m_mouseMode == MouseMode::SelectingCells) {
        m_dragTimer.start();
    }
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_mouseMode == MouseMode::None) {
        viewport()->setCursor(ColumnBorderAt(point) >= 0 ? Qt::SplitHCursor
                              : RowBorderAt(point) >= 0  ? Qt::SplitVCursor
                                                         : Qt::ArrowCursor);
        if (m_titleTip->isVisible() && !m_titleTip->Covers(viewport()->mapToGlobal(point))) {
            m_titleTip->hide();
        }
    } else if (m_mouseMode == MouseMode::SelectingCells && !m_singleRowSelection) {
        const auto [row, column] = CellAt(point);
        ExtendSelectionTo(row, column);
    }
}

// A release over the header cell it was pressed on sorts by its column when header sorting is
// on; true when it did.
bool CGridCtrl::ReleasedOnHeader(int row, int column) {
    if (!m_headerSort || !m_rows.IsFixed(row) || m_columns.IsFixed(column)) {
        return false;
    }
    const bool ascending = column != m_sortColumn || !m_sortAscending;
    SortByHeader(column, ascending);
    return true;
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_dragTimer.stop();
    const QPoint point = event->position().toPoint();
    const MouseMode mode = std::exchange(m_mouseMode, MouseMode::None);
    if (mode == MouseMode::SizingColumn) {
        SetColumnWidthAt(m_sizingColumn, std::max(point.x() - CellRect(0, m_sizingColumn).left(), 0));
        return;
    }
    if (mode == MouseMode::SizingRow) {
        SetRowHeightAt(m_sizingRow, std::max(point.y() - CellRect(m_sizingRow, 0).top(), 0));
        return;
    }
    const auto [row, column] = m_pressCell;
    if (mode == MouseMode::None || row < 0) {
        return;
    }
    if (CellAt(point) == m_pressCell && !ReleasedOnHeader(row, column) &&
        React(row, column, point, false) == Reaction::Ignored && m_editOnRelease) {
        BeginEdit(row, column);
    }
    if (CGridOwner* owner = Owner()) {
        owner->OnGridCommand(*this);
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
    const bool fixed = (cell->GetState() & kCellFixed) != 0;
    if (React(row, column, point, true) == Reaction::Ignored && !fixed) {
        BeginEdit(row, column);
    }
}

CGridCtrl::Reaction CGridCtrl::React(int row, int column, const QPoint& point, bool doubleClick) {
    CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr) {
        return Reaction::CellsGone;
    }
    const QRect rect = CellRect(row, column);
    const std::uint64_t generation = m_generation;
    const bool handled = doubleClick ? cell->OnDblClick(*this, row, column, point - rect.topLeft(), rect)
                                     : cell->OnClick(*this, row, column, point - rect.topLeft(), rect);
    if (!CellsUnchangedSince(generation)) {
        return Reaction::CellsGone;
    }
    Notify(doubleClick ? kGridDoubleClick : kGridClick, row, column);
    if (!CellsUnchangedSince(generation)) {
        return Reaction::CellsGone;
    }
    return handled ? Reaction::Handled : Reaction::Ignored;
}

void CGridCtrl::ActivateCell(int row, int column, bool doubleClick) {
    if (!IsValid(row, column)) {
        return;
    }
    const std::uint64_t generation = m_generation;
    if (!m_rows.IsFixed(row) && !m_columns.IsFixed(column)) {
        MoveFocusTo(row, column, false);
    }
    if (CellsUnchangedSince(generation)) {
        React(row, column, CellRect(row, column).center(), doubleClick);
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
    const int fixedHeight = m_rows.FixedExtent();
    const int fixedWidth = m_columns.FixedExtent();
    if (point.y() > area.bottom()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (point.y() < fixedHeight) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }
    if (point.x() > area.right()) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (point.x() < fixedWidth) {
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }
    if (m_singleRowSelection) {
        return;
    }
    const QPoint clamped(std::clamp(point.x(), fixedWidth, std::max(area.right(), fixedWidth)),
                         std::clamp(point.y(), fixedHeight, std::max(area.bottom(), fixedHeight)));
    const auto [row, column] = CellAt(clamped);
    ExtendSelectionTo(row, column);
}

// ---- Title tips ----

bool CGridCtrl::ShowTitleTip(const QPoint& point) {
    const auto [row, column] = CellAt(point);
    const CGridCellBase* cell = GetCellObject(row, column);
    if (cell == nullptr || QApplication::activeWindow() == nullptr || m_editor != nullptr) {
        return false;
    }
    const QRect rect = CellRect(row, column);
    if (cell->TextExtent(*this).width() <= rect.width()) {
        return false;
    }
    m_titleTip->ShowOver(viewport()->mapToGlobal(rect.topLeft()), rect.height(), " " + cell->GetTipText() + " ",
                         FontOf(*cell));
    return true;
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        if (!ShowTitleTip(static_cast<QHelpEvent*>(event)->pos())) {
            m_titleTip->hide();
        }
        return true;
    }
    if (event->type() == QEvent::Leave) {
        m_titleTip->hide();
    }
    return QAbstractScrollArea::viewportEvent(event);
}
