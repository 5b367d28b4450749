// The plain parts of the grid: the sort, the clipboard texts, the axis arithmetic and the
// display of bytes that are not UTF-8.

#include <gtest/gtest.h>

#include <random>

#include "grid/gridaxis.h"
#include "grid/gridclipboard.h"
#include "grid/gridsort.h"
#include "widgets/displaytext.h"

namespace {

// The designed quicksort, word for word: both recursions, rows exchanged in place. A row is
// its key times 100 plus its original position; only keys are compared.
void DesignedSortByKey(std::vector<int>& rows, bool ascending, int low, int high) {
    if (low >= high) {
        return;
    }
    const int pivot = rows[static_cast<std::size_t>((low + high) / 2)] / 100;
    int i = low;
    int j = high;
    const auto at = [&](int index) { return rows[static_cast<std::size_t>(index)] / 100; };
    while (i <= j) {
        while (i < high && (ascending ? at(i) < pivot : at(i) > pivot)) {
            ++i;
        }
        while (j > low && (ascending ? at(j) > pivot : at(j) < pivot)) {
            --j;
        }
        if (j < i) {
            break;
        }
        if (at(i) != at(j)) {
            std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(j)]);
        }
        ++i;
        --j;
    }
    DesignedSortByKey(rows, ascending, low, j);
    DesignedSortByKey(rows, ascending, i, high);
}

TEST(GridSortTest, SortsExactlyAsTheDesignedQuicksort) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        // Keys with many equals; each carries its original position, so the order of equal
        // keys is compared too.
        std::vector<std::pair<int, int>> keys;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            keys.emplace_back(static_cast<int>(random() % 6), i);
        }
        const bool ascending = round % 2 == 0;
        std::vector<int> designed;
        for (const auto& key : keys) {
            designed.push_back(key.first * 100 + key.second);
        }
        std::vector<std::pair<int, int>> ours = keys;
        QuickSortRange(
            ours, [](const auto& a, const auto& b) { return a.first - b.first; }, ascending, 0, count - 1);
        std::vector<int> reference = designed;
        DesignedSortByKey(reference, ascending, 0, count - 1);
        std::vector<int> got;
        for (const auto& key : ours) {
            got.push_back(key.first * 100 + key.second);
        }
        ASSERT_EQ(got, reference) << "round " << round;
    }
}

TEST(GridClipboardTest, TextsSplitAndJoinAsTheClipboardWants) {
    EXPECT_EQ(FormatClipboardText({{"a", "b"}, {"", "c"}}), "a\tb\r\n\tc");
    EXPECT_EQ(FormatClipboardText({}), "");
    EXPECT_EQ(SplitPastedText(" a , b\tc\r\n\td\n"),
              (std::vector<std::vector<std::string>>{{"a", "b", "c"}, {"", "d"}}));
    EXPECT_EQ(SplitPastedText("x\r\n"), (std::vector<std::vector<std::string>>{{"x"}}));
    EXPECT_EQ(SplitPastedText("a,\n\nb"), (std::vector<std::vector<std::string>>{{"a", ""}, {""}, {"b"}}));
}

TEST(GridAxisTest, PositionsMapToEntriesWithFixedOnesStill) {
    CGridAxis axis(10);
    axis.Resize(6);
    axis.SetFixedCount(1);
    axis.SetSize(2, 0);  // hidden
    EXPECT_EQ(axis.Total(), 50);
    EXPECT_EQ(axis.IndexAt(5, 100), 0) << "the fixed entry never scrolls";
    EXPECT_EQ(axis.IndexAt(15, 0), 1);
    EXPECT_EQ(axis.IndexAt(15, 10), 3) << "2 is hidden";
    EXPECT_EQ(axis.IndexAt(55, 0), -1);
    EXPECT_EQ(axis.NextVisible(1, 1), 3);
    EXPECT_EQ(axis.NextVisible(1, -1), -1) << "fixed entries are never stepped onto";
    EXPECT_EQ(axis.LastVisible(), 5);
    axis.Reorder({0, 5, 4, 3, 2, 1});
    EXPECT_EQ(axis.Size(4), 0);
}

TEST(DisplayTextTest, BytesThatAreNotUtf8ReadAsWindows1252) {
    EXPECT_EQ(DisplayText("Sinéad"), QStringLiteral("Sinéad"));
    EXPECT_EQ(DisplayText("Caf\xE9 \x80"), QStringLiteral("Café €"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // an overlong slash
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
    EXPECT_TRUE(IsValidUtf8("椎名林檎"));
}

}  // namespace
