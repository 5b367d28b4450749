// The rows of CGridCtrl whose cells are made from a record when they are first needed.

#include <algorithm>

#include "grid/gridctrl.h"
#include "grid/gridrowsource.h"

int CGridCtrl::AppendRecords(std::shared_ptr<const CGridRowSource> source) {
    const std::size_t count = source->RecordCount();
    const int first = GetRowTotal();
    if (count > static_cast<std::size_t>(std::numeric_limits<int>::max() - first) || count >= kNoRecord) {
        return -1;
    }
    if (m_source != source) {
        MakeAllRows();
        std::fill(m_records.begin(), m_records.end(), kNoRecord);
        m_source = std::move(source);
    }
    m_records.resize(m_cells.size(), kNoRecord);
    m_cells.resize(m_cells.size() + count);
    for (std::size_t record = 0; record < count; ++record) {
        m_records.push_back(static_cast<std::uint32_t>(record));
    }
    m_rows.Resize(first + static_cast<int>(count));
    RowsAppended();
    return first;
}

bool CGridCtrl::HasCells(int row) const {
    return m_rows.Contains(row) && !UnmadeRecord(row);
}

std::optional<std::size_t> CGridCtrl::UnmadeRecord(int row) const {
    const auto index = static_cast<std::size_t>(row);
    if (index >= m_records.size() || m_records[index] == kNoRecord || !m_cells[index].empty()) {
        return std::nullopt;
    }
    return m_records[index];
}

CGridCtrl::CellRow& CGridCtrl::MadeRow(int row) const {
    CellRow& cells = m_cells[static_cast<std::size_t>(row)];
    if (const std::optional<std::size_t> record = UnmadeRecord(row)) {
        cells = m_source->MakeCells(*record);
        cells.resize(static_cast<std::size_t>(GetColumnTotal()));
        // Making cells changes no cell the grid shows: it stays const to its callers.
        auto* grid = const_cast<CGridCtrl*>(this);
        for (int column = 0; column < GetColumnTotal(); ++column) {
            std::unique_ptr<CGridCellBase>& cell = cells[static_cast<std::size_t>(column)];
            if (!cell) {
                cell = NewCell(row, column);
            }
            cell->SetState(cell->GetState() | FixedStateOf(row, column));
            cell->SetGrid(grid);
        }
    }
    return cells;
}

void CGridCtrl::MakeAllRows() {
    for (int row = 0; row < GetRowTotal(); ++row) {
        MadeRow(row);
    }
}

void CGridCtrl::ForgetUnusedSource() {
    if (std::all_of(m_records.begin(), m_records.end(), [](std::uint32_t record) { return record == kNoRecord; })) {
        m_records.clear();
        m_source.reset();
    }
}
