#include "grid/gridaccessible.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <map>

#include "grid/gridcellcheck.h"
#include "grid/gridcellcombo.h"
#include "grid/gridctrl.h"
#include "widgets/displaytext.h"

namespace {

const QString kActivateAction = QStringLiteral("activate");

// One cell, by its place in the grid; it is gone when the grid no longer has that place.
class CGridCellAccessible : public QAccessibleInterface,
                            public QAccessibleTableCellInterface,
                            public QAccessibleActionInterface {
public:
    CGridCellAccessible(CGridCtrl* grid, int row, int column) : m_grid(grid), m_row(row), m_column(column) {}

    bool isValid() const override { return m_grid != nullptr && Cell() != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        const CGridCellBase* cell = Cell();
        return cell != nullptr && kind == QAccessible::Name ? DisplayText(cell->AccessibleName(*m_grid)) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect local = m_grid->CellRect(m_row, m_column);
        return local.isNull() ? QRect() : QRect(m_grid->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        if (IsHeader()) {
            return m_row < m_grid->GetFixedRowTotal() ? QAccessible::ColumnHeader : QAccessible::RowHeader;
        }
        if (Check() != nullptr) {
            return QAccessible::CheckBox;
        }
        return Choice() != nullptr ? QAccessible::ComboBox : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = !IsHeader();
        state.selected = isSelected();
        state.focusable = !IsHeader();
        state.focused = m_grid->GetFocusCell() == std::pair{m_row, m_column};
        state.offscreen = m_grid->CellRect(m_row, m_column).isNull();
        if (const CGridCellCheck* check = Check()) {
            state.checkable = true;
            state.checked = check->GetCheck();
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return m_grid->IsCellSelected(m_row, m_column); }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return HeaderCells(m_grid->GetFixedRowTotal(), [&](int i) { return std::pair{i, m_column}; });
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override {
        return HeaderCells(m_grid->GetFixedColumnTotal(), [&](int i) { return std::pair{m_row, i}; });
    }
    int columnIndex() const override { return m_column - m_grid->GetFixedColumnTotal(); }
    int rowIndex() const override { return m_row - m_grid->GetFixedRowTotal(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override {
        QStringList names{pressAction(), kActivateAction};
        if (Check() != nullptr) {
            names.append(toggleAction());
        }
        if (Choice() != nullptr) {
            names.append(showMenuAction());  // opens the list of choices, as F2 does
        }
        return names;
    }
    void doAction(const QString& name) override {
        if (!isValid() || IsHeader()) {
            return;
        }
        if (name == toggleAction() && Check() != nullptr) {
            Check()->SetCheck(!Check()->GetCheck());
        } else if (name == showMenuAction() && Choice() != nullptr) {
            m_grid->SetFocusCell(m_row, m_column);
            m_grid->BeginEdit(m_row, m_column);
        } else if (name == pressAction() || name == kActivateAction) {
            m_grid->ActivateCell(m_row, m_column, name == kActivateAction);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CGridCellBase* Cell() const { return m_grid->GetCellObject(m_row, m_column); }
    CGridCellCheck* Check() const { return dynamic_cast<CGridCellCheck*>(Cell()); }
    CGridCellCombo* Choice() const { return dynamic_cast<CGridCellCombo*>(Cell()); }
    bool IsHeader() const { return Cell() != nullptr && (Cell()->GetState() & kCellFixed) != 0; }
    template <typename Place>
    QList<QAccessibleInterface*> HeaderCells(int count, Place place) const {
        QList<QAccessibleInterface*> cells;
        QAccessibleInterface* grid = parent();
        for (int i = 0; i < count; ++i) {
            const auto [row, column] = place(i);
            cells.append(grid->child(GridAccessibleChildIndex(*m_grid, row, column)));
        }
        return cells;
    }

    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_column;
};

// The grid as a table. Its children are all cells, fixed ones included, row by row; the table
// rows and columns are those below and right of the fixed ones.
class CGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CGridAccessible(CGridCtrl* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~CGridAccessible() override { ForgetCells(); }

    CGridCtrl* Grid() const { return static_cast<CGridCtrl*>(widget()); }

    int childCount() const override { return Grid()->GetRowTotal() * Grid()->GetColumnTotal(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = Grid()->GetColumnTotal();
        if (index < 0 || index >= childCount() || columns == 0) {
            return nullptr;
        }
        const auto known = m_cells.find(index);
        if (known != m_cells.end()) {
            return QAccessible::accessibleInterface(known->second);
        }
        QAccessibleInterface* cell = new CGridCellAccessible(Grid(), index / columns, index % columns);
        m_cells[index] = QAccessible::registerAccessibleInterface(cell);
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cell = child != nullptr ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
        if (cell == nullptr) {
            return -1;
        }
        return GridAccessibleChildIndex(*Grid(), cell->rowIndex() + Grid()->GetFixedRowTotal(),
                                        cell->columnIndex() + Grid()->GetFixedColumnTotal());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const auto [row, column] = Grid()->CellAt(Grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return row < 0 ? nullptr : child(GridAccessibleChildIndex(*Grid(), row, column));
    }
    QAccessibleInterface* focusChild() const override {
        const auto [row, column] = Grid()->GetFocusCell();
        return row < 0 ? nullptr : child(GridAccessibleChildIndex(*Grid(), row, column));
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) {
            return nullptr;
        }
        return child(GridAccessibleChildIndex(*Grid(), row + Grid()->GetFixedRowTotal(),
                                              column + Grid()->GetFixedColumnTotal()));
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const int row : selectedRows()) {
            for (int column = 0; column < columnCount(); ++column) {
                if (Grid()->IsCellSelected(row + Grid()->GetFixedRowTotal(), column + Grid()->GetFixedColumnTotal())) {
                    cells.append(cellAt(row, column));
                }
            }
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        return Grid()->GetFixedRowTotal() > 0
                   ? DisplayText(Grid()->GetCellText(0, column + Grid()->GetFixedColumnTotal()))
                   : QString();
    }
    QString rowDescription(int row) const override {
        return Grid()->GetFixedColumnTotal() > 0 ? DisplayText(Grid()->GetCellText(row + Grid()->GetFixedRowTotal(), 0))
                                                 : QString();
    }
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override { return Grid()->GetColumnTotal() - Grid()->GetFixedColumnTotal(); }
    int rowCount() const override { return Grid()->GetRowTotal() - Grid()->GetFixedRowTotal(); }
    QList<int> selectedColumns() const override {
        QList<int> columns;
        for (int column = 0; column < columnCount(); ++column) {
            if (isColumnSelected(column)) {
                columns.append(column);
            }
        }
        return columns;
    }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (int row = 0; row < rowCount(); ++row) {
            if (AnySelectedIn(row + Grid()->GetFixedRowTotal())) {
                rows.append(row);
            }
        }
        return rows;
    }
    bool isColumnSelected(int column) const override {
        for (int row = 0; row < rowCount(); ++row) {
            if (!Grid()->IsCellSelected(row + Grid()->GetFixedRowTotal(), column + Grid()->GetFixedColumnTotal())) {
                return false;
            }
        }
        return rowCount() > 0;
    }
    bool isRowSelected(int row) const override {
        for (int column = 0; column < columnCount(); ++column) {
            if (!Grid()->IsCellSelected(row + Grid()->GetFixedRowTotal(), column + Grid()->GetFixedColumnTotal())) {
                return false;
            }
        }
        return columnCount() > 0;
    }
    bool selectRow(int row) override {
        if (row < 0 || row >= rowCount()) {
            return false;
        }
        Grid()->SelectCellAsUser(row + Grid()->GetFixedRowTotal(), Grid()->GetFixedColumnTotal());
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override {
        if (!isRowSelected(row)) {
            return false;
        }
        Grid()->ClearSelection();
        return true;
    }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { ForgetCells(); }

private:
    bool AnySelectedIn(int gridRow) const {
        for (int column = Grid()->GetFixedColumnTotal(); column < Grid()->GetColumnTotal(); ++column) {
            if (Grid()->IsCellSelected(gridRow, column)) {
                return true;
            }
        }
        return false;
    }
    void ForgetCells() {
        for (const auto& [index, id] : m_cells) {
            QAccessible::deleteAccessibleInterface(id);
        }
        m_cells.clear();
    }

    mutable std::map<int, QAccessible::Id> m_cells;
};

}  // namespace

QAccessibleInterface* GridAccessibleFactory(const QString& className, QObject* object) {
    auto* grid = qobject_cast<CGridCtrl*>(object);
    return className == QLatin1String("CGridCtrl") && grid != nullptr ? new CGridAccessible(grid) : nullptr;
}

int GridAccessibleChildIndex(const CGridCtrl& grid, int row, int column) {
    return row * grid.GetColumnTotal() + column;
}
