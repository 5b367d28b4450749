// The sorting of CGridCtrl: rows below the fixed ones, by the texts or leading numbers of one
// column.

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/gridctrl.h"
#include "grid/gridrowsource.h"
#include "grid/gridsort.h"

namespace {

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

void CGridCtrl::SetSortColumnIndex(int column) {
    const int old = m_sortColumn;
    m_sortColumn = column;
    for (int row = 0; row < GetFixedRowTotal(); ++row) {
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

template <typename KeyOf, typename Compare>
bool CGridCtrl::SortRowsByKey(int column, bool ascending, const KeyOf& keyOf, const Compare& compare) {
    if (!m_columns.Contains(column)) {
        return false;
    }
    EndEdit(false);
    ClearSelection();
    SetFocusCell(-1, -1);
    m_sortColumn = column;
    m_sortAscending = ascending;
    // The sort moves the rows' keys, which carry their row along; the rows themselves are put in
    // that order once at the end.
    using Key = std::pair<decltype(keyOf(0)), std::size_t>;
    std::vector<Key> keys;
    keys.reserve(m_cells.size());
    for (std::size_t row = 0; row < m_cells.size(); ++row) {
        keys.emplace_back(keyOf(static_cast<int>(row)), row);
    }
    QuickSortRange(
        keys, [&](const Key& a, const Key& b) { return compare(a.first, b.first); }, ascending, GetFixedRowTotal(),
        GetRowTotal() - 1);
    std::vector<std::size_t> order(keys.size());
    std::transform(keys.begin(), keys.end(), order.begin(), [](const Key& key) { return key.second; });
    keys = {};
    // The rows move in place, cycle by cycle: a large grid is never held twice.
    std::vector<bool> placed(order.size(), false);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        CellRow first = std::move(m_cells[start]);
        std::size_t at = start;
        for (std::size_t from = order[at]; from != start; at = from, from = order[at]) {
            m_cells[at] = std::move(m_cells[from]);
            placed[at] = true;
        }
        m_cells[at] = std::move(first);
        placed[at] = true;
    }
    if (!m_records.empty()) {
        std::vector<std::uint32_t> records;
        records.reserve(order.size());
        for (const std::size_t from : order) {
            records.push_back(m_records[from]);
        }
        m_records = std::move(records);
    }
    m_rows.Reorder(order);
    CellsReplaced();
    RowsChanged();
    return true;
}

bool CGridCtrl::SortRows(const CompareFunction& compare, int column, bool ascending, std::intptr_t callerValue) {
    if (m_columns.Contains(column)) {
        MakeAllRows();  // the comparison wants cells
    }
    return SortRowsByKey(
        column, ascending, [&](int row) { return static_cast<const CGridCellBase*>(GetCellObject(row, column)); },
        [&](const CGridCellBase* a, const CGridCellBase* b) { return compare(*a, *b, callerValue); });
}

bool CGridCtrl::SortRowsByNumbers(int column, bool ascending) {
    // Each text is read as a number once, not at every comparison.
    return SortRowsByKey(
        column, ascending, [&](int row) { return LeadingNumber(GetCellText(row, column)); },
        [](long long a, long long b) { return a < b   ? -1
                                              : a > b ? 1
                                                      : 0; });
}

bool CGridCtrl::SortRowsByText(int column, bool ascending) {
    // The texts of rows without cells are read from their records and kept while the sort runs.
    std::vector<std::string> recordTexts;
    recordTexts.reserve(m_records.size());
    const auto textOf = [&](int row) -> std::string_view {
        if (const std::optional<std::size_t> record = UnmadeRecord(row)) {
            if (const std::optional<std::string_view> stored = m_source->StoredText(*record, column)) {
                return *stored;
            }
            return recordTexts.emplace_back(m_source->CellText(*record, column));
        }
        return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]->GetText();
    };
    return SortRowsByKey(column, ascending, textOf,
                         [](std::string_view a, std::string_view b) { return a.compare(b); });
}

void CGridCtrl::SortByHeader(int column, bool ascending) {
    SortRowsByText(column, ascending);
}
