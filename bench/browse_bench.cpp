// The library grid on the 100,000-song synthetic library: each view's query alone and its whole
// switch (query, fill, sort), a sort of the Songs view, a repaint, and the memory the Songs view
// takes.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <malloc.h>

#include <memory>
#include <string>

#include "benchfolder.h"
#include "benchwindow.h"
#include "browse/librarygrid.h"
#include "browse/viewrows.h"
#include "db/librarydb.h"
#include "engine/jetdialect.h"
#include "engine/statement.h"
#include "librarygen.h"
#include "qtbench.h"

namespace {

CBenchLibrary& Reference() {
    static CBenchLibrary library("browse", LibraryShape());
    return library;
}

struct BenchView {
    const char* name;
    DisplayMode view;
    ViewFilters filters;
};

ViewFilters GenreAndRating() {
    ViewFilters filters;
    filters.genreId = 1;
    filters.genreName = "Rock";
    filters.ratingPosition = 5;
    return filters;
}

// A search of two words, as typed into the search field.
ViewFilters Searched() {
    ViewFilters filters;
    filters.search = "track album 12";
    return filters;
}

const BenchView kViews[] = {
    {"Songs", {3, 0, 0, 0}, {}},
    {"Artists", {0, 0, 0, 0}, {}},
    {"ArtistsWithAlbums", {0, 1, 0, 0}, {}},
    {"Albums", {1, 0, 0, 0}, {}},
    {"Collections", {2, 0, 0, 0}, {}},
    {"UnderplayedAlbums", {1, 6, 0, 0}, {}},
    {"SongsFiltered", {3, 0, 0, 0}, GenreAndRating()},
    {"AlbumsFiltered", {1, 0, 0, 0}, GenreAndRating()},
    {"SongsSearched", {3, 0, 0, 0}, Searched()},
};

void BM_Query(benchmark::State& state, const BenchView& view) {
    CLibraryDb& db = Reference().Db();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CViewRecords(db, BuildViewQuery(view.view, view.filters, false), view.view.mode));
    }
}

// SQLite alone stepping the view's statement (the floor of any view switch), and with
// `readColumns` also handing out each column once (the floor of any reader).
void StepStatement(benchmark::State& state, const BenchView& view, bool readColumns) {
    CLibraryDb& db = Reference().Db();
    const ParameterizedSql parameterized = Parameterize(BuildViewQuery(view.view, view.filters, false));
    const std::string sql = db.Translated(parameterized.sql).sql;
    for (auto _ : state) {
        CStatement statement(db.Handle(), sql);
        statement.BindAll(parameterized.values);
        std::size_t total = 0;
        const int columns = readColumns ? statement.ColumnCount() : 0;
        while (statement.Step()) {
            ++total;
            for (int column = 0; column < columns; ++column) {
                if (sqlite3_column_type(statement.Get(), column) == SQLITE_TEXT) {
                    total += static_cast<std::size_t>(sqlite3_column_bytes(statement.Get(), column));
                } else {
                    total += static_cast<std::size_t>(sqlite3_column_int64(statement.Get(), column));
                }
            }
        }
        benchmark::DoNotOptimize(total);
    }
}

void BM_Step(benchmark::State& state, const BenchView& view) {
    StepStatement(state, view, false);
}

void BM_StepRead(benchmark::State& state, const BenchView& view) {
    StepStatement(state, view, true);
}

void BM_SwitchMode(benchmark::State& state, const BenchView& view) {
    CLibraryGrid& grid = Reference().Grid();
    Reference().Window().filters = view.filters;
    for (auto _ : state) {
        state.PauseTiming();
        grid.SwitchMode(2, 0, 0, 0);  // a small view in between, so each switch fills anew
        state.ResumeTiming();
        grid.SwitchMode(view.view.mode, view.view.submode, 0, 0);
    }
    state.counters["rows"] = grid.GetRowTotal() - 1;
    Reference().Window().filters = {};
}

void BM_SortSongs(benchmark::State& state) {
    CLibraryGrid& grid = Reference().Grid();
    grid.SwitchMode(3, 0, 0, 0);
    const int column = static_cast<int>(state.range(0));
    bool ascending = true;
    for (auto _ : state) {
        grid.SortByColumn(column, ascending);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortSongs)
    ->Arg(CLibraryGrid::kNameColumn)
    ->Arg(CLibraryGrid::kPlaysColumn)
    ->Arg(CLibraryGrid::kPathColumn)
    ->Unit(benchmark::kMillisecond);

void BM_RepaintSongs(benchmark::State& state) {
    CLibraryGrid& grid = Reference().Grid();
    grid.SwitchMode(3, 0, 0, 0);
    grid.ScrollToRow(50000);
    QApplication::processEvents();
    QPixmap target(grid.viewport()->size());
    for (auto _ : state) {
        grid.viewport()->render(&target);
    }
}
BENCHMARK(BM_RepaintSongs)->Unit(benchmark::kMillisecond);

// The resident memory of the process with the Songs view shown, and what the view adds.
void BM_SongsViewMemory(benchmark::State& state) {
    Reference().Grid().SwitchMode(2, 0, 0, 0);
    malloc_trim(0);
    const double before = ResidentMegabytes();
    state.counters["in_use_before_MB"] = static_cast<double>(mallinfo2().uordblks) / 1048576.0;
    Reference().Grid().SwitchMode(3, 0, 0, 0);
    for (auto _ : state) {
    }
    for (int again = 0; again < 12; ++again) {
        Reference().Grid().SwitchMode(1, 0, 0, 0);
        Reference().Grid().SwitchMode(3, 0, 0, 0);
    }
    state.counters["after_switches_MB"] = ResidentMegabytes();
    state.counters["in_use_MB"] = static_cast<double>(mallinfo2().uordblks) / 1048576.0;
    state.counters["resident_MB"] = ResidentMegabytes();
    state.counters["songs_view_MB"] = ResidentMegabytes() - before;
}
BENCHMARK(BM_SongsViewMemory)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    for (const BenchView& view : kViews) {
        benchmark::RegisterBenchmark((std::string("BM_Step/") + view.name).c_str(), BM_Step, view)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_StepRead/") + view.name).c_str(), BM_StepRead, view)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_Query/") + view.name).c_str(), BM_Query, view)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_SwitchMode/") + view.name).c_str(), BM_SwitchMode, view)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    return RunWindowBenchmarks(argc, argv);
}
