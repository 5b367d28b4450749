#include "grid/gridaxis.h"

#include <algorithm>

void CGridAxis::Resize(int count) {
    m_sizes.resize(static_cast<std::size_t>(std::max(count, 0)), m_defaultSize);
    m_fixed = std::min(m_fixed, Count());
    m_edgesValid = false;
}

void CGridAxis::Append() {
    m_sizes.push_back(m_defaultSize);
    if (m_edgesValid) {
        m_edges.push_back(m_edges.back() + m_defaultSize);
    }
}

void CGridAxis::Reorder(const std::vector<std::size_t>& order) {
    std::vector<int> sizes;
    sizes.reserve(order.size());
    for (const std::size_t index : order) {
        sizes.push_back(m_sizes[index]);
    }
    m_sizes = std::move(sizes);
    m_edgesValid = false;
}

bool CGridAxis::SetSize(int index, int size) {
    if (!Contains(index)) {
        return false;
    }
    m_sizes[static_cast<std::size_t>(index)] = std::max(size, 0);
    m_edgesValid = false;
    return true;
}

const std::vector<int>& CGridAxis::Edges() const {
    if (!m_edgesValid) {
        m_edges.assign(1, 0);
        m_edges.reserve(m_sizes.size() + 1);
        for (const int size : m_sizes) {
            m_edges.push_back(m_edges.back() + size);
        }
        m_edgesValid = true;
    }
    return m_edges;
}

int CGridAxis::IndexAt(int position, int scroll) const {
    const std::vector<int>& edges = Edges();
    const bool inFixed = position < FixedExtent();
    const int content = inFixed ? position : position + scroll;
    if (position < 0 || content >= edges.back()) {
        return -1;
    }
    const auto first = inFixed ? edges.begin() : edges.begin() + m_fixed;
    return static_cast<int>(std::upper_bound(first, edges.end(), content) - edges.begin()) - 1;
}

int CGridAxis::NextVisible(int index, int step) const {
    for (int next = index + step; next >= m_fixed && next < Count(); next += step) {
        if (m_sizes[static_cast<std::size_t>(next)] > 0) {
            return next;
        }
    }
    return -1;
}
