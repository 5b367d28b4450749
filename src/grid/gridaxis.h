#pragma once

#include <cstddef>
#include <vector>

// The rows or the columns of a grid: their sizes, how many of them are fixed (the first ones),
// and their edges, cached, so that the row or column at a position is found by a binary search.
// A size of 0 hides a row or column.
class CGridAxis {
public:
    explicit CGridAxis(int defaultSize) : m_defaultSize(defaultSize) {}

    int Count() const { return static_cast<int>(m_sizes.size()); }
    bool Contains(int index) const { return index >= 0 && index < Count(); }
    // Grows or shrinks to `count`; new entries take the default size.
    void Resize(int count);
    // Inserts one entry of the default size at the end.
    void Append();
    // Puts the entries in the order of `order` (old indexes, first to last).
    void Reorder(const std::vector<std::size_t>& order);

    int Size(int index) const { return Contains(index) ? m_sizes[static_cast<std::size_t>(index)] : -1; }
    bool SetSize(int index, int size);
    int DefaultSize() const { return m_defaultSize; }
    void SetDefaultSize(int size) { m_defaultSize = size; }

    int FixedCount() const { return m_fixed; }
    void SetFixedCount(int count) { m_fixed = count; }
    bool IsFixed(int index) const { return index < m_fixed; }

    // The start of entry `index` from the grid's edge (Count() gives the total extent).
    int Start(int index) const { return Edges()[static_cast<std::size_t>(index)]; }
    int Total() const { return Edges().back(); }
    int FixedExtent() const { return Start(m_fixed); }
    // The start on screen, fixed entries never scrolling.
    int ScreenStart(int index, int scroll) const { return Start(index) - (IsFixed(index) ? 0 : scroll); }

    // The entry under screen position `position` with the scrolling part moved by `scroll`; -1
    // for none.
    int IndexAt(int position, int scroll) const;
    // The next entry from `index` in direction `step` (+1 or -1) that is shown and not fixed; -1
    // for none.
    int NextVisible(int index, int step) const;
    // The first and the last entry that is shown and not fixed; -1 for none.
    int FirstVisible() const { return NextVisible(m_fixed - 1, 1); }
    int LastVisible() const { return NextVisible(Count(), -1); }

private:
    const std::vector<int>& Edges() const;

    std::vector<int> m_sizes;
    int m_fixed = 0;
    int m_defaultSize;
    mutable std::vector<int> m_edges;  // the start of each entry and the end of the last
    mutable bool m_edgesValid = false;
};
