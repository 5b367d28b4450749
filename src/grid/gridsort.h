#pragma once

#include <utility>
#include <vector>

// Sorts keys[low..high] with `compare` (<0, 0, >0) by quicksort with the middle entry as the
// pivot. Equal keys may trade places, as users of the grid have always seen: the order it gives
// is exactly that of the classic recursive form. The smaller part is sorted by recursion and
// the larger in the loop, so the depth stays logarithmic.
template <typename Key, typename Compare>
void QuickSortRange(std::vector<Key>& keys, const Compare& compare, bool ascending, int low, int high) {
    const auto at = [&](int index) -> const Key& { return keys[static_cast<std::size_t>(index)]; };
    // Ascending: i stops at keys not below the pivot, j at keys not above it; descending the
    // other way round.
    const auto before = [&](const Key& a, const Key& b) { return ascending ? compare(a, b) < 0 : compare(a, b) > 0; };
    const auto after = [&](const Key& a, const Key& b) { return ascending ? compare(a, b) > 0 : compare(a, b) < 0; };
    while (low < high) {
        const Key pivot = at((low + high) / 2);
        int i = low;
        int j = high;
        while (i <= j) {
            while (i < high && before(at(i), pivot)) {
                ++i;
            }
            while (j > low && after(at(j), pivot)) {
                --j;
            }
            if (j < i) {
                break;
            }
            if (compare(at(i), at(j)) != 0) {
                std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
            }
            ++i;
            --j;
        }
        if (j - low < high - i) {
            QuickSortRange(keys, compare, ascending, low, j);
            low = i;
        } else {
            QuickSortRange(keys, compare, ascending, i, high);
            high = j;
        }
    }
}
