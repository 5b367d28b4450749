// The grid at the size of the Songs view of a large library: 100,000 rows of 17 columns.

#include <malloc.h>

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "grid/gridctrl.h"
#include "qtbench.h"

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 17;

// Short texts like those of a song row; column 16 holds a number in no particular order.
void Fill(CGridCtrl& grid) {
    grid.SetColumnTotal(kColumns);
    grid.SetFixedRowTotal(1);
    for (int row = 0; row < kRows; ++row) {
        const int index = grid.AppendRow("");
        const unsigned scrambled = static_cast<unsigned>(row) * 2654435761u % 1000003u;
        for (int column = 1; column < kColumns; ++column) {
            grid.SetCellText(index, column,
                             column == 16 ? std::to_string(scrambled) : "Song " + std::to_string(scrambled % 9973));
        }
    }
}

std::unique_ptr<CGridCtrl> FilledGrid() {
    auto grid = std::make_unique<CGridCtrl>();
    grid->resize(1200, 800);
    Fill(*grid);
    return grid;
}

void BM_FillGrid(benchmark::State& state) {
    for (auto _ : state) {
        CGridCtrl grid;
        const std::size_t before = mallinfo2().uordblks;
        Fill(grid);
        const std::size_t after = mallinfo2().uordblks;
        state.counters["bytes per cell"] = static_cast<double>(after - before) / (kRows * kColumns);
        state.PauseTiming();
        grid.SetRowTotal(0);  // freeing is not part of filling
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

// Each sort starts from the order of another column, so it never sorts sorted rows.
void SortBy(benchmark::State& state, const CGridCtrl::CompareFunction& compare, int column, int scrambler) {
    auto grid = FilledGrid();
    for (auto _ : state) {
        state.PauseTiming();
        grid->SortRows(CGridCtrl::CompareText, scrambler, true, 0);
        state.ResumeTiming();
        grid->SortRows(compare, column, true, 0);
    }
}

void BM_SortByText(benchmark::State& state) {
    SortBy(state, CGridCtrl::CompareText, 5, 16);
}
BENCHMARK(BM_SortByText)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SortByNumber(benchmark::State& state) {
    SortBy(state, CGridCtrl::CompareNumbers, 16, 5);
}
BENCHMARK(BM_SortByNumber)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RepaintMiddle(benchmark::State& state) {
    auto grid = FilledGrid();
    grid->show();
    grid->ScrollToRow(kRows / 2);
    QApplication::processEvents();
    QPixmap target(grid->viewport()->size());
    for (auto _ : state) {
        grid->viewport()->render(&target);
    }
}
BENCHMARK(BM_RepaintMiddle)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}
